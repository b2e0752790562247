#include "config/option_settings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace talveron {
namespace {

using enum OptionKey;

std::vector<OptionKey> AllKeys() {
    std::vector<OptionKey> keys;
    for (std::size_t i = 0; i < kOptionCount; ++i) keys.push_back(static_cast<OptionKey>(i));
    return keys;
}

std::int16_t DocumentedDefault(OptionKey key) {
    switch (key) {
        case TE:
        case TW:
        case TEW:
        case ME:
            return 0;
        case TE_VAL:
            return 100;
        case TW_VAL:
            return 200;
        case TEW_VAL:
            return 500;
        case ME_VAL:
            return 45;
        default:
            return -1;
    }
}

TEST(OptionSettingsTest, StartsWithEverythingOff) {
    const OptionSettings settings;
    for (const OptionKey key : AllKeys())
        EXPECT_EQ(settings.value(key), 0) << DefinitionOf(key).name;
}

TEST(OptionSettingsTest, DefaultsAreTheDocumentedOnes) {
    const OptionSettings defaults = OptionSettings::Defaults();
    for (const OptionKey key : AllKeys()) {
        EXPECT_EQ(defaults.value(key), DocumentedDefault(key)) << DefinitionOf(key).name;
    }
}

TEST(OptionSettingsTest, AMissingFileGivesTheDefaults) {
    EXPECT_EQ(LoadOptionSettings(IniDocument()), OptionSettings::Defaults());
    EXPECT_EQ(LoadOptionSettings(IniDocument("[D]\n1=A\n")), OptionSettings::Defaults());
}

TEST(OptionSettingsTest, OnlyAicSwitchedOff) {
    const OptionSettings settings = LoadOptionSettings(IniDocument("[ValidationOptions]\nAIC=0\n"));
    OptionSettings expected = OptionSettings::Defaults();
    expected.set(AIC, 0);
    EXPECT_EQ(settings, expected);
    EXPECT_FALSE(settings.on(AIC));
    EXPECT_TRUE(settings.on(AICS));
    EXPECT_TRUE(settings.on(GRF));
}

TEST(OptionSettingsTest, TrueSwitchWithoutLimitUsesTheDefaultLimit) {
    const OptionSettings settings = LoadOptionSettings(IniDocument("[AutoCancel]\nTE=True\n"));
    EXPECT_EQ(settings.value(TE), -1);
    EXPECT_EQ(settings.value(TE_VAL), 100);
}

TEST(OptionSettingsTest, KeysAreReadOnlyFromTheirOwnSection) {
    const OptionSettings settings =
        LoadOptionSettings(IniDocument("[OutputOptions]\nTE=-1\nAIC=0\n[autocancel]\nte_val=7\n"));
    EXPECT_EQ(settings.value(TE), 0);
    EXPECT_EQ(settings.value(AIC), -1);
    EXPECT_EQ(settings.value(TE_VAL), 7);
}

struct ValueCase {
    const char* written;
    std::int16_t stored;
};

class OptionValueTest : public testing::TestWithParam<ValueCase> {};

TEST_P(OptionValueTest, StoresTheNumberOfTheText) {
    const std::string text = std::string("[AutoCancel]\nTW_VAL=") + GetParam().written + "\n";
    EXPECT_EQ(LoadOptionSettings(IniDocument(text)).value(TW_VAL), GetParam().stored)
        << GetParam().written;
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionValueTest,
                         testing::Values(ValueCase{"1", 1}, ValueCase{"yes", 0},
                                         ValueCase{"-1", -1}, ValueCase{"True", -1},
                                         ValueCase{"False", 0}, ValueCase{"true", 0},
                                         ValueCase{"12a", 12}, ValueCase{"12.5", 12},
                                         ValueCase{"13.5", 14}, ValueCase{" 7 ", 7},
                                         ValueCase{"\"0\"", 0}, ValueCase{"", 200},
                                         ValueCase{"40000", 32767}, ValueCase{"-40000", -32768},
                                         ValueCase{"1e9", 32767}));

TEST(OptionDefinitionsTest, ListEveryKeyInKeyOrder) {
    const auto definitions = OptionDefinitions();
    ASSERT_EQ(definitions.size(), kOptionCount);
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        EXPECT_EQ(definitions[i].key, static_cast<OptionKey>(i)) << definitions[i].name;
        EXPECT_EQ(&DefinitionOf(definitions[i].key), &definitions[i]);
    }
}

