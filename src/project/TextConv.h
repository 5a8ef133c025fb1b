#pragma once

// The core keeps texts as bytes in the locale's 8-bit encoding; the windows work with QString.
// These two functions are the only place where one becomes the other.

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace qloom::gui {

inline QString toQ(std::string_view bytes) {
    return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}

inline std::string fromQ(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

} // namespace qloom::gui
