#include "gui/preview/PreviewWindow.h"

#include "gui/common/ProjectSessionApi.h"
#include "gui/common/Prompter.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/preview/internal/PreviewLocation.h"
#include "gui/preview/internal/PreviewPage.h"
#include "gui/preview/internal/PreviewRequestGuard.h"
#include "gui/preview/internal/RendererWatch.h"
#include "model/Messages.h"

#include <QApplication>
#include <QChildEvent>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <optional>

namespace qloom::gui {
namespace {

constexpr const char* kFlagsVariable = "QTWEBENGINE_CHROMIUM_FLAGS";
// The preview needs no network at all, only local files, so the engine is cut off below the
// page, where a channel nobody has thought of is closed too. The request interceptor sees URL
// requests only; WebRTC (ICE over UDP and TCP, STUN, TURN, TURNS, mDNS), WebTransport and QUIC
// go past it. So:
// - every host name fails to resolve, whoever asks (the lookup itself can carry data);
// - every connection the engine makes through its socket layer goes to a proxy that cannot be
//   reached, loopback included (Chromium bypasses the proxy for loopback unless told not to);
// - WebRTC may use no UDP that does not go through that proxy, and publishes no mDNS names;
// - QUIC and WebTransport are off; a shared worker's requests would bypass the interceptor.
// These switches reach only this program's own web engine: the system browser that opens a
// web link is another program and keeps its network.
constexpr const char* kPreviewFlags[] = {
    "--disable-shared-workers",
    "--force-webrtc-ip-handling-policy=disable_non_proxied_udp",
    "--host-resolver-rules=\"MAP * ~NOTFOUND\"",
    "--proxy-server=http://127.0.0.1:1",
    "--proxy-bypass-list=<-loopback>",
    "--disable-quic",
    "--disable-background-networking",
    "--disable-features=WebRtcHideLocalIpsWithMdns",
    "--disable-blink-features=WebTransport",
};
// What the variable held before prepareProcess(), to be put back once the browser has started.
std::optional<QByteArray> gFlagsBefore;
bool gFlagsPrepared = false;

void RestoreFlags() {
    if (!gFlagsPrepared)
        return;
    gFlagsPrepared = false;
    if (gFlagsBefore)
        qputenv(kFlagsVariable, *gFlagsBefore);
    else
        qunsetenv(kFlagsVariable);
}

// A key or button the user pressed this long ago still counts as the cause of a navigation.
constexpr qint64 kUserActionMs = 1000;

std::string EncodedUrl(const QUrl& url) {
    return fromQ(url.toString(QUrl::FullyEncoded));
}

void LockDown(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    settings->setAttribute(S::LocalContentCanAccessRemoteUrls, false);
    // Local content keeps reading local files: the interceptor decides which.
    settings->setAttribute(S::JavascriptCanOpenWindows, false);
    settings->setAttribute(S::PdfViewerEnabled, false);
    settings->setAttribute(S::PluginsEnabled, false);
    settings->setAttribute(S::JavascriptCanAccessClipboard, false);
    settings->setAttribute(S::JavascriptCanPaste, false);
    settings->setAttribute(S::ScreenCaptureEnabled, false);
    settings->setAttribute(S::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(S::AllowWindowActivationFromJavaScript, false);
    settings->setAttribute(S::AllowGeolocationOnInsecureOrigins, false);
    // A file dropped on the view would otherwise replace the page, wherever it lies.
    settings->setAttribute(S::NavigateOnDropEnabled, false);
    settings->setUnknownUrlSchemePolicy(S::DisallowUnknownUrlSchemes);
}

} // namespace

void PreviewWindow::prepareProcess() {
    if (gFlagsPrepared)
        return;
    const bool wasSet = qEnvironmentVariableIsSet(kFlagsVariable);
    const QByteArray before = qgetenv(kFlagsVariable);
    QByteArray flags = before;
    for (const char* flag : kPreviewFlags) {
        if (!flags.contains(QByteArray(flag)))
            flags += (flags.isEmpty() ? "" : " ") + QByteArray(flag);
    }
    gFlagsBefore = wasSet ? std::optional<QByteArray>(before) : std::nullopt;
    gFlagsPrepared = true;
    qputenv(kFlagsVariable, flags);
}

PreviewWindow::PreviewWindow(ProjectSessionApi& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), profile_(nullptr), guard_(nullptr),
      page_(nullptr), watch_(nullptr), scroll_(new QScrollArea(this)), view_(new QWebEngineView),
      back_(new QPushButton(this)), widthBox_(new QComboBox(this)) {
    // Also for programs that did not call it: the browser may not have started yet.
    prepareProcess();
    profile_ = new QWebEngineProfile(this); // off the record; starts the browser if needed
    RestoreFlags();
    setObjectName(QStringLiteral("previewWindow"));
    setWindowTitle(uiText(msg::kPreviewCaption));
    // The main window decides when the program ends; an open preview must not keep it alive.
    setAttribute(Qt::WA_QuitOnClose, false);

    guard_ = new PreviewRequestGuard(this);
    setUpProfile(profile_);
    page_ = new PreviewPage(
        profile_, *guard_, [this] { return userActedRecently(); }, view_);
    LockDown(page_->settings());
    view_->setPage(page_);
    view_->installEventFilter(this);
    for (QWidget* child : view_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->installEventFilter(this);
    watch_ = new RendererWatch(page_, this);
    connectPage();
    view_->setObjectName(QStringLiteral("webView"));
    view_->setAccessibleName(uiText(msg::kPreviewPageName));
    view_->setFixedSize(kPageWidth, kPageHeight);

    scroll_->setObjectName(QStringLiteral("scrollPreview"));
    scroll_->setWidgetResizable(false);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidget(view_);

    // The width selector: the page is laid out at a phone's or tablet's width by giving the
    // view that width, so the runtime's small-screen media query answers as on the device.
    widthBox_->setObjectName(QStringLiteral("pageWidthBox"));
    widthBox_->setAccessibleName(tr("Page width"));
    widthBox_->setToolTip(tr("Lay the page out at this width in CSS pixels"));
    for (const int width : kPageWidths)
        widthBox_->addItem(width == 0 ? tr("Full") : tr("%1 px").arg(width), width);
    auto* widthLabel = new QLabel(tr("&Width:"), this);
    widthLabel->setBuddy(widthBox_);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(widthLabel);
    bar->addWidget(widthBox_);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    connect(widthBox_, &QComboBox::currentIndexChanged, this,
            [this](int index) { setPageWidth(widthBox_->itemData(index).toInt()); });

    back_->setObjectName(QStringLiteral("backToPreviewButton"));
    back_->setText(uiText(msg::kBackToPreview));
    back_->setGeometry(4, 3, 147, 29);
    back_->hide();
    back_->raise();

    connect(back_, &QPushButton::clicked, this, &PreviewWindow::backToPreviewClicked);
    connect(view_, &QWebEngineView::titleChanged, this, &PreviewWindow::onPageTitleChanged);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &PreviewWindow::clipboardChanged);
    connect(watch_, &RendererWatch::notAnswering, this,
            [this] { Q_EMIT pageNote(uiText(msg::kPreviewNotAnswering)); });
    connect(watch_, &RendererWatch::tooMuchMemory, this, [this](quint64 ceiling) {
        Q_EMIT pageNote(
            toQ(msg::Format(msg::kPreviewTooMuchMemory, std::to_string(ceiling / (1024 * 1024)))));
    });
    // Blank until the user asks again: reloading would only crash it once more.
    connect(watch_, &RendererWatch::keepsCrashing, this, [this] {
        Q_EMIT pageNote(uiText(msg::kPreviewKeepsCrashing));
        view_->load(QUrl(QStringLiteral("about:blank")));
    });

    setOuterSize(QSize(kOuterWidth, kOuterHeight));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void PreviewWindow::setPageWidth(int cssPixels) {
    const int index = widthBox_->findData(cssPixels);
    if (index < 0)
        return;
    widthBox_->setCurrentIndex(index);
    if (pageWidth_ == cssPixels)
        return;
    pageWidth_ = cssPixels;
    fitView();
    Q_EMIT pageWidthChanged(cssPixels);
}

int PreviewWindow::pageCssWidth() const {
    if (pageWidth_ > 0)
        return pageWidth_;
    const double zoom = view_->zoomFactor();
    return zoom > 0 ? int(view_->width() / zoom) : view_->width();
}

void PreviewWindow::fitView() {
    // The room the scroll area offers without scroll bars; a chosen width that is wider (1280
    // in a small window) scrolls sideways, as a wide page does.
    const QSize room = scroll_->maximumViewportSize();
    // CSS pixels are device-independent pixels times the page's zoom: the width stays the
    // chosen one whatever the zoom or the desktop's scale.
    const double zoom = view_->zoomFactor();
    const int width =
        pageWidth_ > 0 ? int(pageWidth_ * zoom + 0.5) : std::max(kPageWidth, room.width());
    const int sideBar = width > room.width() ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int height = std::max(kPageHeight, room.height() - sideBar);
    if (view_->size() != QSize(width, height))
        view_->setFixedSize(width, height);
}

void PreviewWindow::setOuterSize(const QSize& outer) {
    outerSize_ = outer;
    resize(outer); // corrected for the frame once it is known
    if (outerSizeSet_ && isVisible()) {
        const QSize frame = frameGeometry().size() - size();
        resize(outer - frame);
    }
}

void PreviewWindow::present(bool takeFocus) {
    // Mapping a window normally gives it the focus; this asks the window manager not to.
    setAttribute(Qt::WA_ShowWithoutActivating, !takeFocus);
    if (isMinimized())
        showNormal();
    show();
    raise();
    if (takeFocus)
        activateWindow();
}

void PreviewWindow::setUpProfile(QWebEngineProfile* profile) {
    // A fresh save must always be what the reloaded page shows.
    profile->setHttpCacheType(QWebEngineProfile::NoCache);
    profile->setUrlRequestInterceptor(guard_);
    LockDown(profile->settings());
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
}

void PreviewWindow::connectPage() {
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { loading_ = true; });
    connect(page_, &QWebEnginePage::loadFinished, this, &PreviewWindow::onPageLoadFinished);
    connect(page_, &QWebEnginePage::urlChanged, this, &PreviewWindow::onPageUrlChanged);
    connect(page_, &PreviewPage::remoteLinkFollowed, this, &PreviewWindow::offerRemoteLink);
}

void PreviewWindow::startProject() {
    // A new off-the-record profile: storage (localStorage, IndexedDB, caches, cookies) that no
    // other project's page shares, and a new page, so nothing of the previous project's page
    // (a pending beforeunload, timers, a frame it opened) lives on next to the new project.
    auto* profile = new QWebEngineProfile(this);
    setUpProfile(profile);
    auto* page = new PreviewPage(
        profile, *guard_, [this] { return userActedRecently(); }, view_);
    LockDown(page->settings());
    PreviewPage* oldPage = std::exchange(page_, page);
    QWebEngineProfile* oldProfile = std::exchange(profile_, profile);
    oldPage->disconnect(this);
    view_->setPage(page_);
    connectPage();
    watch_->setPage(page_);
    titlesOpen_ = false;
    loading_ = false;
    previewPending_ = false;
    queuedScripts_.clear();
    // The page must go before the profile it was created with.
    delete oldPage;
    delete oldProfile;
}

void PreviewWindow::onPageUrlChanged(const QUrl& url) {
    // The document of the editor's own latest load carries its token; every other document
    // (one the page navigated to, or the old one before the new load replaced it) does not.
    titlesOpen_ = !loadToken_.isEmpty() &&
                  QUrlQuery(url).queryItemValue(QLatin1String(kLoadTokenName)) == loadToken_;
}

void PreviewWindow::onPageTitleChanged(const QString& title) {
    // Title commands are obeyed only from the current load of the current project.
    if (titlesOpen_)
        Q_EMIT titleChanged(title);
}

PreviewWindow::~PreviewWindow() {
    delete watch_;
    watch_ = nullptr;
    // Detaching the page still reports a title change; nobody must hear it any more.
    blockSignals(true);
    view_->disconnect(this);
    page_->disconnect(this);
    // The page must go before the profile it was created with.
    view_->setPage(nullptr);
    delete page_;
}

void PreviewWindow::setAllowedRoot(const QString& folder) {
    guard_->setRoot(folder);
}

QString PreviewWindow::allowedRoot() const {
    return guard_->root();
}

void PreviewWindow::navigatePreview(const QUrl& url) {
    loading_ = true;
    guard_->setTemplatePage(url);
    // Each load gets a token no page can guess; until the document carrying it is in place,
    // titles (from the document being left) change nothing.
    titlesOpen_ = false;
    loadToken_ = QString::number(QRandomGenerator::system()->generate64(), 36);
    QUrl tokened = url;
    QUrlQuery query(url);
    query.removeAllQueryItems(QLatin1String(kLoadTokenName));
    query.addQueryItem(QLatin1String(kLoadTokenName), loadToken_);
    tokened.setQuery(query);
    // A page stuck in a loop would hold the new load back for good: it is ended first.
    watch_->whenResponsive([this, tokened] { view_->load(tokened); });
    previewPending_ = true;
}

QUrl PreviewWindow::withoutLoadToken(const QUrl& url) {
    QUrlQuery query(url);
    if (!query.hasQueryItem(QLatin1String(kLoadTokenName)))
        return url;
    query.removeAllQueryItems(QLatin1String(kLoadTokenName));
    QUrl plain = url;
    plain.setQuery(query.isEmpty() ? QString() : query.toString(QUrl::FullyEncoded));
    return plain;
}

bool PreviewWindow::userActedRecently() const {
    return lastUserInput_.isValid() && lastUserInput_.elapsed() <= kUserActionMs;
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The page's input widget is a child of the view, replaced after a renderer crash.
        if (watched == view_) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType())
                child->installEventFilter(this);
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut))
            lastCopyKey_.restart();
        lastUserInput_.restart();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        lastUserInput_.restart();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::clipboardChanged() {
    // The engine lets a page's script write the clipboard during a click, whatever its settings
    // say, and a frame the page makes itself escapes the in-page removal. So a write by this
    // program while the page has the focus counts only right after the user's own copy or cut
    // key; any other is undone at once.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard())
        return;
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || (focus != view_ && !view_->isAncestorOf(focus)))
        return;
    if (lastCopyKey_.isValid() && lastCopyKey_.elapsed() <= kUserActionMs)
        return;
    clipboard->clear();
}

