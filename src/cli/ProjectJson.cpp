#include "cli/ProjectJson.h"

#include "cli/Base64.h"
#include "model/Conversions.h"
#include "model/MenuColumns.h"
#include "model/Messages.h"
#include "script/TemplateName.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>

namespace qloom::cli {

namespace {

using Json = nlohmann::json;

// Every number a script can carry. The document takes what a script read back can hold, so
// whatever `dump` prints, `write` writes back; the editor's narrower ranges are its own.
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// A field problem: the first one found ends the conversion.
struct Refusal {
    std::string text;
};

[[noreturn]] void refuse(const std::string& field, std::string_view reason) {
    throw Refusal{field + ": " + std::string(reason)};
}

std::string range(int32_t lower, int32_t upper) {
    return std::to_string(lower) + " to " + std::to_string(upper);
}

int32_t readInteger(const Json& value, const std::string& field, int32_t lower, int32_t upper) {
    int64_t number = 0;
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        number = value.get<int64_t>();
    } else if (value.is_number_unsigned()) {
        const uint64_t big = value.get<uint64_t>();
        number = big > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())
                     ? std::numeric_limits<int64_t>::max()
                     : static_cast<int64_t>(big);
    } else {
        refuse(field, msg::kCliNotInteger);
    }
    if (number < lower || number > upper)
        refuse(field, msg::Format(msg::kCliOutOfRange, range(lower, upper)));
    return static_cast<int32_t>(number);
}

std::string readText(const Json& value, const std::string& field) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_object() && value.size() == 1 && value.contains("base64") &&
        value["base64"].is_string()) {
        std::string bytes;
        if (!DecodeBase64(value["base64"].get<std::string>(), bytes))
            refuse(field, msg::kCliBadBase64);
        return bytes;
    }
    refuse(field, msg::kCliNotText);
}

// A menu's colour is kept exactly as given when the reader would keep it from a script.
std::string readColourText(const Json& value, const std::string& field) {
    if (value.is_string()) {
        std::string text = value.get<std::string>();
        if (IsKeptColourText(text))
            return text;
    }
    refuse(field, msg::kCliNotColour);
}

// Exactly "#RRGGBB": the conversion alone would take a longer text or any first character.
ColorValue readColourValue(const Json& value, const std::string& field) {
    ColorValue colour = 0;
    if (value.is_string()) {
        const std::string text = value.get<std::string>();
        if (text.size() == 7 && text[0] == '#' && TryHtmlToColor(text, colour))
            return colour;
    }
    refuse(field, msg::kCliNotColourValue);
}

// Font names stand unescaped in the script, so only texts that the settings dialog's cleaning
// would leave alone are taken (the reader keeps exactly those).
std::string readFontName(const Json& value, const std::string& field) {
    std::string text = readText(value, field);
    if (text.empty() || CleanSettingText(text, "") != text)
        refuse(field, msg::kCliBadSettingText);
    return text;
}

// The names the settings dialog would accept as they are; `folder` is where the project goes.
std::string readTemplateName(const Json& value, const std::string& field,
                             const std::string& folder) {
    std::string name = readText(value, field);
    if (CleanTemplateName(name) != name || !IsUsableTemplateName(name) ||
        (!folder.empty() && TemplateNameIsFolder(folder, name)))
        refuse(field, msg::kCliBadTemplateName);
    return name;
}

// The small-screen button's caption: one line of text, not empty.
std::string readButtonCaption(const Json& value, const std::string& field) {
    std::string text = readText(value, field);
    if (TrimBlanks(text).empty() || text.find_first_of("\r\n") != std::string::npos)
        refuse(field, msg::kCliBadButtonCaption);
    return text;
}

template <typename Visit>
void forEachField(const Json& object, const std::string& field, Visit visit) {
    if (!object.is_object())
        refuse(field, msg::kCliNotObject);
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string name = field.empty() ? it.key() : field + "." + it.key();
        if (!visit(it.key(), it.value(), name))
            refuse(name, msg::kCliUnknownField);
    }
}

void readSettings(const Json& object, ProjectSettings& s, const std::string& folder) {
    forEachField(object, "settings",
                 [&](const std::string& key, const Json& v, const std::string& name) {
                     if (key == "scrIN")
                         s.closeStep = readInteger(v, name, kMin, kMax);
                     else if (key == "scrOUT")
                         s.openStep = readInteger(v, name, kMin, kMax);
                     else if (key == "cDefCap")
                         s.captionTextColor = readColourValue(v, name);
                     else if (key == "cDefMenu")
                         s.bodyTextColor = readColourValue(v, name);
                     else if (key == "fDefCap")
                         s.captionFont = readFontName(v, name);
                     else if (key == "fDefMenu")
                         s.bodyFont = readFontName(v, name);
                     else if (key == "fDefCapS")
                         s.captionFontSize = readInteger(v, name, kMin, kMax);
                     else if (key == "fDefMenuS")
                         s.bodyFontSize = readInteger(v, name, kMin, kMax);
                     else if (key == "template")
                         s.templateFileName = readTemplateName(v, name, folder);
                     else if (key == "smallScreenBreakpoint")
                         s.smallScreenBreakpoint = readInteger(v, name, kBreakpointAuto, kMax);
                     else if (key == "smallScreenPlace")
                         s.smallScreenPlace = readInteger(v, name, kPlaceTopLeft, kPlaceFirstMenu);
                     else if (key == "smallScreenCaption")
                         s.smallScreenCaption = readButtonCaption(v, name);
                     else
                         return false;
                     return true;
                 });
}

