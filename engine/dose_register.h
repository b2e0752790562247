#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/growing_array.h"

namespace talveron {

/// The person key: first character of the ID type, then the trimmed employee identifier; the
/// whole trimmed, left-aligned and blank-padded or cut to 14 characters.
using PersonKey = std::array<char, 14>;
PersonKey MakePersonKey(std::string_view idType, std::string_view employeeId);

/// Whether two keys are equal: two overlapping 8-byte words each, compared without a call.
inline bool SameKey(const PersonKey& a, const PersonKey& b) {
    constexpr std::size_t kTail = sizeof(PersonKey) - sizeof(std::uint64_t);
    std::uint64_t headA, headB, tailA, tailB;
    std::memcpy(&headA, a.data(), sizeof headA);
    std::memcpy(&headB, b.data(), sizeof headB);
    std::memcpy(&tailA, a.data() + kTail, sizeof tailA);
    std::memcpy(&tailB, b.data() + kTail, sizeof tailB);
    return ((headA ^ headB) | (tailA ^ tailB)) == 0;
}

/// One dose record of the load file.
struct DoseListEntry {
    PersonKey key{};
    std::int32_t startDays = 0;  ///< day number of Monitoring_Start
    std::int32_t endDays = 0;    ///< day number of Monitoring_End
    double tede = 0;             ///< numeric value of TEDE, added by the main pass
};

/// The amounts of a dose record that the summary report adds up.
struct DoseAmounts {
    double tede = 0;
    double cede = 0;
    double cde = 0;
};

/// One intake record of the load file, linked to the last dose record above it.
struct IntakeEntry {
    std::int64_t doseLine = 0;  ///< line of the last D record above; 0 when none
    std::int64_t intakeLine = 0;
    double intake = 0;
};

/// The intakes that belong to one dose record.
struct IntakeSummary {
    std::int64_t count = 0;
    double total = 0;  ///< sum of the intakes, in file order
};

/// The dose list, its index by person and the intake register of one run, with the CEDE and CDE
/// totals. Filled by the registration pass, then sealed with buildIndex(); read by the main pass,
/// which adds each dose record's amounts as it checks them, and by the summary report. Memory
/// grows with the number of dose and intake records only.
class DoseRegister {
public:
    /// Appends entries, in file order.
    void addDoses(std::span<const DoseListEntry> entries) { doses_.append(entries); }
    /// Appends an intake; intakes must arrive in file order.
    void addIntake(const IntakeEntry& entry);
    void addTotals(double cede, double cde) {
        cedeTotal_ += cede;
        cdeTotal_ += cde;
    }
    /// The amounts of the dose record at `position` among the dose records: its entry's TEDE and
    /// the totals. Called for the dose records in file order, so the totals add up in that order.
    void addAmounts(std::size_t position, const DoseAmounts& amounts) {
        if (position < doses_.size()) doses_[position].tede = amounts.tede;
        addTotals(amounts.cede, amounts.cde);
    }

    /// Builds the index by person key. Call once, after the last addDose and before lookups.
    void buildIndex();

    /// The persons (distinct keys), numbered in the order of their first dose record.
    std::size_t personCount() const { return groupStarts_.empty() ? 0 : groupStarts_.size() - 1; }
    /// The positions of every entry of a person, in file order.
    std::span<const std::uint32_t> entriesOfPerson(std::size_t person) const {
        return std::span<const std::uint32_t>(byPerson_).subspan(
            groupStarts_[person], groupStarts_[person + 1] - groupStarts_[person]);
    }

    /// Whether two or more entries of the key have their start day or their end day within
    /// [lowDays, highDays], bounds included. Logarithmic for keys with many entries, so a file in
    /// which every record shares one key stays fast.
    bool twoOrMoreEntriesTouch(const PersonKey& key, std::int32_t lowDays,
                               std::int32_t highDays) const;

    /// The same question for the dose record at `position` among the dose records, in the order
    /// they were added. When that record still has the key and days it was added with, its group
    /// is known without a search; otherwise (the file changed between the passes) the index is
    /// searched.
    bool periodSharedAt(std::size_t position, const PersonKey& key, std::int32_t lowDays,
                        std::int32_t highDays) const;

    /// The intakes whose DoseLine equals the line of a dose record.
    IntakeSummary intakesOf(std::int64_t doseLine) const {
        std::size_t from = 0;
        return intakesOf(doseLine, from);
    }
    /// The same, searched from position `from` of the intake register onward when no intake
    /// before it belongs to this line or a later one, else from the start; `from` is left past
    /// the line's intakes. A caller asking for its lines in increasing order keeps `from` between
    /// calls, so that each search takes a step or two.
    IntakeSummary intakesOf(std::int64_t doseLine, std::size_t& from) const;

    std::span<const DoseListEntry> doses() const { return doses_.view(); }
    std::span<const IntakeEntry> intakes() const { return intakes_.view(); }
    double cedeTotal() const { return cedeTotal_; }
    double cdeTotal() const { return cdeTotal_; }
    std::int64_t intakeCount() const { return static_cast<std::int64_t>(intakes_.size()); }

private:
    /// A key with many entries keeps its start and end days sorted, for range counts.
    struct LargeGroup {
        std::vector<std::pair<std::int32_t, std::uint32_t>> starts;  // (day, position)
        std::vector<std::pair<std::int32_t, std::uint32_t>> ends;
    };
    static constexpr std::size_t kLargeGroupSize = 16;
    static constexpr std::uint32_t kEmptySlot = UINT32_MAX;

    /// A slot of the hash table: a group and the high half of its key's hash, compared before
    /// the key itself, whose entry lies anywhere in the dose list.
    struct Slot {
        std::uint32_t group = kEmptySlot;
        std::uint32_t tag = 0;
    };

    static std::uint64_t KeyHash(const PersonKey& key);
    /// The slot of the hash table holding the key's group, or the empty slot where it would go.
    std::size_t findSlot(const PersonKey& key, std::uint64_t hash) const;
    /// The group (person) of a key, if it has entries.
    std::optional<std::uint32_t> groupOf(const PersonKey& key) const;
    bool groupTouchedTwice(std::uint32_t group, std::int32_t lowDays, std::int32_t highDays) const;

    GrowingArray<DoseListEntry> doses_;
    GrowingArray<IntakeEntry> intakes_;
    std::vector<std::uint32_t> byPerson_;     // positions group after group, file order within
    std::vector<std::uint32_t> groupStarts_;  // group g holds byPerson_[groupStarts_[g] .. [g + 1])
    std::vector<std::uint32_t> groupFirst_;   // by group: the position of its first entry
    std::vector<Slot> slots_;                 // open-addressing table of groups by key
    std::unordered_map<std::uint32_t, LargeGroup> largeGroups_;  // by group
    std::vector<std::uint32_t> groupOfPosition_;  // by position: the group of its key
    double cedeTotal_ = 0;
    double cdeTotal_ = 0;
};

}  // namespace talveron
