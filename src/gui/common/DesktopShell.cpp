#include "gui/common/DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace qloom::gui {

namespace {
DesktopShell::Opener& opener() {
    static DesktopShell::Opener instance;
    return instance;
}
DesktopShell::UrlOpener& urlOpener() {
    static DesktopShell::UrlOpener instance;
    return instance;
}
} // namespace

void DesktopShell::openUrl(const QUrl& url) {
    if (urlOpener())
        urlOpener()(url);
    else
        QDesktopServices::openUrl(url);
}

void DesktopShell::setUrlOpener(UrlOpener replacement) {
    urlOpener() = std::move(replacement);
}

void DesktopShell::open(const QString& localPath) {
    if (opener())
        opener()(localPath);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(localPath));
}

void DesktopShell::setOpener(Opener replacement) {
    opener() = std::move(replacement);
}

} // namespace qloom::gui
