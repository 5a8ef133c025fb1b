#include "gui/common/HelpWindow.h"

#include "gui/common/DesktopShell.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace qloom::gui {

namespace {
// Room for the pages' text at a comfortable line length; smaller screens get most of theirs.
constexpr QSize kPreferredSize(760, 620);

bool isHelpPage(const QUrl& url) {
    if (!url.isLocalFile() && !url.isRelative())
        return false;
    const QString suffix = QFileInfo(url.path()).suffix().toLower();
    return suffix == QLatin1String("htm") || suffix == QLatin1String("html") ||
           url.path().isEmpty();
}

QToolButton* navigationButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& text,
                              const QKeySequence& keys) {
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setShortcut(keys);
    button->setToolTip(text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) +
                       QLatin1Char(')'));
    return button;
}
} // namespace

HelpWindow::HelpWindow(QWidget* home)
    : QWidget(home, Qt::Window), homeWindow_(home), owner_(home), browser_(new QTextBrowser(this)) {
    setWindowTitle(tr("qLoom Help"));
    setObjectName(QStringLiteral("helpWindow"));
    back_ = navigationButton(this, QStyle::SP_ArrowBack, tr("Back"), QKeySequence::Back);
    forward_ =
        navigationButton(this, QStyle::SP_ArrowForward, tr("Forward"), QKeySequence::Forward);
    home_ = navigationButton(this, QStyle::SP_DirHomeIcon, tr("Contents"),
                             QKeySequence(Qt::ALT | Qt::Key_Home));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setAccessibleName(tr("Help page"));
    // Every link is decided here: pages stay in the window, everything else leaves it.
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, this, &HelpWindow::goHome);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        // Each page's title names the help and the page ("qLoom Help - Menus").
        setWindowTitle(title.isEmpty() ? tr("qLoom Help") : title);
    });
    connect(new QShortcut(QKeySequence::Close, this), &QShortcut::activated, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

void HelpWindow::showPage(const QString& page) {
    attachTo(currentOwner());
    if (index_ != page || browser_->source().isEmpty()) {
        index_ = page;
        goHome();
    }
    placeFirstTime();
    show();
    raise();
    activateWindow();
}

void HelpWindow::goHome() {
    if (QFileInfo(index_).isFile()) {
        browser_->setSource(QUrl::fromLocalFile(index_));
        return;
    }
    // Said in the window itself: a help request that shows nothing looks like a dead key.
    browser_->setSource(QUrl());
    browser_->setPlainText(
        tr("The help pages are not installed where qLoom looks for them:\n\n%1").arg(index_));
}

void HelpWindow::followLink(const QUrl& url) {
    if (isHelpPage(url)) {
        browser_->setSource(browser_->source().resolved(url));
        return;
    }
    const QUrl target = url.isRelative() ? browser_->source().resolved(url) : url;
    if (target.isLocalFile())
        DesktopShell::open(target.toLocalFile());
    else
        DesktopShell::openUrl(target);
}

QWidget* HelpWindow::currentOwner() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    const auto usable = [this](QWidget* window) {
        return window && window != this && window->isVisible() && window->isEnabled();
    };
    QWidget* active = QApplication::activeWindow();
    if (usable(active))
        return active;
    if (homeWindow_->isEnabled())
        return homeWindow_;
    // The main window waits behind a dialog that is not modal (the start dialog holds it
    // disabled): the dialog the user sees.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (usable(window) && window->windowType() == Qt::Dialog)
            return window;
    }
    return homeWindow_;
}

void HelpWindow::attachTo(QWidget* owner) {
    if (owner == parentWidget())
        return;
    if (owner_)
        owner_->removeEventFilter(this);
    const bool wasVisible = !isHidden();
    const QRect frame = geometry();
    setParent(owner, windowFlags());
    if (placed_)
        setGeometry(frame);
    owner_ = owner;
    if (owner != homeWindow_)
        owner->installEventFilter(this);
    if (wasVisible)
        show();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    // The dialog the window was lent to goes away: the window goes back to the main window
    // instead of vanishing with the dialog (or being deleted with it).
    if (watched == owner_ && event->type() == QEvent::Hide && !isHidden())
        attachTo(homeWindow_);
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::placeFirstTime() {
    if (placed_)
        return;
    placed_ = true;
    QScreen* screen = homeWindow_->screen() ? homeWindow_->screen() : QApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size =
        kPreferredSize.boundedTo(QSize(available.width() * 9 / 10, available.height() * 9 / 10));
    QRect frame(QPoint(), size);
    frame.moveCenter(available.center());
    setGeometry(frame);
}

} // namespace qloom::gui
