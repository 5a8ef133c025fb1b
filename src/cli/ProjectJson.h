#pragma once

#include "model/Project.h"
#include "model/Result.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace qloom::cli {

// The project as the command-line companion exchanges it:
//   {"settings": {"scrIN", "scrOUT", "cDefCap", "cDefMenu", "fDefCap", "fDefMenu", "fDefCapS",
//                 "fDefMenuS", "template", "smallScreenBreakpoint", "smallScreenPlace",
//                 "smallScreenCaption"},
//    "selectedMenu": n,
//    "menus": [{one key per column of the menu table, named as in the script: "MTC", "MX", ...}]}
// Texts are the table's bytes: valid UTF-8 is a JSON string, anything else an object
// {"base64": "..."} holding the exact bytes.
nlohmann::ordered_json ProjectToJson(const Project& project);

// Reads a document of that shape into `project` (menus and settings; projectFolder is kept).
// Absent fields take the new-project values and, in a menu, those of a first menu; unknown
// fields, wrong types and values outside what the editor allows are refused with a message
// naming the field, and `project` is then left as it was.
Status ProjectFromJson(const nlohmann::json& document, Project& project);
// The same from JSON text; malformed text is refused likewise.
Status ProjectFromJsonText(std::string_view text, Project& project);

nlohmann::ordered_json TextToJson(const std::string& bytes);

} // namespace qloom::cli
