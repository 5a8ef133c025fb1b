#pragma once

// Every text the system shows, in one place, so the GUI and the tests use the same constants.
// Texts with %s are filled with Format() below.

#include <string>
#include <string_view>

namespace qloom::msg {

inline constexpr std::string_view kAppTitle = "qLoom";
inline constexpr std::string_view kMainCaption = "qLoom 1.02";

// Run-time errors (shown by the general error report).
inline constexpr std::string_view kNotValidInteger = "'%s' is not a valid integer value";
inline constexpr std::string_view kCannotOpenFile = "Cannot open file %s";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file %s";

// Menu table.
inline constexpr std::string_view kNothingToDelete = "Nothing to delete, sorry...";
inline constexpr std::string_view kDeleteConfirmationTitle = "Delete Confirmation";
inline constexpr std::string_view kTableFull =
    "The project already holds 10000 menus, the most a project can hold. "
    "Delete a menu before adding another.";

// Script reader.
inline constexpr std::string_view kCannotFindPrefix = "Cannot find: ";
inline constexpr std::string_view kCannotFindSuffix = "\r\nThe script file maybe corrupted.";
inline constexpr std::string_view kOtherVersion =
    "This project was created by another version of qLoom: ";
inline constexpr std::string_view kDownloadLines =
    "\r\n\r\nYou can download the latest version of qLoom from here:\r\n"
    "       https://www.norvex.example/qloom/";
inline constexpr std::string_view kNotAProject =
    "This is not qLoom project file, or this project is corrupted.";

// Replaces the first "%s" of `pattern` with `value`.
inline std::string Format(std::string_view pattern, std::string_view value) {
    std::string out(pattern);
    auto at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, value);
    return out;
}

} // namespace qloom::msg
