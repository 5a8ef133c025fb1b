#include "gui/common/EditorRules.h"

#include "model/Conversions.h"

#include <algorithm>

namespace qloom {

int32_t NumberFromBox(std::string_view text, int32_t current, const NumberBoxRule& rule) {
    if (text.empty())
        return rule.emptyValue;
    const int32_t value = ParseIntOr(text, current);
    return rule.clamped ? ClampInt(value, rule.lower, rule.upper) : value;
}

int32_t SpinStep(std::string_view boxText, int32_t position, int delta, const SpinRange& range) {
    int32_t base = position;
    int32_t shown = 0;
    if (TryParseInt(boxText, shown))
        base = shown;
    base = std::clamp(base, range.minimum, range.maximum);
    const int64_t next = int64_t(base) + delta;
    return int32_t(std::clamp<int64_t>(next, range.minimum, range.maximum));
}

std::string HtmlToEditorText(std::string_view html) {
    std::string out;
    out.reserve(html.size());
    for (size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '\r') {
            out.push_back('\n');
            if (i + 1 < html.size() && html[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string EditorTextToHtml(std::string_view text) {
    return NormaliseLineBreaks(text);
}

} // namespace qloom
