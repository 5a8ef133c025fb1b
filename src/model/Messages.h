#pragma once

// Every text the system shows, in one place, so the GUI and the tests use the same constants.
// Texts with %s are filled with Format() below.

#include "model/Version.h"

#include <string>
#include <string_view>

namespace qloom::msg {

inline constexpr std::string_view kAppTitle = "qLoom";
inline constexpr std::string_view kMainCaption = "qLoom " QLOOM_VERSION_TEXT;

// Run-time errors (shown by the general error report).
inline constexpr std::string_view kNotValidInteger = "'%s' is not a valid integer value";
inline constexpr std::string_view kCannotOpenFile = "Cannot open file %s";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file %s";
// The reason given after "Cannot open file X: " for a FIFO, device or socket.
inline constexpr std::string_view kNotRegularFile = "not a regular file";

// A file reached through a symbolic link that could not be replaced: first the target, then
// the link.
inline constexpr std::string_view kCannotReplaceLinkTarget =
    "Cannot create file %s\r\n\r\n%s is a symbolic link to that file. qLoom writes the new "
    "file beside the target and could not write there; the link and its target are unchanged.";

// Menu table.
inline constexpr std::string_view kNothingToDelete = "Nothing to delete, sorry...";
inline constexpr std::string_view kDeleteConfirmationTitle = "Delete Confirmation";
inline constexpr std::string_view kTableFull =
    "The project already holds 10000 menus, the most a project can hold. "
    "Delete a menu before adding another.";

// Script reader.
inline constexpr std::string_view kCannotFindPrefix = "Cannot find: ";
inline constexpr std::string_view kCannotFindSuffix = "\r\nThe script file may be corrupted.";
inline constexpr std::string_view kOtherVersion =
    "This project was created by another version of qLoom: ";
inline constexpr std::string_view kDownloadLines =
    "\r\n\r\nYou can download the latest version of qLoom from here:\r\n"
    "       https://www.norvex.example/qloom/";
inline constexpr std::string_view kNotAProject =
    "This is not a qLoom project file, or this project is corrupted.";
inline constexpr std::string_view kMenuCountOutOfRange =
    "The script file names %s menus; a project holds 0 to 10000 menus.\r\n"
    "The script file maybe corrupted.";
inline constexpr std::string_view kArrayEndsEarly =
    "Too few entries after: %s\r\nThe missing menus get the values of a new menu.\r\n"
    "The script file maybe corrupted.";
inline constexpr std::string_view kTemplateNameRefused =
    "The template file name \"%s\" cannot be used (it is empty, . or .., a folder, or a file "
    "qLoom writes itself); the template page is Temp.html.\r\nThe script file maybe corrupted.";
// Colour texts of the menus that the reader replaced, one line each (at most kMaxListed).
inline constexpr std::string_view kColoursReplacedHead =
    "These colours hold characters a colour cannot hold and get the colours of a new menu:";
inline constexpr std::string_view kColourReplacedLine = "\r\n  %s, column %s: \"%s\"";
inline constexpr std::string_view kColoursReplacedMore = "\r\n  and %s more";
inline constexpr std::string_view kColoursReplacedTail = "\r\nThe script file may be corrupted.";

// Project settings and template check.
inline constexpr std::string_view kProjectSettingsCaption = "Active Project Settings";
inline constexpr std::string_view kTemplateInfoCaption = "Information about Template";
inline constexpr std::string_view kTemplateLacksScriptHead = "The template file: \r\n";
inline constexpr std::string_view kTemplateLacksScriptTail =
    "\r\ndoes not contain the right code for your menu to operate correctly.\r\n\r\n"
    "Put the required code into this file, or type a file name that does not exist (default "
    "HTML code will be written there).";
inline constexpr std::string_view kTemplateNameReserved =
    "The template file cannot be named %s: qLoom writes that file itself and would overwrite "
    "the page.\r\n\r\nType another file name.";

// HTML fragment tools.
inline constexpr std::string_view kAddTextCaption = "Add Text";
inline constexpr std::string_view kAddUrlCaption = "Add URL";
inline constexpr std::string_view kAddImageCaption = "Add Image";
inline constexpr std::string_view kCannotCopyHead = "Cannot copy this file: \r\n  ";
inline constexpr std::string_view kCannotCopyTail =
    "\r\nto project's folder.\r\nYou may not see a picture unless you copy this file to "
    "project's folder.";
inline constexpr std::string_view kHtmlFileFilter = "HTML Files (*.html *.htm);;All Files (*)";
inline constexpr std::string_view kPictureFileFilter =
    "All Image Files (*.gif;*.jpg;*.jpeg;*.png;*.svg;*.webp;*.avif) "
    "(*.gif *.jpg *.jpeg *.png *.svg *.webp *.avif);;GIF Image (*.gif) (*.gif);;"
    "JPG Files (*.jpg;*.jpeg) (*.jpg *.jpeg);;PNG Image (*.png) (*.png);;"
    "SVG Image (*.svg) (*.svg);;WebP Image (*.webp) (*.webp);;AVIF Image (*.avif) (*.avif);;"
    "All Files (*.*) (*)";
inline constexpr std::string_view kNoPicture = "(None)";
inline constexpr std::string_view kImageNeedsAlt =
    "Type the alternative text, or tick \"Decorative picture\" for a picture that only "
    "decorates.";
inline constexpr std::string_view kPicturePreviewCaption = "Preview";

// Projects and application shell.
inline constexpr std::string_view kActiveProjectPrefix = "Active Project: ";
inline constexpr std::string_view kNoActiveProject = "No Active Project!";
inline constexpr std::string_view kStayOnTopTip = "Keep this window on Top";
inline constexpr std::string_view kBrowserCheckCaption = "Cannot communicate with the browser!";
inline constexpr std::string_view kBrowserCheckText =
    "Please update your browser!\r\n\r\nWarning - Old Version!\r\n\r\nThe Qt WebEngine component "
    "with Chromium 90 or above is required for this application to operate correctly.";
inline constexpr std::string_view kCommandLineDescription =
    "Authoring tool for drop-down and slide-out menus on web pages.";
inline constexpr std::string_view kCommandLineFolder =
    "Open the project in this folder, or the project of this Qloomscript.js, instead of showing "
    "the start dialog.";
inline constexpr std::string_view kCommandLineHelpPages = "Help pages: ";
inline constexpr std::string_view kCommandLineOneFolder = "Only one project folder can be opened: ";
inline constexpr std::string_view kQuitCaption = "Quit";
inline constexpr std::string_view kCancelCaption = "Cancel";
inline constexpr std::string_view kOpenFolderMessage =
    "Select the folder where your menu project is located:";
inline constexpr std::string_view kOpenFolderCaption = "Select Project Folder";
inline constexpr std::string_view kNewFolderMessage =
    "Select the folder where you would like the program to keep the files for your menu "
    "project:";
inline constexpr std::string_view kNewFolderCaption = "Select Destination Folder";
inline constexpr std::string_view kCannotCreateFolderHead = "Cannot create folder: ";
inline constexpr std::string_view kCannotCreateFolderTail =
    "\r\n\r\nA folder name cannot contain any of the following characters:\r\n"
    "                        \\    /    :    *    ?    \"    <    >    |";
// The folder inside the user's documents folder where new projects are proposed.
inline constexpr std::string_view kProjectsFolderName = "qLoom Projects";
inline constexpr std::string_view kScriptExistsCaption = "Warning";
inline constexpr std::string_view kScriptExistsQuestion =
    "File \"Qloomscript.js\" already exists in specified folder.\r\n\r\nWould you like to open "
    "it? Click \"Yes\" to open, or \"No\" to overwrite this project.";
inline constexpr std::string_view kScriptNotFound =
    "\"Qloomscript.js\" not found in this folder.\r\n\r\nThere is no qLoom project in this "
    "folder, or the script file was removed from its location.";
inline constexpr std::string_view kProposedNamePrefix = "NewProject_";
inline constexpr std::string_view kFinalizedMessage =
    "The script was successfully finalized, and is ready for integration and upload.";
inline constexpr std::string_view kUnexpectedError = "Unexpected error";
inline constexpr std::string_view kCannotUseFolderHead = "Cannot use folder: ";
inline constexpr std::string_view kCannotUseFolderTail =
    "\r\n\r\nqLoom cannot write its files there. Choose a folder you are allowed to write to.";
inline constexpr std::string_view kCloseWithoutSaving =
    "The project could not be saved.\r\n\r\nClose qLoom anyway? Changes since the last save "
    "will be lost.";

// Sharing the project folder with other programs.
inline constexpr std::string_view kProjectLockedQuestion =
    "This project is open in %s.\r\n\r\nEditing it in two places at once loses the changes of "
    "one of them. Take it over, or leave it to the other program?";
inline constexpr std::string_view kTakeOver = "Take Over";
inline constexpr std::string_view kTakeOverWarning =
    "Take the project over?\r\n\r\nThe other program will no longer save it, and whatever it "
    "has not saved yet stays there. Take over only when that program is not in use.";
inline constexpr std::string_view kChangedOnDiskQuestion =
    "%s was changed by another program, and this window holds changes that are not saved "
    "yet.\r\n\r\nReload Theirs: their version is opened, and this window's version is kept "
    "beside it as a copy.\r\nKeep Mine: this window's version replaces theirs.\r\nCancel: "
    "nothing is saved until you choose.";
inline constexpr std::string_view kReloadTheirs = "Reload Theirs";
inline constexpr std::string_view kKeepMine = "Keep Mine";
inline constexpr std::string_view kReloadedNote = "Reloaded: %s was changed by another program";
inline constexpr std::string_view kKeptCopyNote =
    "Reloaded their version; this window's version is kept as %s";
inline constexpr std::string_view kNotSavedConflict =
    "Not saved: %s was changed by another program (Update Preview to choose)";
inline constexpr std::string_view kNotSavedFailed = "Not saved, retrying: %s";
inline constexpr std::string_view kReadOnlyNote =
    "%s is read-only: qLoom shows the project but does not save it until the file is made "
    "writable or the project is saved in another folder.";
inline constexpr std::string_view kNotSavedReadOnly = "Not saved: %s is read-only";
inline constexpr std::string_view kSaveElsewhere =
    "Make the file writable, or save the whole project in another folder.";
inline constexpr std::string_view kCannotLockProject = "Cannot lock the project folder %s";
inline constexpr std::string_view kLockLost =
    "Another program took this project over; this window no longer saves it.";
inline constexpr std::string_view kFolderGoneQuestion =
    "The project folder %s was renamed, moved or deleted while the project was open. qLoom has "
    "not saved since, and does not put a part of the project back at the old place by "
    "itself.\r\n\r\nSave the whole project (script, template page and pictures) to the old "
    "place, or to a folder you choose?";
inline constexpr std::string_view kFolderNowAt = "\r\n\r\nThe folder is now at: %s";
inline constexpr std::string_view kFolderHoldsProject =
    "%s already holds another project (Qloomscript.js). Choose another folder.";
inline constexpr std::string_view kSaveToOldPlace = "Save to Old Place";
inline constexpr std::string_view kChooseFolder = "Choose Folder...";
inline constexpr std::string_view kNotSavedFolderGone = "Not saved: the project folder %s is gone";
inline constexpr std::string_view kFolderGoneOnEnd =
    "the project folder %s was renamed, moved or deleted; nothing was saved";
inline constexpr std::string_view kChangedOnEnd =
    "%s was changed by another program; this window's version was kept as %s";
inline constexpr std::string_view kReadOnlyOnEnd =
    "%s is read-only; this window's version was kept as %s";
inline constexpr std::string_view kTakenOverOnEnd =
    "%s was taken over by another program; this window's version was kept as %s";

// Property editor and preview.
inline constexpr std::string_view kNoMenusInProject = "No Menus in Project";
inline constexpr std::string_view kPreviewCaption = "Preview - qLoom " QLOOM_VERSION_TEXT;
inline constexpr std::string_view kBackToPreview = "Back to Preview";
inline constexpr std::string_view kIncreaseArrow = "Increase %s"; // spin arrows' accessible names
inline constexpr std::string_view kDecreaseArrow = "Decrease %s";
inline constexpr std::string_view kPreviewPageName = "Preview page";

// The preview's sandbox: what a page may not do is refused quietly and noted in the error list.
inline constexpr std::string_view kRemoteLinkCaption = "Open in Web Browser";
inline constexpr std::string_view kRemoteLinkQuestion =
    "The preview does not show pages from the internet. Open this address in your web "
    "browser?\n\n%s";
inline constexpr std::string_view kPreviewCommandsDropped =
    "qLoom: %s commands from the preview page were ignored (more than 100 a second)";
inline constexpr std::string_view kPreviewNotAnswering =
    "qLoom: the preview page did not answer for 3 seconds and was stopped";
inline constexpr std::string_view kPreviewKeepsCrashing =
    "qLoom: the preview page keeps crashing; the preview stays blank until Update Preview";
inline constexpr std::string_view kPreviewTooMuchMemory =
    "qLoom: the preview page used more than %s MB of memory and was stopped";
inline constexpr std::string_view kPreviewBadCommand = "qLoom: ignored a command of the preview "
                                                       "page: %s";
inline constexpr std::string_view kSiteFolderTitle = "Site folder for the preview";
inline constexpr std::string_view kSiteFolderNote =
    "The preview page may read files in this folder only. Choose a folder above the project "
    "folder if the page uses ../css or ../images.";
inline constexpr std::string_view kSiteFolderDefault = "(the project folder)";
inline constexpr std::string_view kSiteFolderChoose = "Choose...";
inline constexpr std::string_view kSiteFolderReset = "Project Folder";
inline constexpr std::string_view kSiteFolderOutside =
    "The site folder must contain the project folder:\n%s";
inline constexpr std::string_view kSiteFolderTooWide =
    "The site folder cannot be your home folder, a folder above it, or the root folder: the "
    "preview page could read all your files.";

// Accessibility checks of the menus (one line each in the Checks list; "%s" filled in order).
inline constexpr std::string_view kCheckCaptionContrast =
    "%s: caption text %s on %s has a contrast of %s:1; it needs at least %s:1.";
inline constexpr std::string_view kCheckBodyContrast =
    "%s: menu text %s on %s has a contrast of %s:1; it needs at least %s:1.";
inline constexpr std::string_view kCheckOnBottomColor = " The background is transparent, so the "
                                                        "bottom colour shows behind the text.";
inline constexpr std::string_view kCheckAgainstWhite =
    " The background is transparent; measured against a white page.";
inline constexpr std::string_view kCheckFromFontColor =
    " The text colour comes from a FONT COLOR in the HTML.";
inline constexpr std::string_view kCheckFromLinkColor =
    " Links show in the browser's link blue unless they carry class=\"clCap\" or "
    "class=\"clMenu\".";
inline constexpr std::string_view kCheckCaptionTooLow =
    "%s: the caption is %s px high; a target needs at least %s px.";
inline constexpr std::string_view kCheckCaptionTooNarrow =
    "%s: the caption is %s px wide; a target needs at least %s px.";
inline constexpr std::string_view kCheckCaptionImageWithoutAlt =
    "%s: %s picture(s) in the caption without ALT text (ALT=\"\" marks a decorative picture).";
inline constexpr std::string_view kCheckBodyImageWithoutAlt =
    "%s: %s picture(s) in the menu without ALT text (ALT=\"\" marks a decorative picture).";
inline constexpr std::string_view kCheckCaptionWithoutText =
    "%s: the caption has no text and no picture text (ALT); a screen reader announces nothing.";
inline constexpr std::string_view kCheckCaptionLinkWithoutText =
    "%s: %s link(s) in the caption without text or picture text.";
inline constexpr std::string_view kCheckBodyLinkWithoutText =
    "%s: %s link(s) in the menu without text or picture text.";
inline constexpr std::string_view kCheckBodyTooTall =
    "%s: caption and menu are %s px high; the page shows %s px and cuts off the rest.";
inline constexpr std::string_view kCheckBodyTooWide =
    "%s: caption and menu are %s px wide; the page shows %s px and cuts off the rest.";
inline constexpr std::string_view kCheckEstimatedPrefix = "about ";
inline constexpr std::string_view kCheckCaptionGlued =
    "%s: a line break in the caption HTML joins \"%s\" and \"%s\": the page shows "
    "\"%s%s\". Put a space or <BR> there.";
inline constexpr std::string_view kCheckBodyGlued =
    "%s: a line break in the menu HTML joins \"%s\" and \"%s\": the page shows "
    "\"%s%s\". Put a space or <BR> there.";
inline constexpr std::string_view kCheckCaptionGluedTag =
    "%s: a line break inside a tag of the caption HTML joins \"%s\" and \"%s\" into one word. "
    "Put a space there.";
inline constexpr std::string_view kCheckBodyGluedTag =
    "%s: a line break inside a tag of the menu HTML joins \"%s\" and \"%s\" into one word. "
    "Put a space there.";
inline constexpr std::string_view kCheckCaptionMissingFile =
    "%s: the caption refers to \"%s\", which is not in the site (looked for %s).";
inline constexpr std::string_view kCheckBodyMissingFile =
    "%s: the menu refers to \"%s\", which is not in the site (looked for %s).";
inline constexpr std::string_view kCheckOffPageRight =
    "%s: the menu reaches to x = %s px, past the right edge of a %s px wide page.";
inline constexpr std::string_view kCheckOffPageRightVertical =
    "%s: the caption reaches to x = %s px (Left + Caption Height), past the right edge of a "
    "%s px wide page; the body slides out further right.";
inline constexpr std::string_view kCheckOffPageLeft =
    "%s: the menu starts at x = %s px, left of the page, where no visitor can reach it.";
inline constexpr std::string_view kCheckSmallScreenOff =
    "Project: the small-screen mode is Off, so phones and zoomed pages show the menus at their "
    "desktop places and visitors must scroll sideways. Switch it on in the project settings.";

// The files list of the "Finalized!" dialog.
inline constexpr std::string_view kFinalizedFilesHead =
    "Upload these files too (relative to the project folder):";
inline constexpr std::string_view kFinalizedMissing = "missing";
inline constexpr std::string_view kFinalizedTemplate = "the template page";
inline constexpr std::string_view kFinalizedMissingCount =
    "%s file(s) the menus refer to are missing.";
// The two lines a page needs, as the "Copy" button of the "Finalized!" dialog puts them on the
// clipboard.
inline constexpr std::string_view kPageScriptLine =
    "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"Qloomscript.js\"></SCRIPT>";
inline constexpr std::string_view kPageStartLine =
    "<SCRIPT LANGUAGE=\"JavaScript\">makeQloom()</SCRIPT>";
inline constexpr std::string_view kViewportLine =
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">";

// Replaces the first "%s" of `pattern` with `value`.
inline std::string Format(std::string_view pattern, std::string_view value) {
    std::string out(pattern);
    auto at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, value);
    return out;
}

