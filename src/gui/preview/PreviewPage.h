#pragma once

#include <QWebEnginePage>

class QWebEngineProfile;

namespace qloom::gui {

// The preview's web page. A user's page must never block the editor with its own dialogs, and
// its title commands must all arrive: the browser drops a title equal to the current one, so a
// script injected before the page's own scripts sends the bare command prefix (which the editor
// ignores) ahead of every command title. The page's own scripts still set exactly what they set.
class PreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    PreviewPage(QWebEngineProfile* profile, QObject* parent);

    // The injected title-channel script (exposed for tests).
    static QString titleChannelScript();

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;
};

} // namespace qloom::gui
