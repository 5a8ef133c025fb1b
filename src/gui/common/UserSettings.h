#pragma once

// The per-user settings store (QSettings, organisation "Norvex", application "qLoom") and every
// key the program keeps there, in one place.

#include "model/Result.h"

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
    // Writes and flushes `value`. A failure says "Cannot create file" with the store's file.
    [[nodiscard]] static Status setValue(const QString& key, const QVariant& value);
};

} // namespace qloom::gui