TEST(OptionDefinitionsTest, PlaceEachKeyInItsSection) {
    for (const OptionDefinition& definition : OptionDefinitions()) {
        const std::string_view expected = definition.key <= IOS      ? kOutputOptionsSection
                                          : definition.key <= ME_VAL ? kAutoCancelSection
                                                                     : kValidationOptionsSection;
        EXPECT_EQ(definition.section, expected) << definition.name;
    }
}

TEST(OptionDefinitionsTest, SpellTheNamesAsTheFileDoes) {
    std::ostringstream names;
    for (const OptionDefinition& definition : OptionDefinitions()) names << definition.name << ' ';
    EXPECT_EQ(names.str(),
              "GRF IW GDR IOS TE TE_VAL TW TW_VAL TEW TEW_VAL ME ME_VAL "
              "AIC AICS ANIC BDAMP CDEN CGT5 CGT50 CNIR CTODE DBI DCD DCSUM DCTSUM DGT5 DGZ DID "
              "DIM DVIC ESDV HNCIR ICDR ICRC INDD IRL IRNN IRT LGT15 LLMA MDMP MODH MODG MPGT "
              "NAMFLD NCD NCDDE NCLDE NCNTO NRND NSDE NVCIC PIC RVCI SDBED BDay SGT50 SNC SSNNN "
              "SWB50 TGT5 TNC TOGT50 VNIL VNVR IDTypeList RecordTypeList SexList ReportTypeList "
              "ExposureTypeList ClassList ModeList RadionuclideList ");
}

TEST(OptionDefinitionsTest, CarryTheDialogCaptions) {
    EXPECT_EQ(DefinitionOf(NAMFLD).caption, "Warn of \"TEST\" and \"TRAIN\" values in name fields");
    EXPECT_EQ(DefinitionOf(IOS).caption, "Include error/warning occurrance summary");
    EXPECT_EQ(DefinitionOf(TEW).caption, "When a combined total of errors and warnings exceeds");
    EXPECT_EQ(DefinitionOf(TE_VAL).caption, "");
    EXPECT_EQ(DefinitionOf(TNC).caption,
              "NC for TEDE is invalid, NC is only valid for CDE and TODE doses");
    EXPECT_EQ(DefinitionOf(MODH).caption,
              "Mode must be 'H' for classes 'D', 'Y', 'W', 'F', 'O', 'S', 'V' and 'M'");
    EXPECT_EQ(DefinitionOf(RadionuclideList).caption, "Invalid Radionuclide");
    for (const OptionDefinition& definition : OptionDefinitions()) {
        const bool isLimit = definition.name.ends_with("_VAL");
        EXPECT_EQ(definition.caption.empty(), isLimit) << definition.name;
    }
}

TEST(OptionKeyNamedTest, FindsEveryKeyByItsExactName) {
    for (const OptionDefinition& definition : OptionDefinitions()) {
        EXPECT_EQ(OptionKeyNamed(definition.name), definition.key) << definition.name;
    }
    EXPECT_EQ(OptionKeyNamed("BDay"), BDay);
    EXPECT_EQ(OptionKeyNamed("BDAY"), std::nullopt);
    EXPECT_EQ(OptionKeyNamed("aic"), std::nullopt);
    EXPECT_EQ(OptionKeyNamed(""), std::nullopt);
}

}  // namespace
}  // namespace talveron
