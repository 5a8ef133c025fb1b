#include "gui/common/UserSettings.h"

#include <QSettings>
#include <QUrl>

namespace qloom::gui {

std::unique_ptr<QSettings> UserSettings::open() {
    return std::make_unique<QSettings>(QStringLiteral("Norvex"), QStringLiteral("qLoom"));
}

QString UserSettings::siteFolderKey(const QString& projectFolder) {
    // Escaped whole, so the folder's slashes do not become nested groups.
    return QStringLiteral("SiteFolder/") +
           QString::fromLatin1(QUrl::toPercentEncoding(projectFolder));
}

QVariant UserSettings::value(const QString& key) {
    return open()->value(key);
}

bool UserSettings::setValue(const QString& key, const QVariant& value, QString* fileName) {
    const auto settings = open();
    settings->setValue(key, value);
    settings->sync();
    if (settings->status() == QSettings::NoError)
        return true;
    if (fileName)
        *fileName = settings->fileName();
    return false;
}

} // namespace qloom::gui
