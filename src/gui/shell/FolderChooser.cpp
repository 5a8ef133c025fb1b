#include "gui/shell/internal/FolderChooser.h"

#include "gui/common/DialogPlacement.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/ProjectSessionApi.h"
#include "gui/common/TextConv.h"
#include "gui/common/WindowGeometry.h"
#include "gui/shell/internal/ProjectFolders.h"
#include "script/ScriptSaver.h"
#include "ui_FolderChooser.h"

#include <QDir>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>

namespace qloom::gui {

namespace {
// The folder itself when it exists, otherwise its nearest existing ancestor.
QString existingFolder(const QString& folder) {
    QString candidate = toQ(StripTrailingBackslash(fromQ(QDir::cleanPath(folder))));
    while (!QFileInfo(candidate).isDir() && candidate != QStringLiteral("/")) {
        candidate = QFileInfo(candidate).path();
    }
    return candidate.isEmpty() ? QStringLiteral("/") : candidate;
}
} // namespace

FolderChooser::FolderChooser(ProjectSessionApi& session, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FolderChooser>()), session_(session) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Wide enough for a usual path in the path box; the title is fitted before each showing.
    setMinimumSize(QSize(360, 300));
    CenterOnDesktop(this);
    WindowGeometry::keepDialog(*this, QStringLiteral("FolderChooser"));
    ui->folderList->installEventFilter(this);
    fillDrives();
    connect(ui->folderList, &QListWidget::itemActivated, this, &FolderChooser::entryActivated);
    connect(ui->driveBox, &QComboBox::activated, this, &FolderChooser::driveChosen);
    connect(ui->okButton, &QPushButton::clicked, this, &FolderChooser::onOkClicked);
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    new HelpKeyFilter(this, [this] { session_.showHelp(); });
}

FolderChooser::~FolderChooser() = default;

void FolderChooser::setMessage(const QString& text) {
    ui->messageLabel->setText(text);
}

void FolderChooser::fitTitle() {
    // Window managers draw the title in a bold face of about the desktop's size, beside a few
    // buttons; a dialog narrower than that shows "Select Destinat...".
    QFont titleFont = font();
    titleFont.setBold(true);
    const int buttons = 4 * style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + buttons;
    if (width() < wanted)
        resize(wanted, height());
}

QString FolderChooser::path() const {
    return ui->pathEdit->text();
}

void FolderChooser::setPath(const QString& text) {
    ui->pathEdit->setText(text);
}

void FolderChooser::setCurrentFolder(const QString& folder) {
    currentFolder_ = existingFolder(folder);
    std::vector<std::string> roots;
    for (int i = 0; i < ui->driveBox->count(); ++i)
        roots.push_back(fromQ(ui->driveBox->itemText(i)));
    const QString root = toQ(MountRootOf(fromQ(currentFolder_), roots));
    rootFolders_[root] = currentFolder_;
    ui->driveBox->setCurrentIndex(ui->driveBox->findText(root));
    fillList();
    onCurrentFolderChanged();
}

QStringList FolderChooser::listedFolders() const {
    QStringList folders;
    for (int i = 0; i < ui->folderList->count(); ++i)
        folders << ui->folderList->item(i)->data(Qt::UserRole).toString();
    return folders;
}

void FolderChooser::fillList() {
    ui->folderList->clear();
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const std::string& folder : FolderChain(fromQ(currentFolder_))) {
        const QString path = toQ(folder);
        const QString name = path == QStringLiteral("/") ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name);
        item->setData(Qt::UserRole, path);
        ui->folderList->addItem(item);
        current = item;
        ++depth;
    }
    const QStringList children =
        QDir(currentFolder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& child : children) {
        auto* item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + child);
        item->setData(Qt::UserRole, toQ(JoinPath(fromQ(currentFolder_), fromQ(child))));
        ui->folderList->addItem(item);
    }
    ui->folderList->setCurrentItem(current);
}

void FolderChooser::fillDrives() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    roots.sort();
    ui->driveBox->clear();
    ui->driveBox->addItems(roots);
}

void FolderChooser::entryActivated(QListWidgetItem* item) {
    if (item)
        setCurrentFolder(item->data(Qt::UserRole).toString());
}

void FolderChooser::driveChosen(int index) {
    const QString root = ui->driveBox->itemText(index);
    setCurrentFolder(rootFolders_.value(root, root));
}

void FolderChooser::onCurrentFolderChanged() {
    ui->pathEdit->setText(currentFolder_);
}

void FolderChooser::onOkClicked() {
    accepted_ = true;
    ui->pathEdit->setText(
        toQ(ResolveChooserPath(fromQ(ui->pathEdit->text()), fromQ(currentFolder_))));
    accept();
}

void FolderChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    fitTitle();
    setCurrentFolder(startFolder_);
    // A proposed name goes below the start folder even while that folder is still to be made
    // (the projects folder before the first project): the list shows its nearest existing
    // ancestor, the path box the place the new project will get.
    const QString base = proposedName_.isEmpty() ? currentFolder_ : QDir::cleanPath(startFolder_);
    ui->pathEdit->setText(toQ(ChooserPathText(fromQ(base), fromQ(proposedName_))));
    ui->pathEdit->selectAll();
    ui->pathEdit->setFocus();
    accepted_ = false;
}

bool FolderChooser::eventFilter(QObject* watched, QEvent* event) {
    // Enter on an entry opens that folder; it must not also reach the dialog's OK button.
    if (watched == ui->folderList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            entryActivated(ui->folderList->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qloom::gui
