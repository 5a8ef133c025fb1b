#include "gui/common/UserSettings.h"

#include <QSettings>

namespace qloom::gui {

std::unique_ptr<QSettings> UserSettings::open() {
    return std::make_unique<QSettings>(QStringLiteral("Norvex"), QStringLiteral("qLoom"));
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