// Command-line companion (qloom-cli). Field problems read "<field>: <reason>".
inline constexpr std::string_view kCliUsage =
    "Usage:\n"
    "  qloom-cli dump PATH                 print the project (folder or script file) as JSON\n"
    "  qloom-cli write FOLDER [--preview] [--force]\n"
    "                                      save the JSON project read from standard input\n"
    "  qloom-cli new FOLDER [--force]      start a project with the new-project values\n"
    "  qloom-cli add FOLDER [N] [--force]  append N menus (default 1) and save\n"
    "  qloom-cli finalize FOLDER [--force] save the final script and ReadMe.txt\n"
    "Commands that write refuse a project open in qLoom, or a read-only script, unless\n"
    "given --force.\n"
    "  qloom-cli --help                    show this text\n"
    "  qloom-cli --version                 show the program's version\n";
inline constexpr std::string_view kCliUnknownCommand = "Unknown command: %s";
inline constexpr std::string_view kCliUnexpectedArgument = "Unexpected argument: %s";
inline constexpr std::string_view kCliMissingArgument = "Missing argument: %s";
inline constexpr std::string_view kCliBadMenuNumber =
    "N must be a whole number from 1 to 10000, not: %s";
inline constexpr std::string_view kCliProjectExists =
    "%s already holds a project (Qloomscript.js); add --force to replace it.";
