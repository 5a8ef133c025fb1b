#include "gui/shell/FolderChooser.h"

#include "gui/common/DialogPlacement.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/MainWindowOps.h"
#include "gui/common/TextConv.h"
#include "gui/common/WindowGeometry.h"
#include "gui/shell/ProjectFolders.h"
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

FolderChooser::FolderChooser(MainWindowOps& main, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FolderChooser>()), main_(main) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Wide enough for a usual path in the path box; the title is fitted before each showing.
    setMinimumSize(QSize(360, 300));
    CenterOnDesktop(this);
    WindowGeometry::keepDialog(*this, QStringLiteral("FolderChooser"));
    ui->NewDirList1->installEventFilter(this);
    fillDrives();
    connect(ui->NewDirList1, &QListWidget::itemActivated, this, &FolderChooser::entryActivated);
    connect(ui->NewDriveBox1, &QComboBox::activated, this, &FolderChooser::driveChosen);
    connect(ui->btnOK, &QPushButton::clicked, this, &FolderChooser::btnOKClick);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    new HelpKeyFilter(this, [this] { main_.showHelp(); });
}

FolderChooser::~FolderChooser() = default;

void FolderChooser::setMessage(const QString& text) {
    ui->lblMessage->setText(text);
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
    return ui->txtPath->text();
}

void FolderChooser::setPath(const QString& text) {
    ui->txtPath->setText(text);
}

void FolderChooser::setCurrentFolder(const QString& folder) {
    currentFolder_ = existingFolder(folder);
    std::vector<std::string> roots;
    for (int i = 0; i < ui->NewDriveBox1->count(); ++i)
        roots.push_back(fromQ(ui->NewDriveBox1->itemText(i)));
    const QString root = toQ(MountRootOf(fromQ(currentFolder_), roots));
    rootFolders_[root] = currentFolder_;
    ui->NewDriveBox1->setCurrentIndex(ui->NewDriveBox1->findText(root));
    fillList();
    newDirList1Change();
}

QStringList FolderChooser::listedFolders() const {
    QStringList folders;
    for (int i = 0; i < ui->NewDirList1->count(); ++i)
        folders << ui->NewDirList1->item(i)->data(Qt::UserRole).toString();
    return folders;
}

void FolderChooser::fillList() {
    ui->NewDirList1->clear();
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const std::string& folder : FolderChain(fromQ(currentFolder_))) {
        const QString path = toQ(folder);
        const QString name = path == QStringLiteral("/") ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name);
        item->setData(Qt::UserRole, path);
        ui->NewDirList1->addItem(item);
        current = item;
        ++depth;
    }
    const QStringList children =
        QDir(currentFolder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& child : children) {
        auto* item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + child);
        item->setData(Qt::UserRole, toQ(JoinPath(fromQ(currentFolder_), fromQ(child))));
        ui->NewDirList1->addItem(item);
    }
    ui->NewDirList1->setCurrentItem(current);
}

void FolderChooser::fillDrives() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    roots.sort();
    ui->NewDriveBox1->clear();
    ui->NewDriveBox1->addItems(roots);
}

void FolderChooser::entryActivated(QListWidgetItem* item) {
    if (item)
        setCurrentFolder(item->data(Qt::UserRole).toString());
}

void FolderChooser::driveChosen(int index) {
    const QString root = ui->NewDriveBox1->itemText(index);
    setCurrentFolder(rootFolders_.value(root, root));
}

void FolderChooser::newDirList1Change() {
    ui->txtPath->setText(currentFolder_);
}

void FolderChooser::btnOKClick() {
    accepted_ = true;
    ui->txtPath->setText(
        toQ(ResolveChooserPath(fromQ(ui->txtPath->text()), fromQ(currentFolder_))));
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
    ui->txtPath->setText(toQ(ChooserPathText(fromQ(base), fromQ(proposedName_))));
    ui->txtPath->selectAll();
    ui->txtPath->setFocus();
    accepted_ = false;
}

bool FolderChooser::eventFilter(QObject* watched, QEvent* event) {
    // Enter on an entry opens that folder; it must not also reach the dialog's OK button.
    if (watched == ui->NewDirList1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            entryActivated(ui->NewDirList1->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qloom::gui
