#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include <memory>
#include <set>

#include "config/ini_document.h"
#include "support/test_support.h"
#include "ui/scripted_dialogs.h"

namespace talveron {

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

namespace {

// The check codes the dialog carries through without a visible check box.
const std::set<std::string_view> kHiddenChecks{
    "AIC", "AICS", "ICDR", "ICRC", "VNIL", "RecordTypeList", "RadionuclideList"};

// A configuration with content the dialog does not own around and inside its sections.
const std::string kConfiguration =
    "; site configuration\r\n[H]\r\n1=License_Number\r\n"
    "[OutputOptions]\r\nGRF=True\r\nExtra = kept \r\nIW=0\r\n\r\n"
    "[AutoCancel]\r\nTE_VAL=-5\r\n[Other]\r\nKey=Value\r\n"
    "[ValidationOptions]\r\nAIC=0\r\nNAMFLD=0\r\nComment=not a check\r\n";

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        temp_ = std::make_unique<testing::TemporaryDirectory>();
        path_ = temp_->path() / "TALVERON.CFG";
        dialogs_ = testing::ScriptedDialogs();
    }

    void cleanup() {
        dialog_.reset();
        temp_.reset();
    }

    void showsEveryOptionAsTheFileHasIt() {
        testing::WriteBytes(path_, kConfiguration);
        open();
        QCOMPARE(dialog_->windowTitle(), u"System Options"_s);
        QCOMPARE(limit("txt_te")->text(), u"-5"_s);
        QCOMPARE(limit("txt_tw")->text(), u"200"_s);  // missing: its default
        for (const OptionDefinition& check : OptionDefinitions()) {
            if (check.section != kValidationOptionsSection) continue;
            const std::string name = "chk_" + std::string(check.name);
            QVERIFY2(box(name)->isHidden() == kHiddenChecks.contains(check.name), name.c_str());
        }
        QCOMPARE(box("chk_NAMFLD")->text(),
                 u"Warn of \"TEST\" and \"TRAIN\" values in name fields"_s);
        // "&" is shown as itself, not taken as a shortcut mark.
        QCOMPARE(box("chk_NCDDE")->text(),
                 u"NC for DDE is invalid, NC is only valid for CDE && TODE doses"_s);
    }

    // The test runs on two screens (tests/data/ui/two-screens.json): 1024x768 at 96 dpi and
    // 1366x768 at 144 dpi, which leaves 911x512 device-independent pixels.
    void fitsTheScreen_data() {
        QTest::addColumn<int>("screen");
        QTest::newRow("1024x768 at 96 dpi") << 0;
        QTest::newRow("1366x768 at 144 dpi") << 1;
    }

