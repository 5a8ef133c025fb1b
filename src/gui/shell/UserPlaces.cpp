#include "gui/shell/internal/UserPlaces.h"

#include "gui/common/TextConv.h"
#include "model/Messages.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qloom::gui {

QString UserPlaces::projectsFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // Desktops name a documents folder even where none was ever made (servers, minimal
    // installs); projects then go to the home folder rather than into a folder nobody sees.
    if (base.isEmpty() || !QFileInfo(base).isDir())
        base = QDir::homePath();
    return QDir(base).filePath(toQ(msg::kProjectsFolderName));
}

bool UserPlaces::makeProjectsFolder(const QString& folder) {
    return QFileInfo(folder).isDir() || QDir().mkpath(folder);
}

QString UserPlaces::scriptErrorLogFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(folder);
    return folder + QLatin1Char('/');
}

} // namespace qloom::gui
