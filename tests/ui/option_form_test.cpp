#include "ui/option_form.h"

#include <QTest>

#include <sstream>

namespace talveron {

class OptionFormTest : public QObject {
    Q_OBJECT

private slots:
    void ticksEveryNonZeroSetting();
    void showsLimitsAsPlainDigits();
    void correctsOnlyNegativeArmedLimits_data();
    void correctsOnlyNegativeArmedLimits();
    void pairsEachLimitWithItsSwitch();
    void writesEveryKeyInItsOrder();
    void writesSwitchesAsMinusOneOrZero();
};

namespace {

using enum OptionKey;

// The keys as the dialog writes them, section by section.
constexpr const char* kExpectedOrder =
    "[OutputOptions]\nGRF IW GDR IOS\n"
    "[AutoCancel]\nTE TE_VAL TW TW_VAL TEW TEW_VAL ME ME_VAL\n"
    "[ValidationOptions]\nAIC AICS ANIC BDAMP CDEN CGT5 CGT50 CNIR CTODE DBI DCD DCSUM DCTSUM DGT5 "
    "DGZ DID DIM DVIC ESDV HNCIR ICDR ICRC INDD IRL IRNN IRT LGT15 LLMA MDMP MODH MODG MPGT NAMFLD "
    "NCD NCDDE NCLDE NCNTO NRND NSDE NVCIC PIC RVCI SDBED BDay SGT50 SNC SSNNN SWB50 TGT5 TNC "
    "TOGT50 VNIL VNVR IDTypeList RecordTypeList SexList ReportTypeList ExposureTypeList ClassList "
    "ModeList RadionuclideList\n";

// The written text reduced to its section lines and, per section, the key names in order.
std::string KeyOrderOf(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    std::string order;
    bool firstKey = true;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            if (!order.empty()) order += "\n";
            order += line + "\n";
            firstKey = true;
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            order += (firstKey ? "" : " ") + line.substr(0, equals);
            firstKey = false;
        }
    }
    return order + "\n";
}

}  // namespace

void OptionFormTest::ticksEveryNonZeroSetting() {
    OptionSettings settings;  // everything 0
    settings.set(IW, 5);
    settings.set(TE, -1);
    settings.set(AIC, 1);
    const OptionForm form = FormOf(settings);
    QVERIFY(form.tick(IW));
    QVERIFY(form.tick(TE));
    QVERIFY(form.tick(AIC));
    QVERIFY(!form.tick(GRF));
    QVERIFY(!form.tick(RadionuclideList));
}

void OptionFormTest::showsLimitsAsPlainDigits() {
    OptionSettings settings;
    settings.set(TE_VAL, 1234);
    settings.set(ME_VAL, -5);
    const OptionForm form = FormOf(settings);
    QCOMPARE(form.text(TE_VAL), std::string("1234"));
    QCOMPARE(form.text(ME_VAL), std::string("-5"));
    QCOMPARE(form.text(TW_VAL), std::string("0"));
}

void OptionFormTest::correctsOnlyNegativeArmedLimits_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    const int te = static_cast<int>(TE_VAL);
    const int tew = static_cast<int>(TEW_VAL);
    const int me = static_cast<int>(ME_VAL);
    QTest::newRow("armed negative errors limit")
        << te << true << QStringLiteral("-5") << QStringLiteral("0");
    QTest::newRow("unarmed negative stays")
        << te << false << QStringLiteral("-5") << QStringLiteral("-5");
    QTest::newRow("armed negative combined limit")
        << tew << true << QStringLiteral("-1") << QStringLiteral("0");
    QTest::newRow("armed negative minutes become 1")
        << me << true << QStringLiteral("-1") << QStringLiteral("1");
    QTest::newRow("armed zero minutes stay")
        << me << true << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("negative fraction")
        << te << true << QStringLiteral("-0.4") << QStringLiteral("0");
    QTest::newRow("not a number is written as typed")
        << te << true << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("leading number as typed")
        << te << true << QStringLiteral("12a") << QStringLiteral("12a");
    QTest::newRow("blanks kept") << me << true << QStringLiteral(" 30 ") << QStringLiteral(" 30 ");
}

void OptionFormTest::correctsOnlyNegativeArmedLimits() {
    QFETCH(int, limit);
    QFETCH(bool, armed);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(QString::fromStdString(
                 LimitTextToWrite(static_cast<OptionKey>(limit), armed, typed.toStdString())),
             written);
}

void OptionFormTest::pairsEachLimitWithItsSwitch() {
    QCOMPARE(SwitchOfLimit(TE_VAL), TE);
    QCOMPARE(SwitchOfLimit(TW_VAL), TW);
    QCOMPARE(SwitchOfLimit(TEW_VAL), TEW);
    QCOMPARE(SwitchOfLimit(ME_VAL), ME);
    int limits = 0;
    for (const OptionDefinition& definition : OptionDefinitions())
        limits += IsLimit(definition.key);
    QCOMPARE(limits, 4);
}

void OptionFormTest::writesEveryKeyInItsOrder() {
    IniDocument configuration;
    WriteOptionForm(FormOf(OptionSettings::Defaults()), configuration);
    QCOMPARE(QString::fromStdString(KeyOrderOf(configuration.text())),
             QString::fromLatin1(kExpectedOrder));
}

void OptionFormTest::writesSwitchesAsMinusOneOrZero() {
    IniDocument configuration("[AutoCancel]\nTE=7\n");
    OptionForm form = FormOf(LoadOptionSettings(configuration));
    form.tick(GRF) = false;
    form.text(TE_VAL) = "-3";
    WriteOptionForm(form, configuration);
    QCOMPARE(ReadProfileValue(configuration, "AutoCancel", "TE", ""), std::string("-1"));
    QCOMPARE(ReadProfileValue(configuration, "AutoCancel", "TE_VAL", ""), std::string("0"));
    QCOMPARE(ReadProfileValue(configuration, "OutputOptions", "GRF", ""), std::string("0"));
    QCOMPARE(ReadProfileValue(configuration, "ValidationOptions", "BDay", ""), std::string("-1"));
}

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::OptionFormTest)
#include "option_form_test.moc"
