# Called by qloom_embed_text at build time: writes a C++ source holding the bytes of IN.
set(src "${IN}")
if(STRIP)
    # Whole-line comments only, so nothing inside a statement or a string is touched; then the
    # indentation, which a visitor's browser does not need (no text continues a string across lines).
    file(READ "${IN}" text)
    string(REGEX REPLACE "\n[ \t]*//[^\n]*" "" text "${text}")
    string(REGEX REPLACE "\n[ \t]+" "\n" text "${text}")
    set(src "${OUT}.stripped")
    file(WRITE "${src}" "${text}")
endif()
file(READ "${src}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}.tmp"
"// Generated from ${IN}; do not edit.\n#include <string_view>\n\nnamespace qloom::embedded {\nnamespace {\nconst char data[] = {\n${bytes}'\\0'};\n}\nextern const std::string_view ${SYMBOL};\nconst std::string_view ${SYMBOL}(data, ${size});\n} // namespace qloom::embedded\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp" "${OUT}.stripped")
