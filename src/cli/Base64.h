#pragma once

#include <string>
#include <string_view>

namespace qloom::cli {

// Standard alphabet with "=" padding.
std::string EncodeBase64(std::string_view bytes);
// Strict: length a multiple of four, padding only at the end, no blanks. False on anything else.
bool DecodeBase64(std::string_view text, std::string& out);

// Well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

} // namespace qloom::cli
