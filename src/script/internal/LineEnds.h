#pragma once

#include <string>
#include <string_view>

namespace qloom {

// Appends the lines of `text` to `out`, each followed by CR LF. A line ends at CR LF, at a lone
// CR or at a lone LF; a break at the very end closes the last line and adds no empty one, so
// "a\nb\n" and "a\r\nb" both give "a\r\nb\r\n". An empty text adds nothing.
void AppendLinesCrLf(std::string& out, std::string_view text);

// True when every line break of the text is a CR LF pair.
bool HasOnlyCrLfBreaks(std::string_view text);

// The whole text rewritten with CR LF after every line, the last one included.
std::string NormaliseLineEnds(std::string_view text);

} // namespace qloom
