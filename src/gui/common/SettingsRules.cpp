#include "gui/common/SettingsRules.h"

#include "model/Conversions.h"
#include "model/Messages.h"
#include "script/FileIo.h"
#include "script/ScriptSaver.h"
#include "script/TemplateName.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace qloom {

int32_t WholeNumberField(std::string_view text, int32_t defaultValue, int32_t lower,
                         int32_t upper) {
    return ClampInt(ParseIntOr(TrimBlanks(text), defaultValue), lower, upper);
}

std::string CleanedTextField(std::string_view text, std::string_view defaultText) {
    return CleanSettingText(TrimBlanks(text), defaultText);
}

SettingsForm FormFromSettings(const ProjectSettings& settings) {
    SettingsForm form;
    form.scrollOut = std::to_string(settings.openStep);
    form.scrollIn = std::to_string(settings.closeStep);
    form.captionColor = settings.captionTextColor;
    form.menuColor = settings.bodyTextColor;
    form.fontCaption = settings.captionFont;
    form.fontMenu = settings.bodyFont;
    form.sizeCaption = std::to_string(settings.captionFontSize);
    form.sizeMenu = std::to_string(settings.bodyFontSize);
    form.templateName = settings.templateFileName;
    return form;
}

SettingsForm DefaultForm() {
    return FormFromSettings(ProjectSettings{});
}

std::string TemplateNameOf(const SettingsForm& form) {
    const std::string name = CleanTemplateName(form.templateName);
    return name.empty() ? std::string(kDefaultTemplateName) : name;
}

void ApplyForm(const SettingsForm& form, ProjectSettings& settings) {
    // A field left blank or unreadable falls back to the new-project value.
    const ProjectSettings defaults;
    settings.openStep = WholeNumberField(form.scrollOut, defaults.openStep, 1, 999);
    settings.closeStep = WholeNumberField(form.scrollIn, defaults.closeStep, 1, 999);
    settings.captionTextColor = form.captionColor;
    settings.bodyTextColor = form.menuColor;
    settings.captionFont = CleanedTextField(form.fontCaption, defaults.captionFont);
    settings.bodyFont = CleanedTextField(form.fontMenu, defaults.bodyFont);
    settings.captionFontSize = WholeNumberField(form.sizeCaption, defaults.captionFontSize, 2, 999);
    settings.bodyFontSize = WholeNumberField(form.sizeMenu, defaults.bodyFontSize, 2, 999);
    settings.templateFileName = TemplateNameOf(form);
}

Expected<TemplateVerdict> CheckTemplate(std::string_view projectFolder, std::string_view name) {
    if (!ReservedTemplateName(name).empty())
        return TemplateVerdict::Reserved;
    const std::string path = JoinPath(projectFolder, name);
    if (!EntryExists(path))
        return TemplateVerdict::Passes;
    // A folder of that name cannot be read either; it fails like any unreadable file rather
    // than passing the check and breaking the next save.
    std::string text;
    if (Status read = ReadWholeFile(path, text); !read)
        return read;
    return text.find(kScriptFileName) == std::string::npos ? TemplateVerdict::LacksScript
                                                           : TemplateVerdict::Passes;
}

std::string TemplateLacksScriptText(std::string_view path) {
    std::string text(msg::kTemplateLacksScriptHead);
    text += path;
    text += msg::kTemplateLacksScriptTail;
    return text;
}

std::string TemplateReservedText(std::string_view name) {
    return msg::Format(msg::kTemplateNameReserved, ReservedTemplateName(name));
}

std::vector<std::string> TemplateInfoLines() {
    std::vector<std::string> lines(30);
    lines[0] = " Template can be any HTML file which has the following two lines inside:";
    lines[2] = " First line should be inserted somewhere between <HEAD> </HEAD> tags:";
    lines[4] = " <SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Qloomscript.js\"></SCRIPT>";
    lines[6] = " Second line should be inserted right after the <BODY> tag:";
    lines[8] = " <SCRIPT LANGUAGE=\"JavaScript\">makeQloom()</SCRIPT>";
    lines[9] = "  ";
    lines[11] = " If the template file does not exist it will be created with this default HTML "
                "code:";
    lines[13] = "<HTML>";
    lines[15] = "<HEAD>";
    lines[17] = "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Qloomscript.js\"></SCRIPT>";
    lines[19] = "</HEAD>";
    lines[21] = "<BODY leftmargin=0 topmargin=0 scroll=no>";
    lines[23] = "<SCRIPT LANGUAGE=\"JavaScript\">makeQloom()</SCRIPT>";
    lines[25] = "</BODY>";
    lines[27] = "</HTML>";
    lines[29] = " ";
    return lines;
}

std::vector<FontChoice> FontChoices(std::vector<std::string> installed) {
    const auto lessIgnoringCase = [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](char x, char y) { return std::tolower(uint8_t(x)) < std::tolower(uint8_t(y)); });
    };
    installed.erase(std::remove_if(installed.begin(), installed.end(),
                                   [](const std::string& name) {
                                       return TrimBlanksView(name).empty() || name[0] == '.';
                                   }),
                    installed.end());
    std::stable_sort(installed.begin(), installed.end(), lessIgnoringCase);
    installed.erase(std::unique(installed.begin(), installed.end(),
                                [](const std::string& a, const std::string& b) {
                                    return EqualsIgnoringAsciiCase(a, b);
                                }),
                    installed.end());
    std::vector<FontChoice> choices;
    choices.reserve(installed.size() + kFontNameChoices.size());
    for (std::string& name : installed)
        choices.push_back({std::move(name), true});
    const size_t installedCount = choices.size();
    for (std::string_view usual : kFontNameChoices) {
        const auto end = choices.begin() + std::ptrdiff_t(installedCount);
        const bool present = std::any_of(choices.begin(), end, [usual](const FontChoice& c) {
            return EqualsIgnoringAsciiCase(c.name, usual);
        });
        if (!present)
            choices.push_back({std::string(usual), false});
    }
    return choices;
}

} // namespace qloom
