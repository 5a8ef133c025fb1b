#include "gui/shell/internal/ProjectSettingsDialog.h"

#include "gui/common/BusyCursor.h"
#include "gui/common/ColorSwatch.h"
#include "gui/common/EditorRules.h"
#include "gui/common/FontList.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/QtColor.h"
#include "gui/common/SpinBinding.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowGeometry.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/SiteFolderBox.h"
#include "gui/shell/internal/SmallScreenBox.h"
#include "gui/shell/internal/TemplateInfoDialog.h"
#include "model/Messages.h"
#include "script/ScriptSaver.h"
#include "ui_ProjectSettingsDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QShowEvent>

namespace qloom::gui {

namespace {

constexpr SpinRange kSpeedSpin{1, 999};

template <class Choices> void FillChoices(QComboBox* box, const Choices& choices) {
    for (std::string_view choice : choices)
        box->addItem(toQ(choice));
}

// An editable combo shows its text in the line edit, whether typed or picked.
void SetComboText(QComboBox* box, const std::string& text) {
    box->setEditText(toQ(text));
}

} // namespace

ProjectSettingsDialog::ProjectSettingsDialog(ProjectSession& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      ui(new Ui::ProjectSettingsDialog), session_(session) {
    ui->setupUi(this);
    setWindowTitle(uiText(msg::kProjectSettingsCaption));
    WindowGeometry::keepDialog(*this, QStringLiteral("ProjectSettings"));
    for (QComboBox* box : {ui->captionFontBox, ui->bodyFontBox})
        FillFontList(box);
    for (QComboBox* box : {ui->captionFontSizeBox, ui->bodyFontSizeBox})
        FillChoices(box, kPointSizeChoices);
    ui->captionFontBox->setAccessibleName(tr("Caption font"));
    ui->bodyFontBox->setAccessibleName(tr("Menu font"));
    ui->captionFontSizeBox->setAccessibleName(tr("Caption font size"));
    ui->bodyFontSizeBox->setAccessibleName(tr("Menu font size"));
    scrollOutSpin_ =
        new SpinBinding(ui->scrollOutEdit, ui->scrollOutUpDown, kSpeedSpin, tr("Scroll Out"));
    scrollInSpin_ =
        new SpinBinding(ui->scrollInEdit, ui->scrollInUpDown, kSpeedSpin, tr("Scroll In"));

    connect(ui->captionTextColorSwatch, &ColorSwatch::clicked, this,
            [this] { chooseColor(ui->captionTextColorSwatch); });
    connect(ui->bodyTextColorSwatch, &ColorSwatch::clicked, this,
            [this] { chooseColor(ui->bodyTextColorSwatch); });
    connect(ui->defaultsButton, &QPushButton::clicked, this,
            &ProjectSettingsDialog::onDefaultsClicked);
    connect(ui->moreInfoButton, &QPushButton::clicked, this,
            &ProjectSettingsDialog::onMoreInfoClicked);
    connect(ui->okButton, &QPushButton::clicked, this, &ProjectSettingsDialog::onOkClicked);
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    new HelpKeyFilter(this, [this] { session_.showHelp(); });
    // Above the button row: what the preview page may read.
    siteFolder_ = new SiteFolderBox(session_, this);
    ui->layoutMain->insertWidget(ui->layoutMain->count() - 1, siteFolder_);
    smallScreen_ = new SmallScreenBox(this);
    ui->layoutMain->insertWidget(ui->layoutMain->count() - 2, smallScreen_);

    colorPicker_ = &PickPlatformColor;
    setForm(DefaultForm());
    adjustSize();
    setFixedSize(sizeHint());
}

ProjectSettingsDialog::~ProjectSettingsDialog() = default;

SettingsForm ProjectSettingsDialog::form() const {
    SettingsForm f;
    f.scrollOut = fromQ(ui->scrollOutEdit->text());
    f.scrollIn = fromQ(ui->scrollInEdit->text());
    f.captionColor = FromQColor(ui->captionTextColorSwatch->color());
    f.menuColor = FromQColor(ui->bodyTextColorSwatch->color());
    f.fontCaption = fromQ(ui->captionFontBox->currentText());
    f.fontMenu = fromQ(ui->bodyFontBox->currentText());
    f.sizeCaption = fromQ(ui->captionFontSizeBox->currentText());
    f.sizeMenu = fromQ(ui->bodyFontSizeBox->currentText());
    f.templateName = fromQ(ui->templateNameEdit->text());
    return f;
}

void ProjectSettingsDialog::setForm(const SettingsForm& f) {
    scrollOutSpin_->show(toQ(f.scrollOut), kSpeedSpin.minimum);
    scrollInSpin_->show(toQ(f.scrollIn), kSpeedSpin.minimum);
    ui->captionTextColorSwatch->setColor(ToQColor(f.captionColor));
    ui->bodyTextColorSwatch->setColor(ToQColor(f.menuColor));
    SetComboText(ui->captionFontBox, f.fontCaption);
    SetComboText(ui->bodyFontBox, f.fontMenu);
    SetComboText(ui->captionFontSizeBox, f.sizeCaption);
    SetComboText(ui->bodyFontSizeBox, f.sizeMenu);
    ui->templateNameEdit->setText(toQ(f.templateName));
}

void ProjectSettingsDialog::showEvent(QShowEvent* event) {
    // Restoring a minimised dialog must not throw away what the user typed.
    if (!event->spontaneous()) {
        loadFromProject();
    }
    QDialog::showEvent(event);
}

void ProjectSettingsDialog::loadFromProject() {
    setForm(FormFromSettings(session_.project().settings));
    siteFolder_->load(toQ(session_.project().settings.projectFolder));
    smallScreen_->load(session_.project().settings);
    ui->scrollOutEdit->setFocus();
}

void ProjectSettingsDialog::chooseColor(ColorSwatch* swatch) {
    if (!colorPicker_)
        return;
    if (const auto chosen = colorPicker_(swatch->color(), this))
        swatch->setColor(*chosen);
}

void ProjectSettingsDialog::onDefaultsClicked() {
    setForm(DefaultForm());
    smallScreen_->showDefaults();
}

void ProjectSettingsDialog::onMoreInfoClicked() {
    if (templateInfo_)
        templateInfo_->exec();
}

void ProjectSettingsDialog::onOkClicked() {
    const SettingsForm f = form();
    const std::string name = TemplateNameOf(f);
    const ProjectSettings& settings = session_.project().settings;
    const Expected<TemplateVerdict> check = [&] {
        BusyCursor busy;
        return CheckTemplate(settings.projectFolder, name);
    }();
    if (!check) {
        session_.report(check.status());
        return;
    }
    if (*check == TemplateVerdict::Reserved) {
        ui->templateNameEdit->setFocus();
        ui->templateNameEdit->selectAll();
        session_.prompter().message(this, toQ(TemplateReservedText(name)));
        ui->templateNameEdit->setFocus();
        return;
    }
    if (*check == TemplateVerdict::LacksScript) {
        ui->templateNameEdit->setFocus();
        ui->templateNameEdit->selectAll();
        session_.prompter().message(
            this, toQ(TemplateLacksScriptText(JoinPath(settings.projectFolder, name))));
        onMoreInfoClicked();
        // The modal windows took the focus; the name is what the user has to fix.
        ui->templateNameEdit->setFocus();
        ui->templateNameEdit->selectAll();
        return;
    }
    ProjectSettings changed = settings;
    ApplyForm(f, changed);
    smallScreen_->apply(changed);
    session_.edit(ProjectEdit::replaceSettings(session_.project(), std::move(changed)));
    // The settings are in the project whatever happens to the store, but the user must know
    // that the preview will stay at the project folder.
    session_.report(siteFolder_->save());
    Q_EMIT applied();
    accept();
}

} // namespace qloom::gui
