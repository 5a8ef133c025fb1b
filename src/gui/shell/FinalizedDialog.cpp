#include "gui/shell/internal/FinalizedDialog.h"

#include "gui/common/DesktopShell.h"
#include "gui/common/DialogPlacement.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/ProjectSessionApi.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/UserSettings.h"
#include "gui/common/WindowGeometry.h"
#include "model/Messages.h"
#include "script/FixedTexts.h"
#include "ui_FinalizedDialog.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace qloom::gui {

namespace {

// Room for every line of `text`: the lines a page needs must show whole, never behind a
// scroll bar.
QSize fullTextSize(const QPlainTextEdit& edit, const QString& text) {
    const QFontMetrics metrics(edit.font());
    const QStringList lines = text.split(QLatin1Char('\n'));
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const int margins = 2 * (edit.frameWidth() + int(std::ceil(edit.document()->documentMargin())));
    // The text layout rounds each line up and keeps room for the cursor: a character's width and
    // one line more than the text need never show a scroll bar.
    return {width + margins + 2 * metrics.horizontalAdvance(QLatin1Char('M')),
            (int(lines.size()) + 1) * metrics.lineSpacing() + margins};
}

} // namespace

FinalizedDialog::FinalizedDialog(ProjectSessionApi& session, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FinalizedDialog>()), session_(session) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    ui->messageLabel->setText(uiText(msg::kFinalizedMessage));
    QString info = toQ(ReadMeText());
    info.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (info.endsWith(QLatin1Char('\n')))
        info.chop(1);
    ui->readMeText->setPlainText(info);
    ui->readMeText->setMinimumSize(fullTextSize(*ui->readMeText, info));
    ui->filesLabel->setTextFormat(Qt::PlainText);
    ui->filesLabel->setText(toQ(msg::kFinalizedFilesHead));
    ui->missingLabel->setTextFormat(Qt::PlainText);
    ui->browseButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    ui->okButton->setFocus();
    adjustSize();
    CenterOnDesktop(this);
    WindowGeometry::keepDialog(*this, QStringLiteral("Finalized"));

    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->browseButton, &QPushButton::clicked, this, &FinalizedDialog::onBrowseClicked);
    connect(ui->copyButton, &QPushButton::clicked, this, &FinalizedDialog::onCopyClicked);
    new HelpKeyFilter(this, [this] { session_.showHelp(); });
}

FinalizedDialog::~FinalizedDialog() = default;

QString FinalizedDialog::infoText() const {
    return ui->readMeText->toPlainText();
}

QListWidget* FinalizedDialog::fileList() const {
    return ui->fileList;
}

void FinalizedDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        refreshFiles();
    QDialog::showEvent(event);
}

void FinalizedDialog::refreshFiles() {
    const Project& project = session_.project();
    const QString site =
        project.settings.projectFolder.empty()
            ? QString()
            : UserSettings::value(UserSettings::siteFolderKey(toQ(project.settings.projectFolder)))
                  .toString();
    files_ = ListSiteFiles(project, fromQ(site));
    ui->fileList->clear();
    // Every row gets an icon of the same size, so that the names stand in one column.
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    ui->fileList->setIconSize(QSize(side, side));
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QPixmap clear(side, side);
    clear.fill(Qt::transparent);
    const QIcon none(clear);
    int missing = 0;
    for (const SiteFile& file : files_) {
        QString text = toQ(file.path);
        if (file.template_)
            text += QStringLiteral(" (") + uiText(msg::kFinalizedTemplate) + QLatin1Char(')');
        auto* item = new QListWidgetItem(none, QString(), ui->fileList);
        if (!file.exists) {
            ++missing;
            text += QStringLiteral(": ") + uiText(msg::kFinalizedMissing);
            item->setIcon(warning);
        }
        item->setText(text);
    }
    ui->missingLabel->setVisible(missing > 0);
    ui->missingLabel->setText(
        uiText(msg::Format(msg::kFinalizedMissingCount, std::to_string(missing))));
}

void FinalizedDialog::onBrowseClicked() {
    DesktopShell::open(toQ(session_.project().settings.projectFolder));
}

void FinalizedDialog::onCopyClicked() {
    QGuiApplication::clipboard()->setText(toQ(msg::kPageScriptLine) + QLatin1Char('\n') +
                                          toQ(msg::kPageStartLine) + QLatin1Char('\n'));
}

} // namespace qloom::gui
