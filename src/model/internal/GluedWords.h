#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qloom {

// A line break in caption or menu HTML that the page will not show as a space.
//
// The script carries each HTML text as one JavaScript string, and a typed line break becomes a
// line continuation inside it: the break simply vanishes. In HTML a line break is white space,
// so "Start page<CR><LF>News" reads as two words in the box and as "Start pageNews" on the page.
struct GluedBreak {
    size_t offset = 0;      // byte offset of the break (of its first CR or LF)
    bool insideTag = false; // the break joins two parts of a tag: a name, an attribute, a value
    std::string before;     // the end of the word before the break (a few characters)
    std::string after;      // the start of the word after it
};

// Finds the breaks (a run of CR and LF counts as one) whose removal joins two visible
// characters. Formatting tags such as B, FONT or A and comments between the break and a word
// do not separate it (they draw nothing); a BR, a block, a picture or any other tag does, and
// so do blanks and &nbsp;. A hyphen before the break, an opening bracket before it or closing
// punctuation after it joins nothing a reader would mind. Inside a tag, a break between two
// name or value characters is reported; before or after "=", a quote or the tag's ends it is
// not. Breaks inside comments, scripts and style sheets are ignored.
std::vector<GluedBreak> FindGluedBreaks(std::string_view html);

} // namespace qloom
