#pragma once

#include "model/ProjectSettings.h"

#include <QColor>

namespace qloom::gui {

// Colour values keep red in the low byte; QColor is built from its parts.
inline QColor ToQColor(ColorValue value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline ColorValue FromQColor(const QColor& color) {
    return ColorValue(color.red()) | (ColorValue(color.green()) << 8) |
           (ColorValue(color.blue()) << 16);
}

} // namespace qloom::gui
