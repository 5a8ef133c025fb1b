#include "gui/common/ByteText.h"

#include <cstdint>

namespace qloom {

namespace {

constexpr char16_t kEscapeBase = 0xF700; // U+F780..U+F7FF carry the bytes 0x80..0xFF

// Length of the valid UTF-8 sequence at `at`, or 0 when the byte there does not start one.
size_t validSequence(std::string_view s, size_t at, uint32_t& code) {
    const auto b0 = static_cast<unsigned char>(s[at]);
    size_t len = 0;
    uint32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, min = 0x80, code = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, min = 0x800, code = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, min = 0x10000, code = b0 & 0x07;
    } else {
        return 0;
    }
    if (at + len > s.size())
        return 0;
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[at + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (b & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    // A character that stands for an escaped byte is itself escaped byte by byte, so that it
    // cannot be mistaken for one on the way back.
    if (code >= kEscapeBase + 0x80 && code <= kEscapeBase + 0xFF)
        return 0;
    return len;
}

} // namespace

std::u16string BytesToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += char16_t(b);
            ++i;
            continue;
        }
        uint32_t code = 0;
        const size_t len = validSequence(bytes, i, code);
        if (len == 0) {
            out += char16_t(kEscapeBase + b);
            ++i;
        } else if (code >= 0x10000) {
            code -= 0x10000;
            out += char16_t(0xD800 + (code >> 10));
            out += char16_t(0xDC00 + (code & 0x3FF));
            i += len;
        } else {
            out += char16_t(code);
            i += len;
        }
    }
    return out;
}

std::string Utf16ToBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    auto put = [&out](uint32_t c) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out += char(c - kEscapeBase);
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            put(0x10000 + ((uint32_t(c) - 0xD800) << 10) + (uint32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            put(0xFFFD); // a lone surrogate has no encoding
        } else {
            put(c);
        }
    }
    return out;
}

} // namespace qloom
