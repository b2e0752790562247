#include "ui/option_form.h"

#include <QTest>

#include <sstream>

namespace talveron {

using namespace Qt::StringLiterals;

namespace {

using enum OptionKey;

// The section headers and key names of a text, in order, blank-separated.
std::string KeysOf(const std::string& text) {
    std::istringstream lines(text);
    std::string keys;
    for (std::string line; std::getline(lines, line);) {
        keys += (keys.empty() ? "" : " ") + line.substr(0, line.find_first_of("=\r"));
    }
    return keys;
}

}  // namespace

class OptionFormTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithATickPerNonZeroSettingAndTheLimitsAsDigits() {
        OptionSettings settings;  // everything 0
        settings.set(IW, 5);
        settings.set(TE, -1);
        settings.set(AIC, 1);
        settings.set(TE_VAL, 1234);
        settings.set(ME_VAL, -5);
        const OptionForm form = FormOf(settings);
        QVERIFY(form.tick(IW) && form.tick(TE) && form.tick(AIC));
        QVERIFY(!form.tick(GRF) && !form.tick(RadionuclideList));
        QCOMPARE(form.text(TE_VAL), std::string("1234"));
        QCOMPARE(form.text(ME_VAL), std::string("-5"));
        QCOMPARE(form.text(TW_VAL), std::string("0"));
    }

    void correctsOnlyNegativeArmedLimits() {
        const auto written = [](OptionKey limit, bool armed, std::string_view typed) {
            return QString::fromStdString(LimitTextToWrite(limit, armed, typed));
        };
        QCOMPARE(written(TE_VAL, true, "-5"), u"0"_s);
        QCOMPARE(written(TE_VAL, false, "-5"), u"-5"_s);  // not armed
        QCOMPARE(written(ME_VAL, true, "-1"), u"1"_s);    // minutes
        QCOMPARE(written(ME_VAL, true, "0"), u"0"_s);
        QCOMPARE(written(TE_VAL, true, "-0.4"), u"0"_s);
        // Anything else as typed.
        QCOMPARE(written(TE_VAL, true, "abc"), u"abc"_s);
        QCOMPARE(written(TE_VAL, true, "12a"), u"12a"_s);
        QCOMPARE(written(ME_VAL, true, " 30 "), u" 30 "_s);
    }

    void writesEveryKeyInItsOrder() {
        IniDocument configuration;
        WriteOptionForm(FormOf(OptionSettings::Defaults()), configuration);
        QCOMPARE(QString::fromStdString(KeysOf(configuration.text())),
                 u"[OutputOptions] GRF IW GDR IOS [AutoCancel] TE TE_VAL TW TW_VAL TEW TEW_VAL ME "
                 u"ME_VAL [ValidationOptions] AIC AICS ANIC BDAMP CDEN CGT5 CGT50 CNIR CTODE DBI "
                 u"DCD DCSUM DCTSUM DGT5 DGZ DID DIM DVIC ESDV HNCIR ICDR ICRC INDD IRL IRNN IRT "
                 u"LGT15 LLMA MDMP MODH MODG MPGT NAMFLD NCD NCDDE NCLDE NCNTO NRND NSDE NVCIC PIC "
                 u"RVCI SDBED BDay SGT50 SNC SSNNN SWB50 TGT5 TNC TOGT50 VNIL VNVR IDTypeList "
                 u"RecordTypeList SexList ReportTypeList ExposureTypeList ClassList ModeList "
                 u"RadionuclideList"_s);
    }

    void writesSwitchesAsMinusOneOrZero() {
        IniDocument configuration("[AutoCancel]\nTE=7\n");
        OptionForm form = FormOf(LoadOptionSettings(configuration));
        form.tick(GRF) = false;
        form.text(TE_VAL) = "-3";
        WriteOptionForm(form, configuration);
        QCOMPARE(ReadProfileValue(configuration, "AutoCancel", "TE", ""), std::string("-1"));
        QCOMPARE(ReadProfileValue(configuration, "AutoCancel", "TE_VAL", ""), std::string("0"));
        QCOMPARE(ReadProfileValue(configuration, "OutputOptions", "GRF", ""), std::string("0"));
        QCOMPARE(ReadProfileValue(configuration, "ValidationOptions", "BDay", ""),
                 std::string("-1"));
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::OptionFormTest)
#include "option_form_test.moc"
