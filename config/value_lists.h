#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "config/ini_document.h"
#include "config/option_settings.h"

namespace talveron {

/// The eight value lists whose misses the validator reports.
enum class ValueList {
    IDType,
    RecordType,
    Sex,
    ReportType,
    ExposureType,
    Class,
    Mode,
    Radionuclide
};
inline constexpr std::size_t kValueListCount = 8;

/// The section name of a list ("ID_Type_List", ...).
std::string_view SectionOf(ValueList list);
/// The list check code that switches the report of a miss in the list.
OptionKey SwitchOf(ValueList list);
/// The list a section name designates (exact spelling, as composed from a field name + "_List").
std::optional<ValueList> ValueListOfSection(std::string_view sectionName);

/// Whether a list entry's value makes its key a valid value: it is neither empty nor "$".
bool MarksValidValue(std::string_view entryValue);

/// The valid values of the eight lists, read once per run. A value is in a list when the list's
/// section has a key of that name (ASCII letter case ignored) whose value is non-empty and not "$".
class ValueLists {
public:
    static ValueLists Load(const IniDocument& configuration);

    bool contains(ValueList list, std::string_view value) const;

private:
    struct FoldedHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using FoldedSet = std::unordered_set<std::string, FoldedHash, FoldedEqual>;

    /// Values of up to 7 characters (nearly all: codes, "Cs-137") folded and packed with their
    /// length into one number, kept in a hash table at most half full: a lookup is a multiply and
    /// about one comparison.
    static constexpr std::size_t kPackedLength = 7;
    static std::uint64_t Pack(std::string_view value);

    class PackedSet {
    public:
        explicit PackedSet(const std::vector<std::uint64_t>& values = {});
        bool contains(std::uint64_t packed) const;

    private:
        /// No packed value has all bits set: its top byte holds a length of at most 7.
        static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
        std::size_t slotOf(std::uint64_t packed) const;

        std::vector<std::uint64_t> slots_;  // a power of two of them
        int shift_ = 0;                     // 64 - log2(slots)
    };

    std::array<PackedSet, kValueListCount> packed_;
    std::array<FoldedSet, kValueListCount> lists_;  // the longer values
};

}  // namespace talveron
