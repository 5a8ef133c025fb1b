#pragma once

// The HTML fragments that the text, link, image and line-break tools insert, built as plain
// functions of the dialogs' field texts.

#include "model/ProjectSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qloom {

inline constexpr std::string_view kNewLineFragment = "<BR>";

// The four text passes: a leading space of the text and of every further line becomes "&nbsp;",
// pairs of spaces become "&nbsp;&nbsp;", every CR LF becomes "<BR>" CR LF.
std::string TransformText(std::string_view text);

struct TextFragmentOptions {
    std::string fontFace = "Arial";
    std::string fontSize = "2";
    ColorValue color = 0xFFFFFF;
    bool defaultFace = false;
    bool defaultSize = false;
    bool defaultColor = false;
    bool center = false;
};

// The transformed text ending in exactly one CR LF (none when empty), in the font element the
// options ask for, centred when asked.
std::string TextFragment(std::string_view text, const TextFragmentOptions& options);

// <A HREF="url" TARGET="target">inner</A>; no TARGET attribute when the target is empty.
std::string LinkFragment(std::string_view url, std::string_view target, std::string_view inner);

// What follows the last "/" of a path (the whole path when it has none).
std::string FileNamePart(std::string_view path);

// The text with &, <, > and " written as entities, so it can stand in a quoted attribute.
std::string EscapeHtmlAttribute(std::string_view text);

// <IMG SRC="file name of path" BORDER="border" ALT="alt">; the border text falls back to 0. The
// ALT attribute is always written: an empty one marks the picture as decoration.
std::string ImageFragment(std::string_view path, std::string_view borderText,
                          std::string_view altText);

// Why a picture cannot be added yet, or empty when it can. An empty ALT tells screen readers
// to pass over the picture, so it is written only when the user says the picture decorates;
// a text of blanks alone counts as empty.
std::string_view ImageAltProblem(std::string_view altText, bool decorative);

} // namespace qloom
