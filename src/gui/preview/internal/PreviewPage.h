#pragma once

#include <QWebEnginePage>
#include <functional>

class QWebEngineProfile;

namespace qloom::gui {

class PreviewRequestGuard;

// The preview's web page. A user's page must never block the editor with its own dialogs, and
// its title commands must all arrive: the browser drops a title equal to the current one, so a
// script injected before the page's own scripts sends the bare command prefix (which the editor
// ignores) ahead of every command title. The page's own scripts still set exactly what they set.
//
// The top frame stays on local files below the allowed root. A web address the user follows is
// not shown here: it is handed on (remoteLinkFollowed) for the user to open elsewhere. Every
// permission the page asks for is refused at once, and it cannot pick files.
class PreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    // `userActed` tells whether the user pressed a key or a mouse button in the page just now.
    PreviewPage(QWebEngineProfile* profile, const PreviewRequestGuard& guard,
                std::function<bool()> userActed, QObject* parent);

    // The injected title-channel script (exposed for tests).
    static QString titleChannelScript();
    // The script that takes WebRTC, WebTransport and the clipboard away in every frame.
    static QString lockDownScript();
    // The engine's own text of the question it asks before a page with an unload handler goes.
    static QString unloadQuestion();

Q_SIGNALS:
    void remoteLinkFollowed(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    const PreviewRequestGuard& guard_;
    std::function<bool()> userActed_;
};

} // namespace qloom::gui
