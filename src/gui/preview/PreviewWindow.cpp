#include "gui/preview/PreviewWindow.h"

#include "gui/common/TextConv.h"
#include "gui/preview/PreviewLocation.h"
#include "gui/preview/PreviewPage.h"
#include "model/Messages.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace qloom::gui {
namespace {

std::string EncodedUrl(const QUrl& url) {
    return fromQ(url.toString(QUrl::FullyEncoded));
}

} // namespace

PreviewWindow::PreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), profile_(new QWebEngineProfile(this)), page_(nullptr),
      scroll_(new QScrollArea(this)), view_(new QWebEngineView), back_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(toQ(msg::kPreviewCaption));
    // The main window decides when the program ends; an open preview must not keep it alive.
    setAttribute(Qt::WA_QuitOnClose, false);

    // A fresh save must always be what the reloaded page shows.
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    page_ = new PreviewPage(profile_, view_);
    view_->setPage(page_);
    view_->setObjectName(QStringLiteral("webBrowser1"));
    view_->setAccessibleName(toQ(msg::kPreviewPageName));
    view_->setFixedSize(kPageWidth, kPageHeight);

    scroll_->setObjectName(QStringLiteral("scrollPreview"));
    scroll_->setWidgetResizable(false);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidget(view_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);

    back_->setObjectName(QStringLiteral("btnBackToPreview"));
    back_->setText(toQ(msg::kBackToPreview));
    back_->setGeometry(4, 3, 147, 29);
    back_->hide();
    back_->raise();

    connect(back_, &QPushButton::clicked, this, &PreviewWindow::backToPreviewClicked);
    connect(view_, &QWebEngineView::titleChanged, this, &PreviewWindow::titleChanged);
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { loading_ = true; });
    connect(page_, &QWebEnginePage::loadFinished, this,
            &PreviewWindow::webBrowser1DocumentComplete);
    // A crashed renderer would leave a blank preview until the next update.
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    view_->reload();
            });

    resize(kOuterWidth, kOuterHeight); // corrected for the frame once it is known
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

PreviewWindow::~PreviewWindow() {
    // Detaching the page still reports a title change; nobody must hear it any more.
    blockSignals(true);
    view_->disconnect(this);
    page_->disconnect(this);
    // The page must go before the profile it was created with.
    view_->setPage(nullptr);
    delete page_;
}

void PreviewWindow::navigatePreview(const QUrl& url) {
    loading_ = true;
    view_->load(url);
    previewPending_ = true;
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

void PreviewWindow::webBrowser1DocumentComplete(bool ok) {
    // A load cut short by a newer one also reports completion; only the last one counts.
    if (page_->isLoading())
        return;
    loading_ = false;
    const QUrl location = view_->url();
    if (previewPending_) {
        previewUrl_ = location;
        back_->hide();
        previewPending_ = false;
    } else if (!StillOnPreviewPage(EncodedUrl(previewUrl_), EncodedUrl(location))) {
        back_->show();
        back_->raise();
        formConstrainedResize();
    }
    flushScripts();
    Q_EMIT documentCompleted(location, ok);
}

void PreviewWindow::formConstrainedResize() {
    if (!back_->isHidden())
        back_->move(0, 0);
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
    QTimer::singleShot(0, this, [this] {
        const QSize frame = frameGeometry().size() - size();
        if (frame.width() > 0 || frame.height() > 0)
            resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
    });
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    formConstrainedResize();
}

} // namespace qloom::gui
