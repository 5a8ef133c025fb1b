# Checks that every source file under SRC includes only headers of its own layer or the layers
# below it, and that the core includes no Qt header:
#
#   model <- script <- cli                        (the core, no Qt)
#   model, script <- gui/common <- gui/editor, gui/preview <- gui/shell <- app
#
# Editor and preview do not include each other. CMake links circular static libraries without a
# word, so the includes are what shows a back-edge.
#
# Each layer keeps the headers nobody else needs in its own `internal/` folder
# (gui/shell/internal/SaveGuard.h): only files of that layer include them, so what a layer offers
# the layers above it is what stands in its folder itself.
#
# The project session's interface (gui/common/ProjectSessionApi.h) is declared below the shell so
# that editor and preview can use it, but only the shell may implement it: a class deriving from
# it anywhere else would be a second owner of the project, and the include rule cannot see that.
#
#   cmake -DSRC=<src folder> [-DEXPECT=<n>] -P CheckLayers.cmake
# Without EXPECT any violation fails; with EXPECT exactly that many must be found (used to prove
# the check catches planted back-edges).

cmake_minimum_required(VERSION 3.25)

if(NOT SRC)
    message(FATAL_ERROR "SRC is not set")
endif()

get_filename_component(SRC "${SRC}" ABSOLUTE)

set(allowed_model model)
set(allowed_script model script)
set(allowed_cli model script cli)
set(allowed_gui_common model script gui/common)
set(allowed_gui_editor model script gui/common gui/editor)
set(allowed_gui_preview model script gui/common gui/preview)
set(allowed_gui_shell model script gui/common gui/editor gui/preview gui/shell)
set(allowed_app model script gui/common gui/editor gui/preview gui/shell app)
set(qt_free model script cli)
set(layers model script cli gui/common gui/editor gui/preview gui/shell app)

# The layer of a path under src/: the longest known folder it sits in ("" for none).
function(layer_of path out)
    set(found "")
    foreach(candidate ${layers})
        string(FIND "${path}" "${candidate}/" at)
        if(at EQUAL 0)
            set(found ${candidate})
        endif()
    endforeach()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(violations 0)
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp ${SRC}/*.ui)
set(session_implementers gui/shell)
foreach(file ${files})
    layer_of("${file}" layer)
    if(layer STREQUAL "")
        message(NOTICE "${file}: not inside a known layer folder")
        math(EXPR violations "${violations} + 1")
        continue()
    endif()
    if(NOT layer IN_LIST session_implementers)
        file(STRINGS ${SRC}/${file} derived
            REGEX "((public|protected|private)[ \t]+(virtual[ \t]+)?|(class|struct)[^;(]*:[ \t]*)(qloom::gui::)?ProjectSessionApi([^A-Za-z0-9_:]|$)")
        if(derived)
            message(NOTICE "${file}: layer ${layer} implements ProjectSessionApi, which only the "
                "shell's session may")
            math(EXPR violations "${violations} + 1")
        endif()
    endif()
    string(REPLACE "/" "_" key ${layer})
    # Forms name the headers of their custom widgets; uic turns them into includes.
    file(STRINGS ${SRC}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]|<header>")
    list(TRANSFORM includes REPLACE ".*<header>([^<]+)</header>.*" "#include \"\\1\"")
    foreach(line ${includes})
        if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
            set(header ${CMAKE_MATCH_1})
            # Generated files: forms compiled by uic and moc output.
            if(header MATCHES "^ui_[A-Za-z0-9_]+\\.h$" OR header MATCHES "\\.moc$")
                continue()
            endif()
            layer_of("${header}" target_layer)
            if(target_layer STREQUAL "")
                message(NOTICE
                    "${file}: \"${header}\" is not named from src/ (write \"<layer>/<file>.h\")")
                math(EXPR violations "${violations} + 1")
            elseif(header MATCHES "/internal/" AND NOT target_layer STREQUAL layer)
                message(NOTICE
                    "${file}: layer ${layer} includes \"${header}\", private to ${target_layer}")
                math(EXPR violations "${violations} + 1")
            elseif(NOT target_layer IN_LIST allowed_${key})
                message(NOTICE
                    "${file}: layer ${layer} includes \"${header}\" of layer ${target_layer}, "
                    "which is not below it")
                math(EXPR violations "${violations} + 1")
            endif()
        elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
            if(layer IN_LIST qt_free)
                message(NOTICE "${file}: the core includes the Qt header <${CMAKE_MATCH_1}>")
                math(EXPR violations "${violations} + 1")
            endif()
        endif()
    endforeach()
endforeach()

if(DEFINED EXPECT)
    if(NOT violations EQUAL EXPECT)
        message(FATAL_ERROR "expected ${EXPECT} violations, found ${violations}")
    endif()
    message(STATUS "found the ${EXPECT} planted violations")
elseif(violations GREATER 0)
    message(FATAL_ERROR "${violations} include(s) break the layering")
else()
    list(LENGTH files count)
    message(STATUS "${count} files follow the layering")
endif()
