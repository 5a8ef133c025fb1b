#pragma once

// Lossless conversion between the core's byte texts and UTF-16 for the windows.
//
// Valid UTF-8 becomes the characters it encodes. A byte that is not part of valid UTF-8 (a
// project written in a legacy 8-bit code page, a truncated sequence) becomes the private-use
// character U+F700 + byte, and turns back into that same byte on the way out, so opening,
// editing around and saving such a text never replaces it with U+FFFD.

#include <string>
#include <string_view>

namespace qloom {

std::u16string BytesToUtf16(std::string_view bytes);
std::string Utf16ToBytes(std::u16string_view text);

} // namespace qloom
