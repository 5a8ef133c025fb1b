#include "gui/preview/PreviewRequestGuard.h"

#include "gui/preview/PreviewSandbox.h"

#include <QFileInfo>
#include <QWebEngineUrlRequestInfo>

namespace qloom::gui {
namespace {

// The real place of `path`, after ".." and symbolic links. A missing file (a template not yet
// written, a mistyped picture) resolves through its deepest existing folder, so the browser can
// show its own "not found"; the missing part must then be plain names.
QString ResolvedPath(const QString& path) {
    if (!path.startsWith(QLatin1Char('/')))
        return {};
    QStringList missing;
    QString existing = path;
    while (!QFileInfo::exists(existing)) {
        if (QFileInfo(existing).isSymLink())
            return {}; // a dangling link may yet point anywhere
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            return {};
        const QString name = existing.mid(slash + 1);
        if (name == QLatin1String("..") || name == QLatin1String("."))
            return {};
        if (!name.isEmpty())
            missing.prepend(name);
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
    QString resolved = QFileInfo(existing).canonicalFilePath();
    if (resolved.isEmpty())
        return {};
    for (const QString& name : missing)
        resolved += (resolved.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + name;
    return resolved;
}

} // namespace

PreviewRequestGuard::PreviewRequestGuard(QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent) {}

void PreviewRequestGuard::setRoot(const QString& folder) {
    root_ = folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
}

bool PreviewRequestGuard::allowsLocalFile(const QUrl& url) const {
    if (!url.isLocalFile() || root_.isEmpty())
        return false;
    const QString path = ResolvedPath(url.toLocalFile());
    return !path.isEmpty() && PathInsideRoot(path.toStdString(), root_.toStdString());
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
