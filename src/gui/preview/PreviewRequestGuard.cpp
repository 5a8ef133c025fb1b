#include "gui/preview/internal/PreviewRequestGuard.h"

#include "gui/common/TextConv.h"
#include "gui/preview/PreviewSandbox.h"

#include <QWebEngineUrlRequestInfo>

namespace qloom::gui {
namespace {

// The raw bytes of a file: URL's path, exactly as the browser decodes them.
std::string PathBytesOf(const QUrl& url) {
    if (!url.isLocalFile())
        return {};
    return FileUrlPathBytes(url.path(QUrl::FullyEncoded).toStdString()).value_or(std::string());
}

} // namespace

PreviewRequestGuard::PreviewRequestGuard(QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent) {}

void PreviewRequestGuard::setRoot(const QString& folder) {
    rootBytes_ = folder.isEmpty() ? std::string() : CanonicalBytes(fromQ(folder));
    root_ = toQ(rootBytes_);
}

void PreviewRequestGuard::setTemplatePage(const QUrl& page) {
    templateBytes_ = PathBytesOf(page);
}

bool PreviewRequestGuard::allowsLocalFile(const QUrl& url) const {
    if (!url.isLocalFile() || rootBytes_.empty())
        return false;
    // A URL with a host ("file://server/x") names no local file.
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return false;
    const std::string path = PathBytesOf(url);
    return !path.empty() && LocalPathAllowed(path, rootBytes_, templateBytes_);
}

bool PreviewRequestGuard::allows(const QUrl& url) const {
    switch (RuleForScheme(url.scheme().toLower().toStdString())) {
    case SchemeRule::Allow:
        return true;
    case SchemeRule::AllowInsideRoot:
        return allowsLocalFile(url);
    case SchemeRule::Block:
        break;
    }
    return false;
}

void PreviewRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!allows(info.requestUrl()))
        info.block(true);
}

} // namespace qloom::gui
