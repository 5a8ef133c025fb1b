#include "gui/editor/internal/AddLinkDialog.h"

#include "gui/common/EditorRules.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/editor/internal/HtmlFragments.h"
#include "model/Messages.h"
#include "ui_AddLinkDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qloom::gui {

AddLinkDialog::AddLinkDialog(ProjectSessionApi& session, QWidget* parent)
    : ToolDialog(parent), ui(new Ui::AddLinkDialog) {
    ui->setupUi(this);
    setWindowTitle(uiText(msg::kAddUrlCaption));
    connect(ui->addButton, &QPushButton::clicked, this, &AddLinkDialog::onAddClicked);
    connect(ui->cancelButton, &QPushButton::clicked, this, &AddLinkDialog::onCancelClicked);
    connect(ui->chooseFileButton, &QPushButton::clicked, this, &AddLinkDialog::onChooseFileClicked);

    setFilePicker([](QWidget* parent, const QString& folder) {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // The filter lists read as the user knows them; the patterns stay out of sight.
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setNameFilter(uiText(msg::kHtmlFileFilter));
        dialog.setDefaultSuffix(QStringLiteral("htm"));
        dialog.setDirectory(folder.isEmpty() ? QDir::homePath() : folder);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    });
    resetControls();
    finishSetup(session, ui->addButton, ui->cancelButton, QSize(441, 199));
}

AddLinkDialog::~AddLinkDialog() = default;

void AddLinkDialog::resetControls() {
    setLastFolder(QString());
}

void AddLinkDialog::clearEntries() {
    ui->urlEdit->clear();
    ui->innerHtmlEdit->clear();
    ui->urlEdit->setFocus();
}

std::string AddLinkDialog::fragment() const {
    return LinkFragment(fromQ(ui->urlEdit->text()), fromQ(ui->targetBox->currentText()),
                        EditorTextToHtml(fromQ(ui->innerHtmlEdit->toPlainText())));
}

void AddLinkDialog::onAddClicked() {
    insertAndClose(ui->urlEdit, fragment());
}

void AddLinkDialog::onCancelClicked() {
    cancelAndClose(ui->urlEdit);
}

void AddLinkDialog::onChooseFileClicked() {
    const QString picked = pickFile();
    if (picked.isEmpty())
        return;
    const QFileInfo info(picked);
    ui->urlEdit->setText(info.fileName());
    ui->urlEdit->setFocus();
    setLastFolder(info.absolutePath());
}

} // namespace qloom::gui
