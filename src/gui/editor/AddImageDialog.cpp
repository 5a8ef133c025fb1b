#include "gui/editor/internal/AddImageDialog.h"

#include "gui/common/BusyCursor.h"
#include "gui/common/EditorRules.h"
#include "gui/common/ProjectSessionApi.h"
#include "gui/common/Prompter.h"
#include "gui/common/SpinBinding.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/editor/internal/HtmlFragments.h"
#include "gui/editor/internal/ImageCopy.h"
#include "gui/editor/internal/PicturePreview.h"
#include "model/Messages.h"
#include "ui_AddImageDialog.h"

#include <QCheckBox>
#include <QFileInfo>

namespace qloom::gui {

namespace {
constexpr SpinRange kBorderSpin{0, 999};
}

AddImageDialog::AddImageDialog(ProjectSessionApi& session, QWidget* parent)
    : ToolDialog(parent), ui(new Ui::AddImageDialog), session_(session) {
    ui->setupUi(this);
    setWindowTitle(uiText(msg::kAddImageCaption));
    auto* border = new SpinBinding(ui->borderEdit, ui->borderUpDown, kBorderSpin, tr("Border"));
    border->show(QStringLiteral("0"), 0);
    connect(ui->addButton, &QPushButton::clicked, this, &AddImageDialog::onAddClicked);
    connect(ui->cancelButton, &QPushButton::clicked, this, &AddImageDialog::onCancelClicked);
    connect(ui->chooseFileButton, &QPushButton::clicked, this,
            &AddImageDialog::onChooseFileClicked);
    connect(ui->altEdit, &QLineEdit::textChanged, this, &AddImageDialog::updateAddButton);
    connect(ui->decorativeCheck, &QCheckBox::toggled, this, &AddImageDialog::updateAddButton);
    setFilePicker(&ChoosePictureFile);
    updateAddButton();
    resetControls();
    finishSetup(session, ui->addButton, ui->cancelButton, QSize(442, 106));
}

AddImageDialog::~AddImageDialog() = default;

void AddImageDialog::resetControls() {
    setLastFolder(QString());
}

void AddImageDialog::clearEntries() {
    ui->imageEdit->clear();
    ui->altEdit->clear(); // the text and the decoration belong to one picture
    ui->decorativeCheck->setChecked(false);
    ui->imageEdit->setFocus();
}

void AddImageDialog::updateAddButton() {
    const bool decorative = ui->decorativeCheck->isChecked();
    // A decorative picture has no text to type; the box keeps it in case the tick was a slip.
    ui->altEdit->setEnabled(!decorative);
    const Status alt = CheckImageAlt(fromQ(ui->altEdit->text()), decorative);
    ui->addButton->setEnabled(alt.ok);
    ui->addButton->setToolTip(toQ(alt.message));
}

void AddImageDialog::onAddClicked() {
    const bool decorative = ui->decorativeCheck->isChecked();
    const std::string alt = decorative ? std::string() : fromQ(ui->altEdit->text());
    if (!CheckImageAlt(alt, decorative))
        return; // Add is greyed; a direct call cannot get round the rule either
    const std::string path = fromQ(ui->imageEdit->text());
    const std::string html = ImageFragment(path, fromQ(ui->borderEdit->text()), alt);
    const Expected<ImageCopyOutcome> copied = [&] {
        BusyCursor busy;
        const ProjectSettings& settings = session_.project().settings;
        return CopyImageIntoProject(path, settings.projectFolder, settings.templateFileName);
    }();
    // The picture is still named in the page; the user can copy it by hand later.
    if (!copied)
        session_.prompter().message(this, toQ(copied.status().message));
    insertAndClose(ui->imageEdit, html);
}

void AddImageDialog::onCancelClicked() {
    cancelAndClose(ui->imageEdit);
}

void AddImageDialog::onChooseFileClicked() {
    const QString picked = pickFile();
    if (!picked.isEmpty())
        ui->imageEdit->setText(picked);
    // A cancelled dialog has no file name, so the next one starts in the default folder.
    setLastFolder(picked.isEmpty() ? QString() : QFileInfo(picked).absolutePath());
}

} // namespace qloom::gui
