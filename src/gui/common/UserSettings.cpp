#include "gui/common/UserSettings.h"

#include "gui/common/TextConv.h"
#include "model/Messages.h"

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

Status UserSettings::setValue(const QString& key, const QVariant& value) {
    const auto settings = open();
    settings->setValue(key, value);
    settings->sync();
    if (settings->status() == QSettings::NoError)
        return Status::success();
    const std::string file = fromQ(settings->fileName());
    Status failed = Status::failure(msg::Format(msg::kCannotCreateFile, file));
    failed.file = file;
    return failed;
}

} // namespace qloom::gui
