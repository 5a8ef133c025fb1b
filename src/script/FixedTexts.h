#pragma once

#include <string_view>

namespace qloom {

// The fixed texts embedded at build time from files beside this header.
std::string_view CommentBlock();    // comment.js: nine lines "/*" ... "*/"
std::string_view RuntimeTemplate(); // runtime/runtime.js: first line empty
std::string_view EditingLayer();    // runtime/editing.js: first line empty, second "/* IDE! */"
std::string_view DefaultPage();     // default.html: the 15-line template page
std::string_view ReadMeText();      // readme.txt: the twelve lines of ReadMe.txt

} // namespace qloom
