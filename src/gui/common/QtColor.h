#pragma once

#include "model/ProjectSettings.h"

#include <QColor>
#include <QColorDialog>
#include <functional>
#include <optional>

namespace qloom::gui {

// Colour values keep red in the low byte; QColor is built from its parts.
inline QColor ToQColor(ColorValue value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline ColorValue FromQColor(const QColor& color) {
    return ColorValue(color.red()) | (ColorValue(color.green()) << 8) |
           (ColorValue(color.blue()) << 16);
}

// Asks for a colour starting from `initial`; nothing when the user cancels. Windows that ask for
// colours hold one, so tests can answer in place of the platform dialog.
using ColorPicker = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

// The toolkit's colour dialog preset to `initial`; nothing when the user cancels.
inline std::optional<QColor> PickPlatformColor(const QColor& initial, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace qloom::gui
