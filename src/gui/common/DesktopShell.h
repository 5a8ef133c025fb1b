#pragma once

// Hands local files and folders to the desktop (help page in the browser, project folder in the
// file manager). Tests install a recorder instead, so no real program is started.

#include <QString>
#include <functional>

namespace qloom::gui {

class DesktopShell {
public:
    using Opener = std::function<void(const QString& localPath)>;

    // Opens a local file or folder with the desktop's default handler; the result is ignored.
    static void open(const QString& localPath);
    // Replaces the desktop handler (an empty function restores it).
    static void setOpener(Opener opener);
};

} // namespace qloom::gui
