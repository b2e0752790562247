#include "config/option_settings.h"

#include <algorithm>

#include "config/number.h"

namespace talveron {
namespace {

using enum OptionKey;

constexpr std::string_view kOut = kOutputOptionsSection;
constexpr std::string_view kCancel = kAutoCancelSection;
constexpr std::string_view kChecks = kValidationOptionsSection;

constexpr std::array<OptionDefinition, kOptionCount> kDefinitions{{
    {GRF, kOut, "GRF", "-1", "Generate results file"},
    {IW, kOut, "IW", "-1", "Include warnings in the results file"},
    {GDR, kOut, "GDR", "-1", "Generate distribution summary report"},
    {IOS, kOut, "IOS", "-1", "Include error/warning occurrance summary"},
    {TE, kCancel, "TE", "0", "When total number of errors exceeds"},
    {TE_VAL, kCancel, "TE_VAL", "100", ""},
    {TW, kCancel, "TW", "0", "When total number of warnings exceeds"},
    {TW_VAL, kCancel, "TW_VAL", "200", ""},
    {TEW, kCancel, "TEW", "0", "When a combined total of errors and warnings exceeds"},
    {TEW_VAL, kCancel, "TEW_VAL", "500", ""},
    {ME, kCancel, "ME", "0", "When the number of minutes elapsed exceeds"},
    {ME_VAL, kCancel, "ME_VAL", "45", ""},
    {AIC, kChecks, "AIC", "-1", "Alpha value contains invalid character"},
    {AICS, kChecks, "AICS", "-1", "Alpha value contains invalid character that is not a space"},
    {ANIC, kChecks, "ANIC", "-1", "Alphanumeric value contains invalid character"},
    {BDAMP, kChecks, "BDAMP", "-1", "Employees birthdate is after the start of monitoring period"},
    {CDEN, kChecks, "CDEN", "-1", "When CEDE > 1.0 CDE must be > 0.0 and not NC, ND, or NR"},
    {CGT5, kChecks, "CGT5", "-1", "CEDE is > 5.0"},
    {CGT50, kChecks, "CGT50", "-1", "CDE is > 50.0"},
    {CNIR, kChecks, "CNIR", "-1", "CEDE is NOT > 0.0, yet has corresponding Intake Record(s)"},
    {CTODE, kChecks, "CTODE", "-1", "If CDE is NC then TODE must also be NC and visa versa"},
    {DBI, kChecks, "DBI", "-1", "Dates before 1900 are likely to be incorrect"},
    {DCD, kChecks, "DCD", "-1", "Dates must precede current date"},
    {DCSUM, kChecks, "DCSUM", "-1", "The sum of DDE and CEDE should equal TEDE"},
    {DCTSUM, kChecks, "DCTSUM", "-1", "The sum of DDE and CDE should equal TODE"},
    {DGT5, kChecks, "DGT5", "-1", "DDE is > 5.0"},
    {DGZ, kChecks, "DGZ", "-1", "Doses must be greater than zero"},
    {DID, kChecks, "DID", "-1", "Date contains invalid day of month"},
    {DIM, kChecks, "DIM", "-1", "Date contains invalid month"},
    {DVIC, kChecks, "DVIC", "-1", "Dose value contains invalid character"},
    {ESDV, kChecks, "ESDV", "-1", "Embedded space found in dose value"},
    {HNCIR, kChecks, "HNCIR", "-1", "CEDE is > 0.0 yet has no corresponding intake record"},
    {ICDR, kChecks, "ICDR", "-1", "Intake must have corresponding dose record with CEDE > 0.0"},
    {ICRC, kChecks, "ICRC", "-1", "Invalid combination of radionuclide and class"},
    {INDD, kChecks, "INDD", "-1", "Invalid number of decimals in dose"},
    {IRL, kChecks, "IRL", "-1", "Invalid record length"},
    {IRNN, kChecks, "IRNN", "-1", "Intake records are not necessary when CEDE is 0.0, ND, or NR"},
    {IRT, kChecks, "IRT", "-1", "Invalid record type"},
    {LGT15, kChecks, "LGT15", "-1", "LDE is > 15.0"},
    {LLMA, kChecks, "LLMA", "-1", "Value length is less than the minimum allowable"},
    {MDMP, kChecks, "MDMP", "-1", "Multiple dose records for the same monitoring period"},
    {MODH, kChecks, "MODH", "-1",
     "Mode must be 'H' for classes 'D', 'Y', 'W', 'F', 'O', 'S', 'V' and 'M'"},
    {MODG, kChecks, "MODG", "-1", "Mode must be 'G' for Classes 'G' or blank"},
    {MPGT, kChecks, "MPGT", "-1", "Monitoring period is greater than 13 months"},
    {NAMFLD, kChecks, "NAMFLD", "-1", "Warn of \"TEST\" and \"TRAIN\" values in name fields"},
    {NCD, kChecks, "NCD", "-1", "Value cannot be converted to a date"},
    {NCDDE, kChecks, "NCDDE", "-1", "NC for DDE is invalid, NC is only valid for CDE & TODE doses"},
    {NCLDE, kChecks, "NCLDE", "-1", "NC for LDE is invalid, NC is only valid for CDE & TODE doses"},
    {NCNTO, kChecks, "NCNTO", "-1",
     "NC for CEDE is invalid, NC is only valid for CDE & TODE doses"},
    {NRND, kChecks, "NRND", "-1", "Use NR or ND instead of zero for doses"},
    {NSDE, kChecks, "NSDE", "-1",
     "NC for SDE_ME is invalid, NC is only valid for CDE & TODE doses"},
    {NVCIC, kChecks, "NVCIC", "-1", "Scientific notation value contains invalid character"},
    {PIC, kChecks, "PIC", "-1", "Phone number contains invalid character"},
    {RVCI, kChecks, "RVCI", "-1", "Radionuclide value contains invalid character"},
    {SDBED, kChecks, "SDBED", "-1", "Monitoring start date must be before monitoring end date"},
    {BDay, kChecks, "BDay", "-1", "Birthdate year must not be later than 1999"},
    {SGT50, kChecks, "SGT50", "-1", "SDE_ME is > 50.0"},
    {SNC, kChecks, "SNC", "-1", "NC for SDE_WB is invalid, NC is only valid for CDE & TODE doses"},
    {SSNNN, kChecks, "SSNNN", "-1", "Employee type of SSN contains a non-numeric character"},
    {SWB50, kChecks, "SWB50", "-1", "SDE_WB is > 50.0"},
    {TGT5, kChecks, "TGT5", "-1", "TEDE is > 5.0"},
    {TNC, kChecks, "TNC", "-1", "NC for TEDE is invalid, NC is only valid for CDE and TODE doses"},
    {TOGT50, kChecks, "TOGT50", "-1", "TODE is > 50.0"},
    {VNIL, kChecks, "VNIL", "-1", "Value not found in list of valid values"},
    {VNVR, kChecks, "VNVR", "-1", "Value is not a valid radionuclide"},
    {IDTypeList, kChecks, "IDTypeList", "-1", "Invalid ID Type"},
    {RecordTypeList, kChecks, "RecordTypeList", "-1", "Invalid Record Type"},
    {SexList, kChecks, "SexList", "-1", "Invalid Sex"},
    {ReportTypeList, kChecks, "ReportTypeList", "-1", "Invalid Report Type"},
    {ExposureTypeList, kChecks, "ExposureTypeList", "-1", "Invalid Exposure Type"},
    {ClassList, kChecks, "ClassList", "-1", "Invalid Class"},
    {ModeList, kChecks, "ModeList", "-1", "Invalid Mode"},
    {RadionuclideList, kChecks, "RadionuclideList", "-1", "Invalid Radionuclide"},
}};

// DefinitionOf indexes the table by key.
constexpr bool InKeyOrder() {
    for (std::size_t i = 0; i < kDefinitions.size(); ++i) {
        if (static_cast<std::size_t>(kDefinitions[i].key) != i) return false;
    }
    return true;
}
static_assert(InKeyOrder());

}  // namespace

std::span<const OptionDefinition> OptionDefinitions() { return kDefinitions; }

const OptionDefinition& DefinitionOf(OptionKey key) {
    return kDefinitions[static_cast<std::size_t>(key)];
}

std::optional<OptionKey> OptionKeyNamed(std::string_view name) {
    const auto it = std::find_if(kDefinitions.begin(), kDefinitions.end(),
                                 [&](const OptionDefinition& d) { return d.name == name; });
    if (it == kDefinitions.end()) return std::nullopt;
    return it->key;
}

OptionSettings OptionSettings::Defaults() { return LoadOptionSettings(IniDocument()); }

OptionSettings LoadOptionSettings(const IniDocument& configuration) {
    OptionSettings settings;
    for (const OptionDefinition& definition : kDefinitions) {
        settings.set(definition.key,
                     ParseInt16Clamped(ReadProfileValue(configuration, definition.section,
                                                        definition.name, definition.defaultValue)));
    }
    return settings;
}

}  // namespace talveron
