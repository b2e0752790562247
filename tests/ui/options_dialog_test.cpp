#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <memory>
#include <sstream>

#include "ui/scripted_dialogs.h"

namespace talveron {

namespace fs = std::filesystem;

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fillsEveryControlFromTheFile();
    void listsTheChecksInTwoColumnsAndHidesSeven();
    void enablesDependentControls();
    void okWritesEveryKeyAndKeepsEverythingElse();
    void okRewritesAnUnchangedFileWithEquivalentValues();
    void cancelWritesNothing();
    void failedSaveKeepsTheFileAndSaysWhy();

private:
    void open(const std::string& configuration);
    QCheckBox* box(const char* name) const {
        auto* box = dialog_->findChild<QCheckBox*>(QString::fromLatin1(name));
        if (box == nullptr) qFatal("no check box %s", name);
        return box;
    }
    QLineEdit* limit(const char* name) const {
        return dialog_->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void click(const char* button) {
        QTest::mouseClick(dialog_->findChild<QPushButton*>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    }
    std::string fileText() const;

    std::unique_ptr<QTemporaryDir> temp_;
    fs::path path_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<OptionsDialog> dialog_;
};

namespace {

// The 61 check codes in the order they are written.
constexpr const char* kCheckCodes[] = {"AIC",
                                       "AICS",
                                       "ANIC",
                                       "BDAMP",
                                       "CDEN",
                                       "CGT5",
                                       "CGT50",
                                       "CNIR",
                                       "CTODE",
                                       "DBI",
                                       "DCD",
                                       "DCSUM",
                                       "DCTSUM",
                                       "DGT5",
                                       "DGZ",
                                       "DID",
                                       "DIM",
                                       "DVIC",
                                       "ESDV",
                                       "HNCIR",
                                       "ICDR",
                                       "ICRC",
                                       "INDD",
                                       "IRL",
                                       "IRNN",
                                       "IRT",
                                       "LGT15",
                                       "LLMA",
                                       "MDMP",
                                       "MODH",
                                       "MODG",
                                       "MPGT",
                                       "NAMFLD",
                                       "NCD",
                                       "NCDDE",
                                       "NCLDE",
                                       "NCNTO",
                                       "NRND",
                                       "NSDE",
                                       "NVCIC",
                                       "PIC",
                                       "RVCI",
                                       "SDBED",
                                       "BDay",
                                       "SGT50",
                                       "SNC",
                                       "SSNNN",
                                       "SWB50",
                                       "TGT5",
                                       "TNC",
                                       "TOGT50",
                                       "VNIL",
                                       "VNVR",
                                       "IDTypeList",
                                       "RecordTypeList",
                                       "SexList",
                                       "ReportTypeList",
                                       "ExposureTypeList",
                                       "ClassList",
                                       "ModeList",
                                       "RadionuclideList"};

constexpr const char* kHidden[] = {
    "AIC", "AICS", "ICDR", "ICRC", "VNIL", "RecordTypeList", "RadionuclideList"};

// A configuration with content the dialog does not own around and inside its sections.
const std::string kConfiguration =
    "; site configuration\r\n"
    "[H]\r\n"
    "1=License_Number\r\n"
    "[OutputOptions]\r\n"
    "GRF=True\r\n"
    "Extra = kept \r\n"
    "IW=0\r\n"
    "\r\n"
    "[AutoCancel]\r\n"
    "TE_VAL=-5\r\n"
    "[Other]\r\n"
    "Key=Value\r\n"
    "[ValidationOptions]\r\n"
    "AIC=0\r\n"
    "NAMFLD=0\r\n"
    "Comment=not a check\r\n";

}  // namespace

void OptionsDialogTest::init() {
    temp_ = std::make_unique<QTemporaryDir>();
    path_ = fs::path(temp_->path().toStdString()) / "TALVERON.CFG";
    dialogs_ = testing::ScriptedDialogs();
}

void OptionsDialogTest::cleanup() {
    dialog_.reset();
    temp_.reset();
}

void OptionsDialogTest::open(const std::string& configuration) {
    std::ofstream(path_, std::ios::binary) << configuration;
    dialog_ = std::make_unique<OptionsDialog>(path_, dialogs_);
    dialog_->show();
}

std::string OptionsDialogTest::fileText() const {
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void OptionsDialogTest::fillsEveryControlFromTheFile() {
    open(kConfiguration + "TGT5=7\r\n[AutoCancel]\r\nME=1\r\n");
    QCOMPARE(dialog_->windowTitle(), QStringLiteral("System Options"));
    QVERIFY(box("chk_grf")->isChecked());  // True
    QVERIFY(!box("chk_iw")->isChecked());
    QVERIFY(box("chk_gdr")->isChecked());  // missing: its default
    QVERIFY(!box("chk_te")->isChecked());
    QCOMPARE(limit("txt_te")->text(), QStringLiteral("-5"));
    QCOMPARE(limit("txt_tw")->text(), QStringLiteral("200"));
    QCOMPARE(limit("txt_me")->text(), QStringLiteral("45"));
    QVERIFY(!box("chk_AIC")->isChecked());  // hidden, but filled
    QVERIFY(!box("chk_NAMFLD")->isChecked());
    QVERIFY(box("chk_TGT5")->isChecked());  // any non-zero value ticks
    QVERIFY(box("chk_BDay")->isChecked());
    QCOMPARE(box("chk_NAMFLD")->text(),
             QStringLiteral("Warn of \"TEST\" and \"TRAIN\" values in name fields"));
    // "&" is shown as itself, not taken as a shortcut mark.
    QCOMPARE(box("chk_NCDDE")->text(),
             QStringLiteral("NC for DDE is invalid, NC is only valid for CDE && TODE doses"));
}

void OptionsDialogTest::listsTheChecksInTwoColumnsAndHidesSeven() {
    open(kConfiguration);
    int visible = 0;
    for (const char* code : kCheckCodes) {
        const QString name = QStringLiteral("chk_") + QString::fromLatin1(code);
        QCheckBox* check = dialog_->findChild<QCheckBox*>(name);
        QVERIFY2(check != nullptr, qPrintable(name));
        const bool hidden =
            std::find_if(std::begin(kHidden), std::end(kHidden), [&](const char* h) {
                return std::string_view(h) == code;
            }) != std::end(kHidden);
        QCOMPARE(check->isVisible(), !hidden);
        visible += check->isVisible();
    }
    QCOMPARE(visible, 54);
    // Two columns: the first of the right column sits beside the first of the left.
    QCOMPARE(box("chk_SGT50")->y(), box("chk_ANIC")->y());
    QVERIFY(box("chk_SGT50")->x() > box("chk_ANIC")->x());
    QCOMPARE(box("chk_ExposureTypeList")->y(), box("chk_LGT15")->y());
    QVERIFY(box("chk_NAMFLD")->y() > box("chk_ANIC")->y());
}

void OptionsDialogTest::enablesDependentControls() {
    open("[OutputOptions]\r\nGRF=0\r\nIW=-1\r\nGDR=-1\r\n[AutoCancel]\r\nTW=-1\r\n");
    QVERIFY(!box("chk_iw")->isEnabled());
    QVERIFY(box("chk_iw")->isChecked());  // greyed out, mark kept
    QVERIFY(box("chk_ios")->isEnabled());
    QVERIFY(!limit("txt_te")->isEnabled());
    QVERIFY(limit("txt_tw")->isEnabled());

    box("chk_grf")->click();
    QVERIFY(box("chk_iw")->isEnabled());
    box("chk_gdr")->click();
    QVERIFY(!box("chk_ios")->isEnabled());
    box("chk_te")->click();
    QVERIFY(limit("txt_te")->isEnabled());
    box("chk_tw")->click();
    QVERIFY(!limit("txt_tw")->isEnabled());
    QCOMPARE(limit("txt_tw")->text(), QStringLiteral("200"));
}

void OptionsDialogTest::okWritesEveryKeyAndKeepsEverythingElse() {
    open(kConfiguration);
    box("chk_te")->click();  // armed with -5: written as 0
    box("chk_me")->click();
    limit("txt_me")->setText(QStringLiteral("-1"));   // armed minutes: written as 1
    limit("txt_tw")->setText(QStringLiteral("12a"));  // written as typed
    box("chk_DGZ")->click();                          // on by default: now off
    click("okb");
    QVERIFY(dialogs_.log.empty());
    QCOMPARE(dialog_->result(), static_cast<int>(QDialog::Accepted));

    std::string checks;
    for (const char* code : kCheckCodes) {
        const bool off = std::string_view(code) == "DGZ" || std::string_view(code) == "NAMFLD" ||
                         std::string_view(code) == "AIC";
        if (std::string_view(code) != "AIC" && std::string_view(code) != "NAMFLD") {
            checks += std::string(code) + (off ? "=0\r\n" : "=-1\r\n");
        }
    }
    const std::string expected =
        "; site configuration\r\n"
        "[H]\r\n"
        "1=License_Number\r\n"
        "[OutputOptions]\r\n"
        "GRF=-1\r\n"
        "Extra = kept \r\n"
        "IW=0\r\n"
        "GDR=-1\r\n"
        "IOS=-1\r\n"
        "\r\n"
        "[AutoCancel]\r\n"
        "TE_VAL=0\r\n"
        "TE=-1\r\n"
        "TW=0\r\n"
        "TW_VAL=12a\r\n"
        "TEW=0\r\n"
        "TEW_VAL=500\r\n"
        "ME=-1\r\n"
        "ME_VAL=1\r\n"
        "[Other]\r\n"
        "Key=Value\r\n"
        "[ValidationOptions]\r\n"
        "AIC=0\r\n"
        "NAMFLD=0\r\n"
        "Comment=not a check\r\n" +
        checks;
    QCOMPARE(QString::fromStdString(fileText()), QString::fromStdString(expected));
}

void OptionsDialogTest::okRewritesAnUnchangedFileWithEquivalentValues() {
    const std::string configuration =
        "[OutputOptions]\r\nGRF=5\r\n[AutoCancel]\r\nTE_VAL=0100\r\n[ValidationOptions]\r\nAIC="
        "0\r\n";
    open(configuration);
    click("okb");
    const IniDocument written(fileText());
    QCOMPARE(ReadProfileValue(written, "OutputOptions", "GRF", ""), std::string("-1"));
    QCOMPARE(ReadProfileValue(written, "AutoCancel", "TE_VAL", ""), std::string("100"));
    QCOMPARE(ReadProfileValue(written, "ValidationOptions", "AIC", ""), std::string("0"));
    QCOMPARE(ReadProfileValue(written, "ValidationOptions", "RadionuclideList", ""),
             std::string("-1"));
}

void OptionsDialogTest::cancelWritesNothing() {
    open(kConfiguration);
    box("chk_grf")->click();
    box("chk_AICS")->click();
    limit("txt_te")->setText(QStringLiteral("99"));
    click("cancelb");
    QCOMPARE(dialog_->result(), static_cast<int>(QDialog::Rejected));
    QCOMPARE(fileText(), kConfiguration);
}

void OptionsDialogTest::failedSaveKeepsTheFileAndSaysWhy() {
    // The configuration is a link to a file whose name leaves no room for the name of the
    // temporary file the save writes first, so the save fails before touching anything.
    const fs::path target = fs::path(temp_->path().toStdString()) / std::string(250, 'c');
    std::ofstream(target, std::ios::binary) << kConfiguration;
    fs::create_symlink(target, path_);
    dialog_ = std::make_unique<OptionsDialog>(path_, dialogs_);
    dialog_->show();
    box("chk_grf")->click();
    click("okb");

    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    const OperatorMessage& message = dialogs_.messages[0];
    QCOMPARE(message.title, std::string("System Options"));
    QCOMPARE(message.icon, MessageIcon::Warning);
    QVERIFY(message.detail.find(target.string()) != std::string::npos);
    QCOMPARE(fileText(), kConfiguration);
    QVERIFY(fs::is_symlink(path_));
    QVERIFY(dialog_->isVisible());  // the operator can still cancel or try again
}

}  // namespace talveron

QTEST_MAIN(talveron::OptionsDialogTest)
#include "options_dialog_test.moc"
