#pragma once

// The rules of the project settings dialog, kept free of widgets so they can be tested alone.

#include "model/ProjectSettings.h"
#include "model/Result.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qloom {

// The choices of the font-name lists (also the "Add Text" dialog's) and of the point-size lists.
inline constexpr std::array<std::string_view, 9> kFontNameChoices = {
    "Arial",  "Helvetica", "Courier",         "Courier New", "Comic Sans MS",
    "Tahoma", "Times",     "Times New Roman", "Verdana"};
inline constexpr std::array<std::string_view, 8> kPointSizeChoices = {"10", "12", "14", "16",
                                                                      "20", "24", "32", "40"};

// One entry of a font-name list.
struct FontChoice {
    std::string name;
    bool installed = true;
};

// The font-name lists: the font families installed here first (sorted, without repeats, case
// ignored), then the usual web fonts of kFontNameChoices that are not among them, marked as
// not installed (the page would draw them with a substitute here, and so may a visitor's
// browser). Names starting with "." are the system's hidden families and are left out.
std::vector<FontChoice> FontChoices(std::vector<std::string> installed);

// The dialog's controls as texts (the swatches as colours), exactly as the user left them.
struct SettingsForm {
    std::string scrollOut;
    std::string scrollIn;
    ColorValue captionColor = 0xFFFFFF;
    ColorValue menuColor = 0xFFFFFF;
    std::string fontCaption;
    std::string fontMenu;
    std::string sizeCaption;
    std::string sizeMenu;
    std::string templateName;
};

// Trimmed text -> whole number, the default when it does not convert, clamped into the range.
int32_t WholeNumberField(std::string_view text, int32_t defaultValue, int32_t lower, int32_t upper);
// Trimmed text -> cleaned setting text, the default when nothing is left.
std::string CleanedTextField(std::string_view text, std::string_view defaultText);

// What the dialog shows for the given settings, and what "Set Defaults" puts into it.
SettingsForm FormFromSettings(const ProjectSettings& settings);
SettingsForm DefaultForm();

// The template file name the form asks for (cleaned, never empty, without a folder part).
std::string TemplateNameOf(const SettingsForm& form);

// Writes every value of the form into the settings at once; the project folder is untouched.
void ApplyForm(const SettingsForm& form, ProjectSettings& settings);

enum class TemplateVerdict {
    Passes,      // missing (the default page will be written) or names the script file
    LacksScript, // exists, but "Qloomscript.js" appears nowhere in it
    Reserved,    // names a file the program itself overwrites (the script, the read-me)
};

// Looks for the exact, case-sensitive text "Qloomscript.js" anywhere in the named file of the
// project folder. The script file and the read-me are refused whatever they hold: every save or
// finalize would overwrite the user's page. A file that exists but cannot be read is a failure,
// whose status names the file and gives the system's reason.
[[nodiscard]] Expected<TemplateVerdict> CheckTemplate(std::string_view projectFolder,
                                                      std::string_view name);

// The message shown when the template at `path` lacks the script reference.
std::string TemplateLacksScriptText(std::string_view path);
// The message shown when `name` is one of the program's own files.
std::string TemplateReservedText(std::string_view name);

// The 30 lines of the template information window.
std::vector<std::string> TemplateInfoLines();

} // namespace qloom
