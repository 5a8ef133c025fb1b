#pragma once

// The rule for the name of a project's template page, shared by the script reader, the project
// settings dialog and qloom-cli, so that no way into a project accepts a name another refuses.

#include <string>
#include <string_view>

namespace qloom {

inline constexpr std::string_view kDefaultTemplateName = "Temp.html";

// What the settings dialog makes of a typed name: cleaned (no quotes, separators or drive part)
// and without blanks at either end; empty when nothing is left. Cleaning a cleaned name again
// changes nothing, so a name read back is the name that was saved.
std::string CleanTemplateName(std::string_view typed);

// The file qLoom writes itself that a template page of this name would be, ignoring letter
// case so that a case-insensitive file system cannot slip it past; empty when there is none.
std::string_view ReservedTemplateName(std::string_view name);

// False for a name that can never be the template page, whatever the folder holds: empty, "."
// or "..", or a file qLoom writes itself. A saved name breaks every save (the default page
// cannot be written) or gets the user's page overwritten. A folder of that name is refused too,
// but that needs a look at the project folder (TemplateNameIsFolder).
bool IsUsableTemplateName(std::string_view name);

// True when the project folder holds a folder of that name.
bool TemplateNameIsFolder(std::string_view projectFolder, std::string_view name);

} // namespace qloom
