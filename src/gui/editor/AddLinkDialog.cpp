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
    connect(ui->btnAdd, &QPushButton::clicked, this, &AddLinkDialog::onAddClicked);
    connect(ui->btnCancel, &QPushButton::clicked, this, &AddLinkDialog::onCancelClicked);
    connect(ui->btnChooseFile, &QPushButton::clicked, this, &AddLinkDialog::onChooseFileClicked);

    filePicker_ = [](QWidget* parent, const QString& folder) {
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
    };
    resetControls();
    finishSetup(session, ui->btnAdd, ui->btnCancel, QSize(441, 199));
}

AddLinkDialog::~AddLinkDialog() = default;

void AddLinkDialog::resetControls() {
    LastFolder.clear();
}

void AddLinkDialog::clearEntries() {
    ui->txtURL->clear();
    ui->txtHTML->clear();
    ui->txtURL->setFocus();
}

std::string AddLinkDialog::fragment() const {
    return LinkFragment(fromQ(ui->txtURL->text()), fromQ(ui->cboxTarget->currentText()),
                        EditorTextToHtml(fromQ(ui->txtHTML->toPlainText())));
}

void AddLinkDialog::onAddClicked() {
    insertAndClose(ui->txtURL, fragment());
}

void AddLinkDialog::onCancelClicked() {
    cancelAndClose(ui->txtURL);
}

void AddLinkDialog::onChooseFileClicked() {
    if (!filePicker_)
        return;
    const QString picked = filePicker_(this, LastFolder);
    if (picked.isEmpty())
        return;
    const QFileInfo info(picked);
    ui->txtURL->setText(info.fileName());
    ui->txtURL->setFocus();
    LastFolder = info.absolutePath();
}

} // namespace qloom::gui