Menu readMenu(const Json& object, int32_t row) {
    // Start from a first menu's values so absent fields have a meaning.
    Menu menu = NewMenu();
    const std::string field = "menus[" + std::to_string(row) + "]";
    forEachField(object, field,
                 [&](const std::string& key, const Json& v, const std::string& name) {
                     for (const MenuColumn& column : kMenuColumns) {
                         if (key != column.fileName)
                             continue;
                         switch (column.kind) {
                         case ColumnKind::Integer:
                             menu.*column.number = readInteger(v, name, kMin, kMax);
                             break;
                         case ColumnKind::Html:
                             menu.*column.text = readText(v, name);
                             break;
                         case ColumnKind::Colour:
                             menu.*column.text = readColourText(v, name);
                             break;
                         }
                         return true;
                     }
                     return false;
                 });
    return menu;
}

} // namespace

nlohmann::ordered_json TextToJson(const std::string& bytes) {
    if (IsValidUtf8(bytes))
        return bytes;
    nlohmann::ordered_json wrapped;
    wrapped["base64"] = EncodeBase64(bytes);
    return wrapped;
}

nlohmann::ordered_json ProjectToJson(const Project& project) {
    const ProjectSettings& s = project.settings;
    nlohmann::ordered_json doc;
    auto& settings = doc["settings"];
    settings["scrIN"] = s.closeStep;
    settings["scrOUT"] = s.openStep;
    settings["cDefCap"] = ColorToHtml(s.captionTextColor);
    settings["cDefMenu"] = ColorToHtml(s.bodyTextColor);
    settings["fDefCap"] = TextToJson(s.captionFont);
    settings["fDefMenu"] = TextToJson(s.bodyFont);
    settings["fDefCapS"] = s.captionFontSize;
    settings["fDefMenuS"] = s.bodyFontSize;
    settings["template"] = TextToJson(s.templateFileName);
    settings["smallScreenBreakpoint"] = s.smallScreenBreakpoint;
    settings["smallScreenPlace"] = s.smallScreenPlace;
    settings["smallScreenCaption"] = TextToJson(s.smallScreenCaption);
    doc["selectedMenu"] = project.selected;
    auto& menus = doc["menus"];
    menus = nlohmann::ordered_json::array();
    for (const Menu& menu : project.menus) {
        nlohmann::ordered_json m;
        for (const MenuColumn& column : kMenuColumns) {
            const std::string key(column.fileName);
            if (column.isNumber())
                m[key] = menu.*column.number;
            else
                m[key] = TextToJson(menu.*column.text);
        }
        menus.push_back(std::move(m));
    }
    return doc;
}

Status ProjectFromJson(const nlohmann::json& document, Project& project) {
    // Built aside and taken over whole, so a refusal leaves the caller's project untouched.
    auto scratch = std::make_unique<Project>();
    ProjectSettings& s = scratch->settings;
    try {
        if (!document.is_object())
            refuse("project", msg::kCliNotObject);
        const Json* menus = nullptr;
        const Json* selected = nullptr;
        forEachField(document, "", [&](const std::string& key, const Json& v, const std::string&) {
            if (key == "settings")
                readSettings(v, s, project.settings.projectFolder);
            else if (key == "menus")
                menus = &v;
            else if (key == "selectedMenu")
                selected = &v;
            else
                return false;
            return true;
        });
        if (menus != nullptr) {
            if (!menus->is_array())
                refuse("menus", msg::kCliNotArray);
            if (menus->size() > static_cast<size_t>(Project::kCapacity))
                refuse("menus", msg::kCliTooManyMenus);
            scratch->menus.reserve(menus->size());
            for (size_t row = 0; row < menus->size(); ++row)
                scratch->menus.push_back(readMenu((*menus)[row], static_cast<int32_t>(row)));
        }
        if (selected != nullptr)
            scratch->selected =
                readInteger(*selected, "selectedMenu", 0, std::max(scratch->menuCount() - 1, 0));
    } catch (const Refusal& refusal) {
        return Status::failure(refusal.text);
    }
    s.projectFolder = project.settings.projectFolder;
    project.settings = std::move(s);
    project.menus = std::move(scratch->menus);
    project.selected = scratch->selected;
    return Status::success();
}

Status ProjectFromJsonText(std::string_view text, Project& project) {
    Json document;
    try {
        document = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        std::string what = error.what();
        // Drop the library's "[json.exception.parse_error.101] " tag; keep where and why.
        const auto tagEnd = what.find("] ");
        if (what.rfind("[json.exception", 0) == 0 && tagEnd != std::string::npos)
            what.erase(0, tagEnd + 2);
        return Status::failure(msg::Format(msg::kCliMalformedJson, what));
    }
    return ProjectFromJson(document, project);
}

} // namespace qloom::cli
