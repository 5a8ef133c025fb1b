#include "project/TfrmProjectSettings.h"

#include "editor/ColorSwatch.h"
#include "editor/EditorRules.h"
#include "editor/HelpKeyFilter.h"
#include "editor/UpDownControl.h"
#include "model/Conversions.h"
#include "model/Messages.h"
#include "project/MainWindowOps.h"
#include "project/MessageBox.h"
#include "project/TextConv.h"
#include "project/TfrmTemplateInfo.h"
#include "ui_TfrmProjectSettings.h"

#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QShowEvent>

namespace qloom::gui {

namespace {

constexpr SpinRange kSpeedSpin{1, 999};

QColor ToQColor(ColorValue value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

ColorValue FromQColor(const QColor& color) {
    return ColorValue(color.red()) | (ColorValue(color.green()) << 8) |
           (ColorValue(color.blue()) << 16);
}

template <class Choices> void FillChoices(QComboBox* box, const Choices& choices) {
    for (std::string_view choice : choices)
        box->addItem(toQ(choice));
}

// An editable combo shows its text in the line edit, whether typed or picked.
void SetComboText(QComboBox* box, const std::string& text) {
    box->setEditText(toQ(text));
}

} // namespace

TfrmProjectSettings::TfrmProjectSettings(MainWindowOps& ops, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      ui(new Ui::TfrmProjectSettings), ops_(ops) {
    ui->setupUi(this);
    setWindowTitle(toQ(msg::kProjectSettingsCaption));
    for (QComboBox* box : {ui->cBoxFontName_Caption, ui->cBoxFontName_Menu})
        FillChoices(box, kFontNameChoices);
    for (QComboBox* box : {ui->cBoxFontSize_Caption, ui->cBoxFontSize_Menu})
        FillChoices(box, kPointSizeChoices);
    ui->cBoxFontName_Caption->setAccessibleName(tr("Caption font"));
    ui->cBoxFontName_Menu->setAccessibleName(tr("Menu font"));
    ui->cBoxFontSize_Caption->setAccessibleName(tr("Caption font size"));
    ui->cBoxFontSize_Menu->setAccessibleName(tr("Menu font size"));
    bindSpinner(ui->txtScrollOut, ui->UpDown_ScrollOut);
    bindSpinner(ui->txtScrollIn, ui->UpDown_ScrollIn);
    ui->UpDown_ScrollOut->setBoxName(tr("Scroll Out"));
    ui->UpDown_ScrollIn->setBoxName(tr("Scroll In"));

    connect(ui->panCaptionColor, &ColorSwatch::clicked, this,
            [this] { getColor(ui->panCaptionColor); });
    connect(ui->panMenuColor, &ColorSwatch::clicked, this, [this] { getColor(ui->panMenuColor); });
    connect(ui->btnDefaults, &QPushButton::clicked, this, &TfrmProjectSettings::btnDefaultsClick);
    connect(ui->btnMoreInfo, &QPushButton::clicked, this, &TfrmProjectSettings::btnMoreInfoClick);
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmProjectSettings::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    new HelpKeyFilter(this, [this] { ops_.ShowHelp(); });

    colorPicker_ = [](const QColor& initial, QWidget* parent) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    };
    setForm(DefaultForm());
    adjustSize();
    setFixedSize(sizeHint());
}

TfrmProjectSettings::~TfrmProjectSettings() = default;

void TfrmProjectSettings::bindSpinner(QLineEdit* box, UpDownControl* arrows) {
    arrows->setRange(kSpeedSpin.minimum, kSpeedSpin.maximum);
    arrows->setFixedSize(17, box->sizeHint().height());
    connect(arrows, &UpDownControl::stepRequested, this, [box, arrows](int delta) {
        const int32_t next = SpinStep(fromQ(box->text()), arrows->position(), delta, kSpeedSpin);
        arrows->setPosition(next);
        box->setText(QString::number(next));
    });
}

SettingsForm TfrmProjectSettings::form() const {
    SettingsForm f;
    f.scrollOut = fromQ(ui->txtScrollOut->text());
    f.scrollIn = fromQ(ui->txtScrollIn->text());
    f.captionColor = FromQColor(ui->panCaptionColor->color());
    f.menuColor = FromQColor(ui->panMenuColor->color());
    f.fontCaption = fromQ(ui->cBoxFontName_Caption->currentText());
    f.fontMenu = fromQ(ui->cBoxFontName_Menu->currentText());
    f.sizeCaption = fromQ(ui->cBoxFontSize_Caption->currentText());
    f.sizeMenu = fromQ(ui->cBoxFontSize_Menu->currentText());
    f.templateName = fromQ(ui->txtTemplate->text());
    return f;
}

void TfrmProjectSettings::setForm(const SettingsForm& f) {
    ui->txtScrollOut->setText(toQ(f.scrollOut));
    ui->UpDown_ScrollOut->setPosition(ParseIntOr(f.scrollOut, kSpeedSpin.minimum));
    ui->txtScrollIn->setText(toQ(f.scrollIn));
    ui->UpDown_ScrollIn->setPosition(ParseIntOr(f.scrollIn, kSpeedSpin.minimum));
    ui->panCaptionColor->setColor(ToQColor(f.captionColor));
    ui->panMenuColor->setColor(ToQColor(f.menuColor));
    SetComboText(ui->cBoxFontName_Caption, f.fontCaption);
    SetComboText(ui->cBoxFontName_Menu, f.fontMenu);
    SetComboText(ui->cBoxFontSize_Caption, f.sizeCaption);
    SetComboText(ui->cBoxFontSize_Menu, f.sizeMenu);
    ui->txtTemplate->setText(toQ(f.templateName));
}

void TfrmProjectSettings::showEvent(QShowEvent* event) {
    // Restoring a minimised dialog must not throw away what the user typed.
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TfrmProjectSettings::FormShow() {
    setForm(FormFromSettings(ops_.project().settings));
    ui->txtScrollOut->setFocus();
}

void TfrmProjectSettings::getColor(ColorSwatch* swatch) {
    if (!colorPicker_)
        return;
    if (const auto chosen = colorPicker_(swatch->color(), this))
        swatch->setColor(*chosen);
}

void TfrmProjectSettings::btnDefaultsClick() {
    setForm(DefaultForm());
}

void TfrmProjectSettings::btnMoreInfoClick() {
    if (templateInfo_)
        templateInfo_->exec();
}

void TfrmProjectSettings::btnOKClick() {
    const SettingsForm f = form();
    const std::string name = TemplateNameOf(f);
    ProjectSettings& settings = ops_.project().settings;
    const TemplateCheck check = CheckTemplate(settings.ProjectFolder, name);
    if (check.verdict == TemplateVerdict::Unreadable) {
        ops_.Report(check.status);
        return;
    }
    if (check.verdict == TemplateVerdict::LacksScript) {
        ui->txtTemplate->setFocus();
        ui->txtTemplate->selectAll();
        MessageBox::message(this, toQ(TemplateLacksScriptText(check.path)));
        btnMoreInfoClick();
        // The modal windows took the focus; the name is what the user has to fix.
        ui->txtTemplate->setFocus();
        ui->txtTemplate->selectAll();
        return;
    }
    ApplyForm(f, settings);
    ops_.RefreshPreview();
    accept();
}

} // namespace qloom::gui
