#include "config/option_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace talveron {
namespace {

using enum OptionKey;

TEST(OptionSettingsTest, StartsWithEverythingOffAndDefaultsToTheDocumentedValues) {
    // Every other key defaults to -1 (on).
    const std::map<OptionKey, std::int16_t> notMinusOne{
        {TE, 0},       {TW, 0},       {TEW, 0},       {ME, 0},
        {TE_VAL, 100}, {TW_VAL, 200}, {TEW_VAL, 500}, {ME_VAL, 45}};
    const OptionSettings defaults = OptionSettings::Defaults();
    for (const OptionDefinition& definition : OptionDefinitions()) {
        const auto listed = notMinusOne.find(definition.key);
        EXPECT_EQ(defaults.value(definition.key), listed == notMinusOne.end() ? -1 : listed->second)
            << definition.name;
        EXPECT_EQ(OptionSettings().value(definition.key), 0) << definition.name;
    }
}

TEST(OptionSettingsTest, KeysAreReadOnlyFromTheirOwnSection) {
    const OptionSettings settings =
        LoadOptionSettings(IniDocument("[OutputOptions]\nTE=-1\nAIC=0\n[autocancel]\nte_val=7\n"));
    EXPECT_EQ(settings.value(TE), 0);
    EXPECT_EQ(settings.value(AIC), -1);
    EXPECT_EQ(settings.value(TE_VAL), 7);
}

TEST(OptionSettingsTest, StoresTheNumberOfTheTextRoundedAndClamped) {
    struct Written {
        const char* text;
        std::int16_t stored;
    };
    for (const Written& c :
         {Written{"True", -1}, Written{"", 200}, Written{"12.5", 12}, Written{"13.5", 14},
          Written{"40000", 32767}, Written{"-40000", -32768}}) {
        const std::string text = std::string("[AutoCancel]\nTW_VAL=") + c.text + "\n";
        EXPECT_EQ(LoadOptionSettings(IniDocument(text)).value(TW_VAL), c.stored) << c.text;
    }
    // A switch set without its limit keeps the default limit.
    const OptionSettings settings = LoadOptionSettings(IniDocument("[AutoCancel]\nTE=True\n"));
    EXPECT_EQ(settings.value(TE), -1);
    EXPECT_EQ(settings.value(TE_VAL), 100);
}

TEST(OptionDefinitionsTest, SpellTheNamesAsTheFileDoesInKeyOrderAndSections) {
    std::ostringstream names;
    for (const OptionDefinition& definition : OptionDefinitions()) {
        names << definition.name << ' ';
        const std::string_view expected = definition.key <= IOS      ? kOutputOptionsSection
                                          : definition.key <= ME_VAL ? kAutoCancelSection
                                                                     : kValidationOptionsSection;
        EXPECT_EQ(definition.section, expected) << definition.name;
    }
    EXPECT_EQ(names.str(),
              "GRF IW GDR IOS TE TE_VAL TW TW_VAL TEW TEW_VAL ME ME_VAL "
              "AIC AICS ANIC BDAMP CDEN CGT5 CGT50 CNIR CTODE DBI DCD DCSUM DCTSUM DGT5 DGZ DID "
              "DIM DVIC ESDV HNCIR ICDR ICRC INDD IRL IRNN IRT LGT15 LLMA MDMP MODH MODG MPGT "
              "NAMFLD NCD NCDDE NCLDE NCNTO NRND NSDE NVCIC PIC RVCI SDBED BDay SGT50 SNC SSNNN "
              "SWB50 TGT5 TNC TOGT50 VNIL VNVR IDTypeList RecordTypeList SexList ReportTypeList "
              "ExposureTypeList ClassList ModeList RadionuclideList ");
    EXPECT_EQ(OptionKeyNamed("BDay"), BDay);
    EXPECT_EQ(OptionKeyNamed("BDAY"), std::nullopt);
    EXPECT_EQ(OptionKeyNamed("aic"), std::nullopt);
    EXPECT_EQ(OptionKeyNamed(""), std::nullopt);
}

}  // namespace
}  // namespace talveron
