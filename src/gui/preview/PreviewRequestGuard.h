#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

namespace qloom::gui {

// Every request of the preview page (documents, scripts, pictures, fetch, XHR, WebSockets)
// passes here. Local files are served only below the allowed root, after ".." and symbolic
// links are resolved; data:, blob: and qrc: pass; everything else is refused. Installed on the
// preview's own profile only.
class PreviewRequestGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    explicit PreviewRequestGuard(QObject* parent = nullptr);

    // The folder whose files the page may read. An empty or missing folder admits no file.
    void setRoot(const QString& folder);
    const QString& root() const { return root_; }

    bool allows(const QUrl& url) const;
    // A local file: URL below the root (the test for main-frame navigations).
    bool allowsLocalFile(const QUrl& url) const;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QString root_; // canonical, without trailing separator
};

} // namespace qloom::gui
