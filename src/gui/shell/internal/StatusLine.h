#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qloom {

// Width in pixels of a text as the status line would draw it.
using TextWidthFn = std::function<int(const std::string& text)>;

// The status line's room for its text, in pixels, at its design font and the window's width.
inline constexpr int kStatusLineLimit = 380;

// "Active Project: " + folder.
std::string StatusLineText(std::string_view folder);

// Shortens `full` around its middle until `width` reports at most `limit` pixels: each pass
// starts again from the full text and replaces a wider gap by "...", never cutting into the
// first 17 characters (the prefix and the folder's first character). Characters are counted as
// UTF-8 sequences, so a cut never splits one. Stops when nothing is left after the dots.
std::string ShortenStatusText(std::string_view full, const TextWidthFn& width,
                              int limit = kStatusLineLimit);

} // namespace qloom
