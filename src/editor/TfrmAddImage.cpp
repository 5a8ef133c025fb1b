#include "editor/TfrmAddImage.h"

#include "editor/DialogPlacement.h"
#include "editor/EditorRules.h"
#include "editor/HelpKeyFilter.h"
#include "editor/HtmlFragments.h"
#include "editor/ImageCopy.h"
#include "editor/PicturePreview.h"
#include "editor/SpinBinding.h"
#include "model/Messages.h"
#include "project/BusyCursor.h"
#include "project/MainWindowOps.h"
#include "project/MessageBox.h"
#include "project/TextConv.h"
#include "ui_TfrmAddImage.h"

#include <QFileInfo>
#include <QShowEvent>
#include <QStyle>

namespace qloom::gui {

namespace {
constexpr SpinRange kBorderSpin{0, 999};
}

TfrmAddImage::TfrmAddImage(MainWindowOps& ops, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), ui(new Ui::TfrmAddImage),
      ops_(ops) {
    ui->setupUi(this);
    setWindowTitle(toQ(msg::kAddImageCaption));
    ui->btnAdd->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ui->btnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto* border = new SpinBinding(ui->txtBorderSize, ui->UpDown_Border, kBorderSpin, tr("Border"));
    border->show(QStringLiteral("0"), 0);
    connect(ui->btnAdd, &QPushButton::clicked, this, &TfrmAddImage::btnAddClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmAddImage::btnCancelClick);
    connect(ui->btnChooseFileName, &QPushButton::clicked, this,
            &TfrmAddImage::btnChooseFileNameClick);
    new HelpKeyFilter(this, [&ops] { ops.ShowHelp(); });
    filePicker_ = &ChoosePictureFile;
    FormCreate();
    resize(QSize(442, 106).expandedTo(sizeHint()));
    setFixedSize(size());
}

TfrmAddImage::~TfrmAddImage() = default;

void TfrmAddImage::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        CenterOnDesktop(this);
    QDialog::showEvent(event);
}

void TfrmAddImage::FormCreate() {
    LastFolder.clear();
}

void TfrmAddImage::clearEntries() {
    ui->txtImage->clear();
    ui->txtImage->setFocus();
}

void TfrmAddImage::btnAddClick() {
    ui->txtImage->setFocus();
    const std::string path = fromQ(ui->txtImage->text());
    const std::string html = ImageFragment(path, fromQ(ui->txtBorderSize->text()));
    ImageCopyOutcome outcome;
    {
        BusyCursor busy;
        outcome = CopyImageIntoProject(path, ops_.project().settings.ProjectFolder);
    }
    // The picture is still named in the page; the user can copy it by hand later.
    if (outcome == ImageCopyOutcome::Failed)
        MessageBox::message(this, toQ(CannotCopyText(path)));
    if (inserter_)
        inserter_(html);
    accept();
}

void TfrmAddImage::btnCancelClick() {
    ui->txtImage->setFocus();
    reject();
}

void TfrmAddImage::btnChooseFileNameClick() {
    if (!filePicker_)
        return;
    const QString picked = filePicker_(this, LastFolder);
    if (!picked.isEmpty())
        ui->txtImage->setText(picked);
    // A cancelled dialog has no file name, so the next one starts in the default folder.
    LastFolder = picked.isEmpty() ? QString() : QFileInfo(picked).absolutePath();
}

} // namespace qloom::gui