void PreviewWindow::offerRemoteLink(const QUrl& url) {
    // One question at a time; the page cannot stack boxes by following links in a loop.
    if (askingAboutLink_)
        return;
    askingAboutLink_ = true;
    // Asked outside the browser's navigation callback.
    QTimer::singleShot(0, this, [this, url] {
        const auto answer = session_.prompter().question(
            this, uiText(msg::kRemoteLinkCaption),
            toQ(msg::Format(msg::kRemoteLinkQuestion, fromQ(url.toString(QUrl::FullyEncoded)))),
            QMessageBox::Question, QMessageBox::No);
        askingAboutLink_ = false;
        if (answer == QMessageBox::Yes)
            QDesktopServices::openUrl(url);
    });
}

void PreviewWindow::runScript(const QString& code) {
    if (loading_) {
        queuedScripts_.append(code);
        return;
    }
    if (view_->url().isEmpty())
        return; // nothing is loaded: there is no page to run it in
    page_->runJavaScript(code);
}

void PreviewWindow::flushScripts() {
    const QStringList scripts = std::exchange(queuedScripts_, {});
    for (const QString& code : scripts)
        page_->runJavaScript(code);
}

void PreviewWindow::onPageLoadFinished(bool ok) {
    // A load cut short by a newer one also reports completion; only the last one counts.
    if (page_->isLoading() || watch_->probing())
        return;
    loading_ = false;
    const QUrl location = withoutLoadToken(view_->url());
    if (previewPending_) {
        previewUrl_ = location;
        back_->hide();
        previewPending_ = false;
    } else if (!StillOnPreviewPage(EncodedUrl(previewUrl_), EncodedUrl(location))) {
        back_->show();
        back_->raise();
        placeBackButton();
    }
    flushScripts();
    Q_EMIT documentCompleted(location, ok);
}

void PreviewWindow::placeBackButton() {
    // The top-left corner of the page area, below the width selector.
    if (!back_->isHidden())
        back_->move(scroll_->geometry().topLeft());
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (outerSizeSet_)
        return;
    outerSizeSet_ = true;
    // The window manager adds its frame only once the window is up; the outer size is what
    // counts, also for the scrolling rules.
    // A size restored from an earlier run is already the window's own and stays.
    if (size() != outerSize_)
        return;
    QTimer::singleShot(0, this, [this] {
        const QSize frame = frameGeometry().size() - size();
        if (size() == outerSize_ && (frame.width() > 0 || frame.height() > 0))
            resize(outerSize_ - frame);
    });
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitView();
    placeBackButton();
}

} // namespace qloom::gui