    void fitsTheScreen() {
        QFETCH(int, screen);
        QCOMPARE(QGuiApplication::screens().size(), 2);
        QScreen* target = QGuiApplication::screens()[screen];
        testing::WriteBytes(path_, kConfiguration);
        dialog_ = std::make_unique<OptionsDialog>(path_, dialogs_);
        dialog_->setScreen(target);
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));

        const QRect room = target->availableGeometry();
        QVERIFY2(dialog_->width() <= room.width() && dialog_->height() <= room.height(),
                 qPrintable(u"%1x%2"_s.arg(dialog_->width()).arg(dialog_->height())));
        for (const char* name : {"okb", "cancelb", "helpb"}) {
            const auto* button = dialog_->findChild<QPushButton*>(QString::fromLatin1(name));
            const QRect where(button->mapTo(dialog_.get(), QPoint()), button->size());
            QVERIFY2(button->isVisible() && dialog_->rect().contains(where), name);
        }
        // The rows of the right column sit beside those of the left, or, where the font leaves
        // room for one column only, below them.
        QVERIFY((box("chk_SGT50")->y() == box("chk_ANIC")->y()) !=
                (box("chk_SGT50")->y() > box("chk_LGT15")->y()));
        // The last check box scrolls into view.
        auto* scroll = dialog_->findChild<QScrollArea*>();
        QCheckBox* last = box("chk_ExposureTypeList");
        scroll->ensureWidgetVisible(last);
        const QRect shown(last->mapTo(scroll->viewport(), QPoint()), last->size());
        QVERIFY(scroll->viewport()->rect().contains(shown));
    }

    void enablesDependentControls() {
        testing::WriteBytes(
            path_, "[OutputOptions]\r\nGRF=0\r\nIW=-1\r\nGDR=-1\r\n[AutoCancel]\r\nTW=-1\r\n");
        open();
        QCOMPARE(enabled(), u"iw:off ios:on te:off tw:on"_s);
        QVERIFY(box("chk_iw")->isChecked());  // greyed out, mark kept
        for (const char* name : {"chk_grf", "chk_gdr", "chk_te", "chk_tw"}) box(name)->click();
        QCOMPARE(enabled(), u"iw:on ios:off te:on tw:off"_s);
        QCOMPARE(limit("txt_tw")->text(), u"200"_s);
    }

    void closes_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void closes() {
        QFETCH(bool, ok);
        testing::WriteBytes(path_, kConfiguration);
        open();
        box("chk_te")->click();
        limit("txt_tw")->setText(u"12a"_s);
        box("chk_DGZ")->click();           // on by default: now off
        box("chk_AIC")->setChecked(true);  // hidden, but written
        click(ok ? "okb" : "cancelb");
        QVERIFY(dialogs_.log.empty());
        QCOMPARE(dialog_->result(), static_cast<int>(ok ? QDialog::Accepted : QDialog::Rejected));
        // OK writes the controls, keeps everything else; Cancel writes nothing.
        IniDocument written(testing::ReadBytes(path_));
        if (!ok) QCOMPARE(written.text(), kConfiguration);
        // The check box left of a limit, its box, a check box and a hidden one.
        for (const auto& [section, key, value] : {std::tuple{"AutoCancel", "TE", "-1"},
                                                  {"AutoCancel", "TW_VAL", "12a"},
                                                  {"ValidationOptions", "DGZ", "0"},
                                                  {"ValidationOptions", "AIC", "-1"}}) {
            QVERIFY2(!ok || ReadProfileValue(written, section, key, "") == value, key);
        }
        QVERIFY(written.text().starts_with("; site configuration\r\n[H]\r\n1=License_Number\r\n"));
    }

    void failedSaveKeepsTheFileAndSaysWhy() {
        // The configuration is a link to a file whose name leaves no room for the name of the
        // temporary file the save writes first, so the save fails before touching anything.
        const fs::path target = temp_->path() / std::string(250, 'c');
        testing::WriteBytes(target, kConfiguration);
        fs::create_symlink(target, path_);
        open();
        box("chk_grf")->click();
        click("okb");

        QCOMPARE(dialogs_.log,
                 std::vector{u"message: System Options | The settings were not saved; "_s
                             u"the configuration file is unchanged."_s});
        QVERIFY(dialogs_.messages[0].detail.find(target.string()) != std::string::npos);
        QCOMPARE(testing::ReadBytes(path_), kConfiguration);
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
    /// Whether each dependent control is enabled, as "iw:on ios:off ...".
    QString enabled() const {
        QStringList states;
        for (const char* name : {"chk_iw", "chk_ios", "txt_te", "txt_tw"}) {
            const auto* control = dialog_->findChild<QWidget*>(QString::fromLatin1(name));
            states << QString::fromLatin1(name + 4) +
                          QLatin1String(control->isEnabled() ? ":on" : ":off");
        }
        return states.join(u' ');
    }
    QLineEdit* limit(const char* name) const {
        return dialog_->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    void click(const char* button) {
        QTest::mouseClick(dialog_->findChild<QPushButton*>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    }

    std::unique_ptr<testing::TemporaryDirectory> temp_;
    fs::path path_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<OptionsDialog> dialog_;
};

}  // namespace talveron

QTEST_MAIN(talveron::OptionsDialogTest)
#include "options_dialog_test.moc"
