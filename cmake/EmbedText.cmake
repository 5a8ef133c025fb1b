# qloom_embed_text(<target> <symbol> <file>)
# Compiles <file> into <target> as `extern const std::string_view <symbol>` (namespace qloom::embedded),
# regenerated whenever the file changes. The bytes are kept exactly as they are in the file.
set(QLOOM_EMBED_WORKER "${CMAKE_CURRENT_LIST_DIR}/EmbedTextWorker.cmake")

function(qloom_embed_text target symbol file)
    get_filename_component(abs "${file}" ABSOLUTE)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp")
    add_custom_command(
        OUTPUT "${out}"
        COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DSYMBOL=${symbol} -P "${QLOOM_EMBED_WORKER}"
        DEPENDS "${abs}" "${QLOOM_EMBED_WORKER}"
        COMMENT "Embedding ${file}"
        VERBATIM)
    target_sources(${target} PRIVATE "${out}")
endfunction()
