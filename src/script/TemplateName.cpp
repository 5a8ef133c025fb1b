#include "script/TemplateName.h"

#include "model/Conversions.h"
#include "script/FileIo.h"
#include "script/ScriptSaver.h"

namespace qloom {

std::string CleanTemplateName(std::string_view typed) {
    // A file name has no line breaks. Left in, cleaning would turn one into a line continuation
    // (a backslash before the break), and trimming the break would leave that backslash at the
    // end of the name, where it escapes the script's closing quote.
    std::string oneLine;
    oneLine.reserve(typed.size());
    for (const char c : typed) {
        if (c != '\r' && c != '\n')
            oneLine += c;
    }
    // Trimmed after cleaning too: "page /" must not leave a name ending in a blank.
    return TrimBlanks(CleanSettingText(TrimBlanksView(oneLine), ""));
}

std::string_view ReservedTemplateName(std::string_view name) {
    for (const std::string_view reserved : {kScriptFileName, kReadMeFileName}) {
        if (EqualsIgnoringAsciiCase(name, reserved))
            return reserved;
    }
    return {};
}

bool IsUsableTemplateName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && ReservedTemplateName(name).empty();
}

bool TemplateNameIsFolder(std::string_view projectFolder, std::string_view name) {
    const std::string path = JoinPath(projectFolder, name);
    return EntryExists(path) && !FileExists(path);
}

} // namespace qloom
