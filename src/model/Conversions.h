#pragma once

#include "model/ProjectSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qloom {

// The value of one hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// "#RRGGBB" with upper-case digits; bits 24-31 are ignored.
std::string ColorToHtml(ColorValue value);

// Reads "#RRGGBB" (first character not examined, digits in either case, characters after the
// seventh ignored). Returns false and leaves `out` untouched when the text is shorter than seven
// characters or a digit is not hexadecimal.
bool TryHtmlToColor(std::string_view text, ColorValue& out);
// As TryHtmlToColor, but a malformed text gives black (0).
ColorValue HtmlToColor(std::string_view text);

// True for a colour text of a menu's column that is kept as it is: not empty and made only of
// "#", letters, digits, "(", ")", ",", ".", "%" and blanks. Such a text is safe inside the
// script's quoted strings and the page's style rules, and covers "#RRGGBB", "transparent",
// colour names and rgb(...) forms that a hand-edited file may hold.
bool IsKeptColourText(std::string_view text);

// HTML text -> content of a double-quoted script string. Line breaks (CR LF, lone CR, lone LF)
// are first normalised to CR LF, then: \ -> \\, " -> \", CR -> \ CR.
std::string EscapeJsString(std::string_view html);
// The same, appended to `out` without a temporary string.
void AppendJsEscaped(std::string& out, std::string_view html);
// The same, written at `out`; returns the end of what was written. `out` needs room for
// JsEscapedRoom(html.size()) bytes: three per byte at most, and working room for the block-wise
// copy, which may write past the end it returns.
char* WriteJsEscaped(char* out, std::string_view html);
constexpr size_t JsEscapedRoom(size_t htmlSize) {
    return 3 * htmlSize + 16;
}
// The inverse, scanning left to right; an unconsumed double quote ends the string.
std::string UnescapeJsString(std::string_view content);
// The same from `content` up to `end`, written at `out`, which is advanced past what was
// written and needs room for JsUnescapedRoom(end - content) bytes (the block-wise copy may write
// past the end). Returns the position after the double quote that ended the string, or nullptr
// when the content ends first. The script reader unescapes every element this way, in place.
const char* WriteJsUnescaped(const char* content, const char* end, char*& out);
constexpr size_t JsUnescapedRoom(size_t contentSize) {
    return contentSize + 16;
}

// Removes one outer "<nObR>" ... "</nObR>" pair; any other text is returned unchanged. The
// result is a view into `html`.
std::string_view StripNoBreak(std::string_view html);

// Removes \ " ' / : , turns each line break (CR LF, lone CR or LF) into \ CR LF, and falls
// back to `defaultText` when nothing is left.
// The caller trims blanks first.
std::string CleanSettingText(std::string_view text, std::string_view defaultText);

// Trims leading and trailing blanks (spaces and control characters up to 0x20).
std::string TrimBlanks(std::string_view text);
// The same, as a view into `text`.
std::string_view TrimBlanksView(std::string_view text);

// Every line break (CR LF, lone CR, lone LF) becomes CR LF; nothing is added at the end.
std::string NormaliseLineBreaks(std::string_view text);

// True when the texts differ at most in the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Signed 32-bit decimal with optional sign after leading spaces, or "$"/"0x" hexadecimal without
// sign; anything else (including overflow) gives `defaultValue`.
int32_t ParseIntOr(std::string_view text, int32_t defaultValue);
// Same shapes; false when the text does not convert.
bool TryParseInt(std::string_view text, int32_t& out);

// Lower bound first, then upper bound (so lower > upper gives upper).
int32_t ClampInt(int32_t value, int32_t lower, int32_t upper);

} // namespace qloom