inline constexpr std::string_view kCliNothingWritten = "Nothing was written.";
inline constexpr std::string_view kCliProjectLocked =
    "%s is open in %s; nothing was written. Close it there first, or add --force to write "
    "anyway (qLoom then notices the change).";
inline constexpr std::string_view kCliScriptReadOnly =
    "%s is read-only; nothing was written. Make it writable, or add --force to replace it.";
inline constexpr std::string_view kCliMalformedJson = "Malformed JSON: %s";
inline constexpr std::string_view kCliNotObject = "must be an object";
inline constexpr std::string_view kCliNotArray = "must be an array";
inline constexpr std::string_view kCliNotInteger = "must be a whole number";
inline constexpr std::string_view kCliOutOfRange = "must be from %s";
inline constexpr std::string_view kCliNotText =
    "must be a string or an object {\"base64\": \"...\"}";
inline constexpr std::string_view kCliBadBase64 = "holds no valid base64 text";
inline constexpr std::string_view kCliNotColour =
    "must be a colour: not empty, and only #, letters, digits, ( ) , . % and blanks";
inline constexpr std::string_view kCliNotColourValue =
    "must be # followed by six hexadecimal digits";
inline constexpr std::string_view kCliBadSettingText =
    "must not be empty or hold \\ \" ' / : (a line break only as \\ and CR LF)";
inline constexpr std::string_view kCliBadTemplateName =
    "must be a file name the settings dialog takes as it is: not empty, . or .., no blank at "
    "either end, none of \\ \" ' / :, not a folder in the project folder, and not "
    "Qloomscript.js or ReadMe.txt";
inline constexpr std::string_view kCliBadButtonCaption = "must be one line of text, not empty";
inline constexpr std::string_view kCliUnknownField = "is not a field of a project";
inline constexpr std::string_view kCliTooManyMenus = "holds more than 10000 menus";

} // namespace qloom::msg
