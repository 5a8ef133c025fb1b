#include "model/internal/Contrast.h"

#include "model/Conversions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace qloom {

namespace {

// The channel curve has a pow() in it; the checks run over every menu on every change, so it
// is worked out once per channel value.
const std::array<double, 256>& linearChannel() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int v = 0; v < 256; ++v) {
            const double c = v / 255.0;
            t[v] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

struct NamedColor {
    std::string_view name;
    ColorValue value; // red in the low byte
};

constexpr NamedColor kBasicColors[] = {
    {"black", 0x000000},   {"silver", 0xC0C0C0}, {"gray", 0x808080}, {"grey", 0x808080},
    {"white", 0xFFFFFF},   {"maroon", 0x000080}, {"red", 0x0000FF},  {"purple", 0x800080},
    {"fuchsia", 0xFF00FF}, {"green", 0x008000},  {"lime", 0x00FF00}, {"olive", 0x008080},
    {"yellow", 0x00FFFF},  {"navy", 0x800000},   {"blue", 0xFF0000}, {"teal", 0x808000},
    {"aqua", 0xFFFF00},
};

} // namespace

double RelativeLuminance(ColorValue color) {
    const auto& lin = linearChannel();
    return 0.2126 * lin[color & 0xFF] + 0.7152 * lin[(color >> 8) & 0xFF] +
           0.0722 * lin[(color >> 16) & 0xFF];
}

double ContrastRatioOfLuminances(double a, double b) {
    const double lighter = std::max(a, b);
    const double darker = std::min(a, b);
    return (lighter + 0.05) / (darker + 0.05);
}

double ContrastRatio(ColorValue a, ColorValue b) {
    return ContrastRatioOfLuminances(RelativeLuminance(a), RelativeLuminance(b));
}

bool TryParseLegacyColor(std::string_view text, ColorValue& out) {
    text = TrimBlanksView(text);
    const bool hash = !text.empty() && text.front() == '#';
    const std::string_view digits = hash ? text.substr(1) : text;
    if (digits.size() == 6 || (hash && digits.size() == 3)) {
        uint32_t v[6] = {};
        bool allHex = true;
        for (size_t i = 0; i < digits.size(); ++i) {
            const int d = HexDigitValue(digits[i]);
            allHex = allHex && d >= 0;
            v[i] = static_cast<uint32_t>(d);
        }
        if (allHex) {
            const bool shortForm = digits.size() == 3;
            const uint32_t r = shortForm ? v[0] * 17 : v[0] * 16 + v[1];
            const uint32_t g = shortForm ? v[1] * 17 : v[2] * 16 + v[3];
            const uint32_t b = shortForm ? v[2] * 17 : v[4] * 16 + v[5];
            out = r | (g << 8) | (b << 16);
            return true;
        }
    }
    for (const auto& named : kBasicColors) {
        if (EqualsIgnoringAsciiCase(text, named.name)) {
            out = named.value;
            return true;
        }
    }
    return false;
}

} // namespace qloom
