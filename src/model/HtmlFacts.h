#pragma once

#include "model/ProjectSettings.h"

#include <cstdint>
#include <string_view>

namespace qloom {

// Where the colour of a stretch of text comes from in the page.
enum class TextColorSource {
    ClassRule,   // the caption's or body's class rule (the project's text colour)
    FontElement, // a FONT COLOR in the author's HTML
    LinkDefault, // a link without a class of ours shows in the browser's own link colour
};

// How the page draws a stretch of text.
struct TextLook {
    ColorValue color = 0;
    double points = 12;
    bool bold = false;
    TextColorSource source = TextColorSource::ClassRule;
    bool operator==(const TextLook& o) const {
        return color == o.color && points == o.points && bold == o.bold && source == o.source;
    }
};

// What a caption or body starts from before its own HTML changes anything.
struct HtmlContext {
    TextLook base;                    // the class rule of the element itself
    TextLook captionClass, menuClass; // what class="clCap" / "clMenu" on a link gives
    double backgroundLuminance = 1.0; // of what the text stands on
};

// The browser's colour of an unvisited link, #0000EE.
inline constexpr ColorValue kBrowserLinkColor = 0xEE0000;

// What the accessibility checks need to know about one caption or body.
struct HtmlFacts {
    bool hasText = false;      // visible characters (blanks and &nbsp; do not count)
    bool hasImageText = false; // an IMG whose ALT holds visible characters
    int32_t imagesWithoutAlt = 0;
    int32_t linksWithoutText = 0; // A HREF with neither text nor picture text inside

    // The text that falls furthest short of its own threshold (smallest ratio / threshold).
    bool hasWorst = false;
    TextLook worst;
    double worstRatio = 0;
    double worstThreshold = 0;

    // A rough rendered size, for when the page has not reported the real one: lines stacked at
    // 1.15 em (pictures by their HEIGHT), and the widest line at half an em per character.
    double heightPx = 0;
    double widthPx = 0;
};

// The WCAG minimum: 4.5:1, or 3:1 for large text (18 pt and above, or 14 pt bold and above).
double ContrastThreshold(double points, bool bold);

// Reads author HTML the lenient way a browser does: tag and attribute names in any case, values
// quoted, single-quoted or bare, comments, scripts and style sheets skipped, unclosed or stray
// tags tolerated. Never fails; junk yields whatever facts can be read from it.
HtmlFacts ScanHtml(std::string_view html, const HtmlContext& context);

} // namespace qloom
