#include "gui/editor/AddLinkDialog.h"

#include "gui/common/EditorRules.h"
#include "gui/common/TextConv.h"
#include "gui/editor/HtmlFragments.h"
#include "model/Messages.h"
#include "ui_AddLinkDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qloom::gui {

AddLinkDialog::AddLinkDialog(MainWindowOps& ops, QWidget* parent)
    : ToolDialog(parent), ui(new Ui::AddLinkDialog) {
    ui->setupUi(this);
    setWindowTitle(toQ(msg::kAddUrlCaption));
    connect(ui->btnAdd, &QPushButton::clicked, this, &AddLinkDialog::btnAddClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &AddLinkDialog::btnCancelClick);
    connect(ui->btnChooseFile, &QPushButton::clicked, this, &AddLinkDialog::btnChooseFileClick);

    filePicker_ = [](QWidget* parent, const QString& folder) {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // The filter lists read as the user knows them; the patterns stay out of sight.
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setNameFilter(toQ(msg::kHtmlFileFilter));
        dialog.setDefaultSuffix(QStringLiteral("htm"));
        dialog.setDirectory(folder.isEmpty() ? QDir::homePath() : folder);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };
    formCreate();
    finishSetup(ops, ui->btnAdd, ui->btnCancel, QSize(441, 199));
}

AddLinkDialog::~AddLinkDialog() = default;

void AddLinkDialog::formCreate() {
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

void AddLinkDialog::btnAddClick() {
    insertAndClose(ui->txtURL, fragment());
}

void AddLinkDialog::btnCancelClick() {
    cancelAndClose(ui->txtURL);
}

void AddLinkDialog::btnChooseFileClick() {
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
