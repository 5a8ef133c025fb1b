#pragma once

#include "model/ProjectSettings.h"

#include <string_view>

namespace qloom {

// Relative luminance of an sRGB colour (0 = black, 1 = white), as the WCAG contrast rules define
// it: each channel linearised, then weighted 0.2126 R + 0.7152 G + 0.0722 B.
double RelativeLuminance(ColorValue color);

// (lighter + 0.05) / (darker + 0.05): from 1 (equal colours) to 21 (black on white). The order of
// the arguments does not matter.
double ContrastRatio(ColorValue a, ColorValue b);
double ContrastRatioOfLuminances(double a, double b);

// A colour as a browser reads the COLOR attribute of an old-style FONT element: "#RRGGBB",
// "RRGGBB", "#RGB" or one of the sixteen basic colour names, in either case, blanks around it
// ignored. Returns false, leaving `out` untouched, for anything else.
bool TryParseLegacyColor(std::string_view text, ColorValue& out);

} // namespace qloom
