#pragma once

// The per-user settings store (QSettings, organisation "Norvex", application "qLoom") and every
// key the program keeps there, in one place.

#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

namespace qloom::gui {

class UserSettings final {
public:
    // The folder of the project that was active when the program last closed.
    static inline const QString kLastEdited = QStringLiteral("LastEdited");
    // The site folder the preview may read, one per project folder (never in the project file).
    static QString siteFolderKey(const QString& projectFolder);

    // The program's own store.
    static std::unique_ptr<QSettings> open();

    static QVariant value(const QString& key);
    // Writes and flushes `value`; false, with the store's file name in `fileName`, when it could
    // not be written.
    static bool setValue(const QString& key, const QVariant& value, QString* fileName = nullptr);
};

} // namespace qloom::gui
