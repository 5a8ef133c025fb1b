#pragma once

#include "model/HtmlFacts.h"
#include "model/Project.h"
#include "model/ProjectSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qloom {

// What a finding is about.
enum class CheckKind {
    CaptionContrast,    // caption text against what stands behind it
    BodyContrast,       // menu text likewise
    TargetTooSmall,     // the caption, the thing a visitor points at, under 24 px
    ImageWithoutAlt,    // an IMG without an ALT attribute
    CaptionWithoutText, // nothing a screen reader could announce for the caption
    LinkWithoutText,    // A HREF with neither text nor picture text
    BodyCutOff,         // caption and body beyond the 500 px the page shows of a menu
    GluedWords,         // a line break the page drops, joining the words around it
    MissingFile,        // a picture, page, script or style sheet that is not in the site
    OffPage,            // the menu lies partly outside a 1280 px wide page
    SmallScreenOff,     // the project has no small-screen mode (not about one menu)
};

enum class MenuPart { Caption, Body };

// Where the author fixes a finding; the main window maps each to a tab and a control.
enum class FixPlace {
    CaptionHeightField, // first tab, "Caption Height:" (MTCH)
    WidthField,         // first tab, "Width:" (MW)
    CaptionHtml,        // "Caption HTML" tab
    MenuHtml,           // "Menu HTML" tab
    CaptionColor,       // "Color" tab, caption colour (the text colour is a project setting)
    MenuColor,          // "Color" tab, menu colour
    LeftField,          // first tab, "Left:" (MX)
    ProjectSettings,    // the project settings dialog
};

// What the text of a contrast finding was measured against.
enum class Backdrop {
    Own,         // the caption's or body's own colour
    BottomColor, // that colour is transparent; the menu's bottom colour shows through
    AssumedWhite // both are transparent; the page behind is taken to be white
};

struct AccessibilityFinding {
    int32_t row = 0;
    CheckKind kind = CheckKind::CaptionContrast;
    MenuPart part = MenuPart::Caption;
    FixPlace fix = FixPlace::CaptionColor;
    double measured = 0;    // ratio, pixels or a count of pictures or links
    double threshold = 0;   // the limit it was compared with
    bool vertical = false;  // the menu slides out sideways: its caption is MTCH wide, MW high
    bool estimated = false; // a body size worked out from the HTML, not reported by the page
    // Contrast findings: the colours compared, and where the text colour comes from.
    Backdrop backdrop = Backdrop::Own;
    ColorValue textColor = 0, backgroundColor = 0;
    TextColorSource colorSource = TextColorSource::ClassRule;
    bool insideTag = false; // glued words: the break is inside a tag
    // Glued words and missing files: the byte offset in the HTML the author is taken to.
    int32_t offset = -1;
    std::string detail;  // glued words: the word before the break; missing file: the address
    std::string detail2; // glued words: the word after it; missing file: the path looked for
};

// The row of findings about the whole project; they come first in the list.
inline constexpr int32_t kProjectRow = -1;

// The line the Checks list shows, e.g. "Menu 3: the caption is 22 px high; a target needs at
// least 24 px." Made on demand: a large project has thousands of findings and the list shows a
// screenful.
std::string FindingText(const AccessibilityFinding& finding);

inline constexpr int32_t kMinimumTargetPx = 24;
// The page clips every menu 500 px from its top (left for a vertical menu).
inline constexpr int32_t kShownMenuExtentPx = 500;
// The desktop page width the placement of menus is checked against.
inline constexpr int32_t kDesktopPageWidthPx = 1280;

// Where the local files the menus refer to are looked for. With no project folder no file is
// looked for.
struct SiteFolders {
    std::string project;
    std::string site; // the preview's site folder; empty: the project folder is the site
};

// Appends the findings of one row (nothing for a row not in use). `bodyExtent` is the body's
// rendered height (width for a vertical menu) as the preview page reports it, or -1 to estimate
// it from the HTML.
// `site`, when given, has the local files of the HTML looked up on disk.
void CheckMenu(const std::vector<Menu>& menus, const ProjectSettings& settings, int32_t row,
               std::vector<AccessibilityFinding>& out, int32_t bodyExtent = -1,
               const SiteFolders* site = nullptr);

// The findings about the project as a whole, with row kProjectRow. `smallScreenBreakpoint` is
// the project's small-screen setting: -1 Auto, 0 Off, N > 0 a width in CSS px.
void CheckProjectWide(int32_t smallScreenBreakpoint, std::vector<AccessibilityFinding>& out);

// The project-wide findings, then every row in order. `bodyExtents`, when given, holds one
// reported extent (or -1) per row.
std::vector<AccessibilityFinding> CheckProject(const std::vector<Menu>& menus,
                                               const ProjectSettings& settings,
                                               const std::vector<int32_t>* bodyExtents = nullptr,
                                               const SiteFolders* site = nullptr);

// A ratio as the Checks list writes it, two decimals; never rounded up onto the threshold it
// fails ("4.50:1 needs at least 4.5:1" would read as a pass).
std::string FormatRatio(double ratio, double threshold);

} // namespace qloom
