#pragma once

// Hands local files, folders and web addresses to the desktop (project folder in the file
// manager, a help page's web links in the browser). Tests install a recorder instead, so no real
// program is started.

#include <QString>
#include <QUrl>
#include <functional>

namespace qloom::gui {

class DesktopShell {
public:
    using Opener = std::function<void(const QString& localPath)>;
    using UrlOpener = std::function<void(const QUrl& url)>;

    // Opens a local file or folder with the desktop's default handler; the result is ignored.
    static void open(const QString& localPath);
    // Opens an address that is not a local file (a web page, a mail link) in the user's
    // browser or mail program.
    static void openUrl(const QUrl& url);
    // Replace the desktop handlers (an empty function restores one).
    static void setOpener(Opener opener);
    static void setUrlOpener(UrlOpener opener);
};

} // namespace qloom::gui
