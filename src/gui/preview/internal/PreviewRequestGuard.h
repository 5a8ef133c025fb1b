#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <string>

namespace qloom::gui {

// Every request of the preview page (documents, scripts, pictures, fetch, XHR, WebSockets)
// passes here. Local files are served only below the allowed root; the URL's path is checked as
// the raw bytes the browser will open, with ".." and every symbolic link resolved to its final
// target. data:, blob: and qrc: pass; everything else is refused. Installed on the preview's own
// profiles only.
//
// The check runs before the browser opens the file, so a link swapped in between is not seen
// (see docs/ARCHITECTURE.md): only what stands at check time is judged.
class PreviewRequestGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    explicit PreviewRequestGuard(QObject* parent = nullptr);

    // The folder whose files the page may read. An empty or missing folder admits no file.
    void setRoot(const QString& folder);
    const QString& root() const { return root_; }
    // The one file that may be requested while it does not exist (the template page, which the
    // browser then reports as missing); empty for none.
    void setTemplatePage(const QUrl& page);

    bool allows(const QUrl& url) const;
    // A local file: URL below the root (the test for main-frame navigations).
    bool allowsLocalFile(const QUrl& url) const;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QString root_;          // canonical, without trailing separator
    std::string rootBytes_; // the same, as the file system's bytes
    std::string templateBytes_;
};

} // namespace qloom::gui
