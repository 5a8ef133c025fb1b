# qloom_embed_text(<target> <symbol> <file> [STRIP_COMMENTS] [VERSION <text>])
# Compiles <file> into <target> as `extern const std::string_view <symbol>` (namespace qloom::embedded),
# regenerated whenever the file changes. The bytes are kept exactly as they are in the file, except
# that STRIP_COMMENTS drops every line whose first non-blank characters are "//" and the indentation
# of every line (the script a visitor downloads need not carry the source's explanations or layout)
# and VERSION replaces every "@QLOOM_VERSION@" by <text> (the program's version, given once in
# project()).
set(QLOOM_EMBED_WORKER "${CMAKE_CURRENT_LIST_DIR}/EmbedTextWorker.cmake")

function(qloom_embed_text target symbol file)
    cmake_parse_arguments(PARSE_ARGV 3 EMBED "STRIP_COMMENTS" "VERSION" "")
    set(strip 0)
    if(EMBED_STRIP_COMMENTS)
        set(strip 1)
    endif()
    get_filename_component(abs "${file}" ABSOLUTE)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp")
    add_custom_command(
        OUTPUT "${out}"
        COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DSYMBOL=${symbol} -DSTRIP=${strip} -DVERSION=${EMBED_VERSION} -P "${QLOOM_EMBED_WORKER}"
        DEPENDS "${abs}" "${QLOOM_EMBED_WORKER}"
        COMMENT "Embedding ${file}"
        VERBATIM)
    target_sources(${target} PRIVATE "${out}")
endfunction()
