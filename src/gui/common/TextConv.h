#pragma once

// The core keeps texts as bytes (UTF-8 here); the windows work with QString. These two
// functions are the only place where one becomes the other, and they lose no byte: see
// ByteText.h for how bytes that are not UTF-8 travel through a QString.

#include "gui/common/ByteText.h"

#include <QString>
#include <string>
#include <string_view>

namespace qloom::gui {

inline QString toQ(std::string_view bytes) {
    const std::u16string text = BytesToUtf16(bytes);
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

inline std::string fromQ(const QString& text) {
    return Utf16ToBytes(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())));
}

} // namespace qloom::gui
