#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QComboBox;
class QPushButton;
class QScrollArea;
class QWebEngineProfile;
class QWebEngineView;

namespace qloom::gui {

class PreviewPage;
class PreviewRequestGuard;
class ProjectSessionApi;
class RendererWatch;

// The preview window: a fixed 820 x 620 browser view inside a scrolling area, so the window's
// own scroll bars move over the page (the editing page does not scroll itself). Closing only
// hides it. It records which document the last preview load completed with and offers
// "Back to Preview" once the user has followed a link away from it.
//
// The page runs in a sandbox of its own profile: it reads local files only below the allowed
// root (the project folder or the user's site folder), reaches no network and no other program,
// gets no permission, window, download or PDF viewer, and a page that hangs, keeps crashing or
// swells is ended rather than left to take the editor down.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPageWidth = 820;
    static constexpr int kPageHeight = 620;
    static constexpr int kOuterWidth = 454;
    static constexpr int kOuterHeight = 237;
    // The page widths the author can try, in CSS pixels: desktop sizes, a tablet and phones.
    // 0 is "Full": the desktop layout as wide as the window gives, at least kPageWidth.
    static constexpr int kPageWidths[] = {0, 1280, 1024, 768, 390, 360, 320};

    // Chromium switches the preview's browser processes need. They go into this process's
    // QTWEBENGINE_CHROMIUM_FLAGS before the browser starts (call before QApplication) and are
    // taken out again once the preview's profile exists, so no program the editor starts later
    // inherits them.
    static void prepareProcess();

    // Its questions (a link to a web site) go through the session's prompter.
    explicit PreviewWindow(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // A project was opened or created: the page and its storage start afresh, shared with no
    // other project, and nothing of the previous page survives.
    void startProject();

    // The name of the query item that marks the editor's own loads of the preview page.
    static constexpr const char* kLoadTokenName = "qloom-load";
    // `url` without that item: the address the preview page has for the user.
    static QUrl withoutLoadToken(const QUrl& url);

    // The folder whose files the page may read.
    void setAllowedRoot(const QString& folder);
    QString allowedRoot() const;
    RendererWatch* rendererWatch() const { return watch_; }

    QWebEngineView* webView() const { return view_; }
    QScrollArea* scrollArea() const { return scroll_; }
    QPushButton* backToPreviewButton() const { return back_; }
    QComboBox* pageWidthBox() const { return widthBox_; }

    // The width the page is laid out at, in CSS pixels; 0 for "Full".
    int pageWidth() const { return pageWidth_; }
    // The width the page is laid out at now, in CSS pixels, "Full" included.
    int pageCssWidth() const;
    // Chooses one of kPageWidths (others are ignored).
    void setPageWidth(int cssPixels);

    // Starts loading the preview page and marks the load as the preview's own.
    void navigatePreview(const QUrl& url);
    // Runs `code` in the loaded page; while a load is in flight it waits for that load to end.
    void runScript(const QString& code);

    // Shows the window in front of the others, restored when minimised. With `takeFocus` false
    // the focus stays where the user is working: a refresh after an edit in the main window
    // must not pull the keyboard away from it.
    void present(bool takeFocus);
    // The size the window should have with its frame (the frame is known only once shown).
    void setOuterSize(const QSize& outer);

    bool previewPending() const { return previewPending_; }
    const QUrl& previewUrl() const { return previewUrl_; }
    bool loading() const { return loading_; }

Q_SIGNALS:
    void titleChanged(const QString& title);
    void backToPreviewClicked();
    // After a document completed and the window's own bookkeeping ran.
    void documentCompleted(const QUrl& location, bool ok);
    // A note for the error list (renderer ended, crashes), already in its final words.
    void pageNote(const QString& text);
    // The author chose another page width.
    void pageWidthChanged(int cssPixels);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setUpProfile(QWebEngineProfile* profile);
    void connectPage();
    void onPageUrlChanged(const QUrl& url);
    void onPageTitleChanged(const QString& title);
    void onPageLoadFinished(bool ok);
    void placeBackButton();
    // Sizes the browser view for the chosen width: the page's layout viewport is the view.
    void fitView();
    void flushScripts();
    void offerRemoteLink(const QUrl& url);
    void clipboardChanged();
    bool userActedRecently() const;

    ProjectSessionApi& session_;
    QWebEngineProfile* profile_;
    PreviewRequestGuard* guard_;
    PreviewPage* page_;
    RendererWatch* watch_;
    QScrollArea* scroll_;
    QWebEngineView* view_;
    QPushButton* back_;
    QComboBox* widthBox_;
    int pageWidth_ = 0;
    QUrl previewUrl_;
    bool previewPending_ = false;
    bool loading_ = false;
    bool outerSizeSet_ = false;
    QSize outerSize_;
    QStringList queuedScripts_;
    QElapsedTimer lastUserInput_;
    QElapsedTimer lastCopyKey_;
    bool askingAboutLink_ = false;
    QString loadToken_;
    bool titlesOpen_ = false;
};

} // namespace qloom::gui
