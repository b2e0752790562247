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
using namespace Qt::StringLiterals;

namespace {

// The 61 check codes in the order they are written; "*" marks the seven the dialog hides.
constexpr std::string_view kCheckCodes =
    "*AIC *AICS ANIC BDAMP CDEN CGT5 CGT50 CNIR CTODE DBI DCD DCSUM DCTSUM DGT5 DGZ DID DIM DVIC "
    "ESDV HNCIR *ICDR *ICRC INDD IRL IRNN IRT LGT15 LLMA MDMP MODH MODG MPGT NAMFLD NCD NCDDE "
    "NCLDE NCNTO NRND NSDE NVCIC PIC RVCI SDBED BDay SGT50 SNC SSNNN SWB50 TGT5 TNC TOGT50 *VNIL "
    "VNVR IDTypeList *RecordTypeList SexList ReportTypeList ExposureTypeList ClassList ModeList "
    "*RadionuclideList";

struct Check {
    std::string code;
    bool hidden;
};

std::vector<Check> Checks() {
    std::istringstream words{std::string(kCheckCodes)};
    std::vector<Check> checks;
    for (std::string word; words >> word;) {
        checks.push_back({word.front() == '*' ? word.substr(1) : word, word.front() == '*'});
    }
    return checks;
}

// A configuration with content the dialog does not own around and inside its sections.
const std::string kConfiguration =
    "; site configuration\r\n[H]\r\n1=License_Number\r\n"
    "[OutputOptions]\r\nGRF=True\r\nExtra = kept \r\nIW=0\r\n\r\n"
    "[AutoCancel]\r\nTE_VAL=-5\r\n[Other]\r\nKey=Value\r\n"
    "[ValidationOptions]\r\nAIC=0\r\nNAMFLD=0\r\nComment=not a check\r\n";

void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        temp_ = std::make_unique<QTemporaryDir>();
        path_ = fs::path(temp_->path().toStdString()) / "TALVERON.CFG";
        dialogs_ = testing::ScriptedDialogs();
    }

    void cleanup() {
        dialog_.reset();
        temp_.reset();
    }

    void showsEveryOptionAsTheFileHasIt() {
        Write(path_, kConfiguration);
        open();
        QCOMPARE(dialog_->windowTitle(), u"System Options"_s);
        QCOMPARE(limit("txt_te")->text(), u"-5"_s);
        QCOMPARE(limit("txt_tw")->text(), u"200"_s);  // missing: its default
        int visible = 0;
        for (const auto& [code, hidden] : Checks()) {
            QVERIFY2(box("chk_" + code)->isVisible() == !hidden, code.c_str());
            visible += box("chk_" + code)->isVisible();
        }
        QCOMPARE(visible, 54);
        // Two columns: the first of the right column sits beside the first of the left.
        QCOMPARE(box("chk_SGT50")->y(), box("chk_ANIC")->y());
        QVERIFY(box("chk_SGT50")->x() > box("chk_ANIC")->x());
        QCOMPARE(box("chk_ExposureTypeList")->y(), box("chk_LGT15")->y());
        QVERIFY(box("chk_NAMFLD")->y() > box("chk_ANIC")->y());
        QCOMPARE(box("chk_NAMFLD")->text(),
                 u"Warn of \"TEST\" and \"TRAIN\" values in name fields"_s);
        // "&" is shown as itself, not taken as a shortcut mark.
        QCOMPARE(box("chk_NCDDE")->text(),
                 u"NC for DDE is invalid, NC is only valid for CDE && TODE doses"_s);
    }

    void enablesDependentControls() {
        Write(path_, "[OutputOptions]\r\nGRF=0\r\nIW=-1\r\nGDR=-1\r\n[AutoCancel]\r\nTW=-1\r\n");
        open();
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
        QCOMPARE(limit("txt_tw")->text(), u"200"_s);
    }

    void okWritesEveryKeyAndKeepsEverythingElse() {
        Write(path_, kConfiguration);
        open();
        box("chk_te")->click();  // armed with -5: written as 0
        box("chk_me")->click();
        limit("txt_me")->setText(u"-1"_s);   // armed minutes: written as 1
        limit("txt_tw")->setText(u"12a"_s);  // written as typed
        box("chk_DGZ")->click();             // on by default: now off
        click("okb");
        QVERIFY(dialogs_.log.empty());
        QCOMPARE(dialog_->result(), static_cast<int>(QDialog::Accepted));

        // The keys already in the file are set in place, the others added to their sections.
        std::string checks;
        for (const auto& [code, hidden] : Checks()) {
            if (code != "AIC" && code != "NAMFLD")
                checks += code + (code == "DGZ" ? "=0\r\n" : "=-1\r\n");
        }
        const std::string expected =
            "; site configuration\r\n[H]\r\n1=License_Number\r\n"
            "[OutputOptions]\r\nGRF=-1\r\nExtra = kept \r\nIW=0\r\nGDR=-1\r\nIOS=-1\r\n\r\n"
            "[AutoCancel]\r\nTE_VAL=0\r\nTE=-1\r\nTW=0\r\nTW_VAL=12a\r\nTEW=0\r\nTEW_VAL=500\r\n"
            "ME=-1\r\nME_VAL=1\r\n[Other]\r\nKey=Value\r\n"
            "[ValidationOptions]\r\nAIC=0\r\nNAMFLD=0\r\nComment=not a check\r\n" +
            checks;
        QCOMPARE(QString::fromStdString(ReadAll(path_)), QString::fromStdString(expected));
    }

    void cancelWritesNothing() {
        Write(path_, kConfiguration);
        open();
        box("chk_grf")->click();
        box("chk_AICS")->click();
        limit("txt_te")->setText(u"99"_s);
        click("cancelb");
        QCOMPARE(dialog_->result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(ReadAll(path_), kConfiguration);
    }

    void failedSaveKeepsTheFileAndSaysWhy() {
        // The configuration is a link to a file whose name leaves no room for the name of the
        // temporary file the save writes first, so the save fails before touching anything.
        const fs::path target = fs::path(temp_->path().toStdString()) / std::string(250, 'c');
        Write(target, kConfiguration);
        fs::create_symlink(target, path_);
        open();
        box("chk_grf")->click();
        click("okb");

        QCOMPARE(dialogs_.messages.size(), std::size_t{1});
        const OperatorMessage& message = dialogs_.messages[0];
        QCOMPARE(message.title, std::string("System Options"));
        QCOMPARE(message.icon, MessageIcon::Warning);
        QVERIFY(message.detail.find(target.string()) != std::string::npos);
        QCOMPARE(ReadAll(path_), kConfiguration);
        QVERIFY(fs::is_symlink(path_));
        QVERIFY(dialog_->isVisible());  // the operator can still cancel or try again
    }

private:
    void open() {
        dialog_ = std::make_unique<OptionsDialog>(path_, dialogs_);
        dialog_->show();
    }
    QCheckBox* box(const std::string& name) const {
        auto* box = dialog_->findChild<QCheckBox*>(QString::fromStdString(name));
        if (box == nullptr) qFatal("no check box %s", name.c_str());
        return box;
    }
    QLineEdit* limit(const char* name) const {
        return dialog_->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    void click(const char* button) {
        QTest::mouseClick(dialog_->findChild<QPushButton*>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> temp_;
    fs::path path_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<OptionsDialog> dialog_;
};

}  // namespace talveron

QTEST_MAIN(talveron::OptionsDialogTest)
#include "options_dialog_test.moc"
