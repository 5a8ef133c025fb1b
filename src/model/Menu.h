#pragma once

#include <cstdint>
#include <string>

namespace qloom {

// One menu of the project: what the generated script needs to draw and animate it. The values
// of a new menu, and how each field is stored in the script, are in the column table
// (model/MenuColumns.h); a default-constructed Menu is blank, NewMenu() gives a first menu.
struct Menu {
    std::string captionHtml;   // caption HTML, line breaks CR LF
    int32_t captionHeight = 0; // px: height of a horizontal caption, width of a vertical one
    std::string bodyHtml;      // menu body HTML, line breaks CR LF
    int32_t left = 0;          // px, owner box on the page; may be negative
    int32_t top = 0;           // px; for a floating menu, from the top of the visible window
    int32_t width = 0;         // px: width of a horizontal menu, height of a vertical one
    std::string bottomColor;   // colour text of the owner box: "transparent" or "#RRGGBB"
    std::string captionColor;  // colour text of the caption's background
    std::string bodyColor;     // colour text of the body's background
    int32_t activation = 0;    // 0 opens on mouse over, 1 toggles on click
    int32_t floating = 0;      // 1 keeps its distance from the top of the window when scrolled
    int32_t orientation = 0;   // 0 horizontal (drops down), 1 vertical (slides out right)

    // Field by field, over every column of the table.
    bool operator==(const Menu& other) const;
    bool operator!=(const Menu& other) const { return !(*this == other); }
};

// The caption a vertical menu gets while its caption was never edited.
inline constexpr const char* kVerticalDefaultCaption =
    "<CENTER>\r\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>";
// A new menu's caption and body.
inline constexpr const char* kDefaultCaption = "Caption";
inline constexpr const char* kDefaultBody = "Blank menu";

} // namespace qloom
