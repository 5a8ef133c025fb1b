#pragma once

// Rules of the property editor that need no widget: what a number box stores, where a spin
// arrow goes, and how caption/menu HTML travels between the table and a plain-text editor.

#include <cstdint>
#include <string>
#include <string_view>

namespace qloom {

struct NumberBoxRule {
    int32_t emptyValue; // stored when the box is emptied
    bool clamped;       // width and caption height are kept within [lower, upper]
    int32_t lower;
    int32_t upper;
};

inline constexpr NumberBoxRule kLeftRule{0, false, 0, 0};
inline constexpr NumberBoxRule kTopRule{0, false, 0, 0};
inline constexpr NumberBoxRule kWidthRule{100, true, 1, 900};
inline constexpr NumberBoxRule kCapHeightRule{22, true, 1, 600};

// Spin ranges (the boxes themselves accept any number the rule above allows).
struct SpinRange {
    int32_t minimum;
    int32_t maximum;
};
inline constexpr SpinRange kLeftSpin{-100, 800};
inline constexpr SpinRange kTopSpin{-100, 600};
inline constexpr SpinRange kWidthSpin{1, 900};
inline constexpr SpinRange kCapHeightSpin{1, 600};

// At most this many characters can be typed into a number box.
inline constexpr int kNumberBoxMaxTyped = 3;

// The value a number box's text stores: the rule's empty value for "", the current value for a
// text that does not parse (a lone "-" while a negative number is being typed), otherwise the
// parsed number, clamped where the rule says.
int32_t NumberFromBox(std::string_view text, int32_t current, const NumberBoxRule& rule);

// Where a spin arrow moves to: one step (+1 or -1) from the number the box shows (or from the
// spin's own position when the box does not parse), kept within the range without wrapping.
int32_t SpinStep(std::string_view boxText, int32_t position, int delta, const SpinRange& range);

// Table HTML uses CR LF line breaks; a plain-text editor works with LF. Lone CRs and LFs in the
// table become single editor line breaks.
std::string HtmlToEditorText(std::string_view html);
std::string EditorTextToHtml(std::string_view text);

} // namespace qloom
