#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "config/profile_file.h"
#include "ui/column_flow_layout.h"
#include "ui/dialogs.h"
#include "ui/window_style.h"

namespace talveron {

namespace {

using enum OptionKey;

constexpr int kRowsPerColumn = 27;

// Room left on the screen for the window manager's title bar and borders.
constexpr QSize kWindowFrame{16, 48};

// The visible check codes, column by column, in the order the dialog lists them.
constexpr std::array<OptionKey, 2 * kRowsPerColumn> kVisibleChecks{
    ANIC,       NAMFLD,   NCD,
    DBI,        DCD,      DID,
    DIM,        MPGT,     MDMP,
    SDBED,      BDay,     DGZ,
    DVIC,       INDD,     ESDV,
    DCSUM,      DCTSUM,   CTODE,
    CNIR,       HNCIR,    IRNN,
    NCNTO,      CDEN,     CGT5,
    CGT50,      DGT5,     LGT15,
    SGT50,      SWB50,    TGT5,
    TOGT50,     NCDDE,    TNC,
    SNC,        NSDE,     NCLDE,
    NRND,       RVCI,     VNVR,
    PIC,        SSNNN,    BDAMP,
    MODH,       MODG,     LLMA,
    IRT,        IRL,      NVCIC,
    IDTypeList, SexList,  ReportTypeList,
    ClassList,  ModeList, ExposureTypeList,
};

// Check codes the dialog carries through without showing them.
constexpr std::array<OptionKey, 7> kHiddenChecks{
    AIC, AICS, ICDR, ICRC, VNIL, RecordTypeList, RadionuclideList};

QString KeyName(OptionKey key) {
    const std::string_view name = DefinitionOf(key).name;
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The output and automatic-cancel controls are named after their keys in lower case.
QString LowerName(OptionKey key) { return KeyName(key).toLower(); }

QString Caption(OptionKey key) {
    const std::string_view caption = DefinitionOf(key).caption;
    // "&" would mark a keyboard shortcut in a check box's text.
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()))
        .replace(QLatin1Char('&'), QStringLiteral("&&"));
}

std::size_t Index(OptionKey key) { return static_cast<std::size_t>(key); }

}  // namespace

OptionsDialog::OptionsDialog(std::filesystem::path configurationPath, Dialogs& dialogs,
                             QWidget* parent)
    : QDialog(parent), configurationPath_(std::move(configurationPath)), dialogs_(dialogs) {
    setObjectName(QStringLiteral("options"));
    setWindowTitle(QStringLiteral("System Options"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    style::ApplyWindowLook(*this);
    build();

    IniDocument configuration;
    // A file that cannot be read shows the defaults, as the run would use them.
    if (!LoadIniFile(configurationPath_, configuration).ok()) configuration = IniDocument();
    fill(FormOf(LoadOptionSettings(configuration)));
}

QCheckBox* OptionsDialog::checkBox(OptionKey key, const QString& objectName, QWidget* parent) {
    auto* box = new QCheckBox(Caption(key), parent);
    box->setObjectName(objectName);
    boxes_[Index(key)] = box;
    return box;
}

QWidget* OptionsDialog::outputFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Output Options"), this);
    frame->setObjectName(QStringLiteral("Frame3D2"));
    auto* layout = new QGridLayout(frame);
    layout->setColumnMinimumWidth(0, style::Px(300));
    int row = 0;
    for (const auto& [main, indented] : {std::pair{GRF, IW}, std::pair{GDR, IOS}}) {
        layout->addWidget(checkBox(main, QStringLiteral("chk_") + LowerName(main), frame), row++, 0,
                          1, 2);
        layout->addWidget(checkBox(indented, QStringLiteral("chk_") + LowerName(indented), frame),
                          row++, 1);
    }
    layout->setRowStretch(row, 1);
    return frame;
}

QWidget* OptionsDialog::autoCancelFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Auto-Cancel Options"), this);
    frame->setObjectName(QStringLiteral("Frame3D1"));
    auto* layout = new QGridLayout(frame);
    int row = 0;
    for (const OptionKey limit : {TE_VAL, TW_VAL, TEW_VAL, ME_VAL}) {
        const OptionKey armed = SwitchOfLimit(limit);
        layout->addWidget(checkBox(armed, QStringLiteral("chk_") + LowerName(armed), frame), row,
                          0);
        auto* text = new QLineEdit(frame);
        text->setObjectName(QStringLiteral("txt_") + LowerName(armed));
        text->setFixedWidth(style::Px(900));
        limits_[Index(limit)] = text;
        layout->addWidget(text, row++, 1);
    }
    layout->setRowStretch(row, 1);
    return frame;
}

