#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "config/ini_document.h"

namespace talveron {

/// Every key of the three option sections, in the order the options are read and written:
/// output options, automatic-cancel settings, check codes, list checks.
enum class OptionKey : std::uint8_t {
    GRF,
    IW,
    GDR,
    IOS,
    TE,
    TE_VAL,
    TW,
    TW_VAL,
    TEW,
    TEW_VAL,
    ME,
    ME_VAL,
    AIC,
    AICS,
    ANIC,
    BDAMP,
    CDEN,
    CGT5,
    CGT50,
    CNIR,
    CTODE,
    DBI,
    DCD,
    DCSUM,
    DCTSUM,
    DGT5,
    DGZ,
    DID,
    DIM,
    DVIC,
    ESDV,
    HNCIR,
    ICDR,
    ICRC,
    INDD,
    IRL,
    IRNN,
    IRT,
    LGT15,
    LLMA,
    MDMP,
    MODH,
    MODG,
    MPGT,
    NAMFLD,
    NCD,
    NCDDE,
    NCLDE,
    NCNTO,
    NRND,
    NSDE,
    NVCIC,
    PIC,
    RVCI,
    SDBED,
    BDay,
    SGT50,
    SNC,
    SSNNN,
    SWB50,
    TGT5,
    TNC,
    TOGT50,
    VNIL,
    VNVR,
    IDTypeList,
    RecordTypeList,
    SexList,
    ReportTypeList,
    ExposureTypeList,
    ClassList,
    ModeList,
    RadionuclideList,
};
inline constexpr std::size_t kOptionCount = 73;

/// Where a key lives, its default and its caption in the options dialog.
struct OptionDefinition {
    OptionKey key;
    std::string_view section;
    std::string_view name;
    std::string_view defaultValue;
    std::string_view caption;
};

inline constexpr std::string_view kOutputOptionsSection = "OutputOptions";
inline constexpr std::string_view kAutoCancelSection = "AutoCancel";
inline constexpr std::string_view kValidationOptionsSection = "ValidationOptions";

/// All 73 keys, in OptionKey order.
std::span<const OptionDefinition> OptionDefinitions();
const OptionDefinition& DefinitionOf(OptionKey key);
/// The key of a name as written in the configuration (exact spelling), if it is one.
std::optional<OptionKey> OptionKeyNamed(std::string_view name);

/// One signed 16-bit value per key. A switch or check code is on when non-zero.
class OptionSettings {
public:
    /// Every value 0 (everything off), as before the first load.
    OptionSettings() = default;
    /// Every key at its default.
    static OptionSettings Defaults();

    std::int16_t value(OptionKey key) const { return values_[static_cast<std::size_t>(key)]; }
    bool on(OptionKey key) const { return value(key) != 0; }
    void set(OptionKey key, std::int16_t value) { values_[static_cast<std::size_t>(key)] = value; }

    bool operator==(const OptionSettings&) const = default;

private:
    std::array<std::int16_t, kOptionCount> values_{};
};

/// LoadOptionSettings: every key read with its default and converted by the number rule, rounded
/// half to even; a value outside the 16-bit range is clamped to -32768..32767.
OptionSettings LoadOptionSettings(const IniDocument& configuration);

}  // namespace talveron