QWidget* OptionsDialog::validationFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Validation Options"), this);
    frame->setObjectName(QStringLiteral("Frame3D3"));
    auto* columns = new ColumnFlowLayout(2, style::Px(180), 0, frame);
    for (const OptionKey key : kVisibleChecks) {
        QCheckBox* box = checkBox(key, QStringLiteral("chk_") + KeyName(key), frame);
        box->setFixedHeight(style::Px(360));
        columns->addWidget(box);
    }
    for (const OptionKey key : kHiddenChecks) {
        checkBox(key, QStringLiteral("chk_") + KeyName(key), frame)->hide();
    }
    return frame;
}

QWidget* OptionsDialog::buttonColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::array<std::pair<QString, QString>, 3> buttons{
        std::pair{QStringLiteral("okb"), QStringLiteral("OK")},
        std::pair{QStringLiteral("cancelb"), QStringLiteral("Cancel")},
        std::pair{QStringLiteral("helpb"), QStringLiteral("Help")}};
    std::array<QPushButton*, 3> pushButtons{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        pushButtons[i] = new QPushButton(buttons[i].second, column);
        pushButtons[i]->setObjectName(buttons[i].first);
        pushButtons[i]->setFixedSize(style::Px(1215), style::Px(375));
        layout->addWidget(pushButtons[i]);
    }
    layout->addStretch(1);
    pushButtons[0]->setDefault(true);
    connect(pushButtons[0], &QPushButton::clicked, this, &OptionsDialog::save);
    connect(pushButtons[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(pushButtons[2], &QPushButton::clicked, this, &OptionsDialog::helpRequested);
    return column;
}

void OptionsDialog::build() {
    // The frames scroll beside the buttons, so that the dialog fits a small screen with its
    // buttons in view; the frames and the check boxes reflow into one column where two do not fit.
    auto* frames = new QWidget(this);
    auto* stack = new QVBoxLayout(frames);
    stack->setContentsMargins(0, 0, 0, 0);
    auto* top = new ColumnFlowLayout(2, stack->spacing(), stack->spacing());
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(outputFrame());
    top->addWidget(autoCancelFrame());
    stack->addLayout(top);
    stack->addWidget(validationFrame());
    stack->addStretch(1);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(frames);
    buttons_ = buttonColumn();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(scroll_, 1);
    layout->addWidget(buttons_, 0, Qt::AlignTop);

    for (const OptionKey controlling : {GRF, GDR, TE, TW, TEW, ME}) {
        connect(boxes_[Index(controlling)], &QCheckBox::toggled, this,
                &OptionsDialog::applyEnablingRules);
    }
}

void OptionsDialog::setVisible(bool visible) {
    // Sized for the screen it opens on before it is placed there, unless sized already.
    if (visible && !testAttribute(Qt::WA_Resized)) {
        const QMargins margins = layout()->contentsMargins();
        const QSize wanted =
            scroll_->widget()->sizeHint() +
            QSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent) + layout()->spacing() +
                      buttons_->sizeHint().width() + margins.left() + margins.right(),
                  margins.top() + margins.bottom());
        resize(wanted.boundedTo(screen()->availableGeometry().size() - kWindowFrame));
    }
    QDialog::setVisible(visible);
}

void OptionsDialog::fill(const OptionForm& form) {
    for (const OptionDefinition& definition : OptionDefinitions()) {
        const std::size_t index = Index(definition.key);
        if (IsLimit(definition.key)) {
            limits_[index]->setText(QString::fromStdString(form.text(definition.key)));
        } else {
            boxes_[index]->setChecked(form.tick(definition.key));
        }
    }
    applyEnablingRules();
}

void OptionsDialog::applyEnablingRules() {
    boxes_[Index(IW)]->setEnabled(boxes_[Index(GRF)]->isChecked());
    boxes_[Index(IOS)]->setEnabled(boxes_[Index(GDR)]->isChecked());
    for (const OptionKey limit : {TE_VAL, TW_VAL, TEW_VAL, ME_VAL}) {
        limits_[Index(limit)]->setEnabled(boxes_[Index(SwitchOfLimit(limit))]->isChecked());
    }
}

OptionForm OptionsDialog::form() const {
    OptionForm form;
    for (const OptionDefinition& definition : OptionDefinitions()) {
        const std::size_t index = Index(definition.key);
        if (IsLimit(definition.key)) {
            form.text(definition.key) = limits_[index]->text().toStdString();
        } else {
            form.tick(definition.key) = boxes_[index]->isChecked();
        }
    }
    return form;
}

void OptionsDialog::save() {
    IniDocument configuration;
    if (const Status loaded = LoadIniFile(configurationPath_, configuration);
        !loaded.ok() && loaded.code() != Status::Code::NotFound) {
        dialogs_.showMessage(this, OptionsNotSavedMessage(loaded.message()));
        return;
    }
    WriteOptionForm(form(), configuration);
    if (const Status saved = SaveIniFileAtomically(configurationPath_, configuration);
        !saved.ok()) {
        dialogs_.showMessage(this, OptionsNotSavedMessage(saved.message()));
        return;
    }
    accept();
}

}  // namespace talveron
