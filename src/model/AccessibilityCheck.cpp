#include "model/AccessibilityCheck.h"

#include "model/Contrast.h"
#include "model/Conversions.h"
#include "model/HtmlFacts.h"
#include "model/Messages.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string_view>

namespace qloom {

namespace {

constexpr ColorValue kWhite = 0xFFFFFF;

// Replaces each "%s" of `pattern` in turn.
std::string fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(pattern.size() + 32);
    auto value = values.begin();
    size_t i = 0;
    while (i < pattern.size()) {
        const size_t at = pattern.find("%s", i);
        if (at == std::string_view::npos || value == values.end()) {
            out.append(pattern.substr(i));
            break;
        }
        out.append(pattern.substr(i, at - i));
        out.append(*value++);
        i = at + 2;
    }
    return out;
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

std::string pixels(double value) {
    return std::to_string(static_cast<long long>(std::ceil(value)));
}

// What stands behind a caption or body: its own colour, else the owner box's, else the page.
struct Behind {
    bool known = false;
    ColorValue color = kWhite;
    Backdrop backdrop = Backdrop::Own;
};

Behind behind(const std::string& own, const std::string& bottom) {
    Behind b;
    if (own != "transparent") {
        b.known = TryHtmlToColor(own, b.color);
        return b;
    }
    if (bottom != "transparent") {
        b.backdrop = Backdrop::BottomColor;
        b.known = TryHtmlToColor(bottom, b.color);
        return b;
    }
    b.backdrop = Backdrop::AssumedWhite;
    b.known = true;
    return b;
}

struct PartLook {
    TextLook caption, menu;
};

PartLook classLooks(const ProjectSettings& settings) {
    PartLook looks;
    looks.caption.color = settings.cDefCap & 0xFFFFFF;
    looks.caption.points = settings.fDefCapS;
    looks.menu.color = settings.cDefMenu & 0xFFFFFF;
    looks.menu.points = settings.fDefMenuS;
    return looks;
}

void addContrast(int32_t row, MenuPart part, const HtmlFacts& facts, const Behind& back,
                 std::vector<AccessibilityFinding>& out) {
    if (!facts.hasWorst || facts.worstRatio >= facts.worstThreshold)
        return;
    AccessibilityFinding f;
    f.row = row;
    f.part = part;
    const bool caption = part == MenuPart::Caption;
    f.kind = caption ? CheckKind::CaptionContrast : CheckKind::BodyContrast;
    const bool fromHtml = facts.worst.source != TextColorSource::ClassRule;
    f.fix = fromHtml ? (caption ? FixPlace::CaptionHtml : FixPlace::MenuHtml)
                     : (caption ? FixPlace::CaptionColor : FixPlace::MenuColor);
    f.measured = facts.worstRatio;
    f.threshold = facts.worstThreshold;
    f.backdrop = back.backdrop;
    f.text = fill(caption ? msg::kCheckCaptionContrast : msg::kCheckBodyContrast,
                  {MenuLabel(row), ColorToHtml(facts.worst.color), ColorToHtml(back.color),
                   FormatRatio(f.measured, f.threshold), number(f.threshold)});
    if (back.backdrop == Backdrop::BottomColor)
        f.text += msg::kCheckOnBottomColor;
    else if (back.backdrop == Backdrop::AssumedWhite)
        f.text += msg::kCheckAgainstWhite;
    if (facts.worst.source == TextColorSource::FontElement)
        f.text += msg::kCheckFromFontColor;
    else if (facts.worst.source == TextColorSource::LinkDefault)
        f.text += msg::kCheckFromLinkColor;
    out.push_back(std::move(f));
}

void addCount(int32_t row, MenuPart part, CheckKind kind, int32_t count, std::string_view pattern,
              std::vector<AccessibilityFinding>& out) {
    if (count <= 0)
        return;
    AccessibilityFinding f;
    f.row = row;
    f.kind = kind;
    f.part = part;
    f.fix = part == MenuPart::Caption ? FixPlace::CaptionHtml : FixPlace::MenuHtml;
    f.measured = count;
    f.threshold = 0;
    f.text = fill(pattern, {MenuLabel(row), std::to_string(count)});
    out.push_back(std::move(f));
}

void addTargetSize(int32_t row, int32_t size, bool high, FixPlace fix,
                   std::vector<AccessibilityFinding>& out) {
    if (size >= kMinimumTargetPx)
        return;
    AccessibilityFinding f;
    f.row = row;
    f.kind = CheckKind::TargetTooSmall;
    f.fix = fix;
    f.measured = size;
    f.threshold = kMinimumTargetPx;
    f.text = fill(high ? msg::kCheckCaptionTooLow : msg::kCheckCaptionTooNarrow,
                  {MenuLabel(row), std::to_string(size), std::to_string(kMinimumTargetPx)});
    out.push_back(std::move(f));
}

} // namespace

std::string FormatRatio(double ratio, double threshold) {
    double shown = std::round(ratio * 100) / 100;
    if (ratio < threshold && shown >= threshold)
        shown = std::floor(ratio * 100) / 100;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", shown);
    return buffer;
}

void CheckMenu(const MenuTable& table, const ProjectSettings& settings, int32_t row,
               std::vector<AccessibilityFinding>& out, int32_t bodyExtent) {
    if (!table.isRow(row))
        return;
    const bool vertical = table.OO[row] != 0;
    const PartLook looks = classLooks(settings);

    // The caption is what a visitor points at; a vertical menu turns it on its side.
    if (vertical) {
        addTargetSize(row, table.MTCH[row], false, FixPlace::CaptionHeightField, out);
        addTargetSize(row, table.MW[row], true, FixPlace::WidthField, out);
    } else {
        addTargetSize(row, table.MTCH[row], true, FixPlace::CaptionHeightField, out);
        addTargetSize(row, table.MW[row], false, FixPlace::WidthField, out);
    }

    HtmlContext context;
    context.captionClass = looks.caption;
    context.menuClass = looks.menu;

    const Behind capBack = behind(table.CC[row], table.CO[row]);
    context.base = looks.caption;
    context.backgroundLuminance = RelativeLuminance(capBack.color);
    const HtmlFacts cap = ScanHtml(table.MTC[row], context);
    if (capBack.known)
        addContrast(row, MenuPart::Caption, cap, capBack, out);
    if (!cap.hasText && !cap.hasImageText) {
        AccessibilityFinding f;
        f.row = row;
        f.kind = CheckKind::CaptionWithoutText;
        f.fix = FixPlace::CaptionHtml;
        f.text = fill(msg::kCheckCaptionWithoutText, {MenuLabel(row)});
        out.push_back(std::move(f));
    }
    addCount(row, MenuPart::Caption, CheckKind::ImageWithoutAlt, cap.imagesWithoutAlt,
             msg::kCheckCaptionImageWithoutAlt, out);
    addCount(row, MenuPart::Caption, CheckKind::LinkWithoutText, cap.linksWithoutText,
             msg::kCheckCaptionLinkWithoutText, out);

    const Behind bodyBack = behind(table.CM[row], table.CO[row]);
    context.base = looks.menu;
    context.backgroundLuminance = RelativeLuminance(bodyBack.color);
    const HtmlFacts body = ScanHtml(table.MTM[row], context);
    if (bodyBack.known)
        addContrast(row, MenuPart::Body, body, bodyBack, out);
    addCount(row, MenuPart::Body, CheckKind::ImageWithoutAlt, body.imagesWithoutAlt,
             msg::kCheckBodyImageWithoutAlt, out);
    addCount(row, MenuPart::Body, CheckKind::LinkWithoutText, body.linksWithoutText,
             msg::kCheckBodyLinkWithoutText, out);

    const bool estimated = bodyExtent < 0;
    const double extent = static_cast<double>(table.MTCH[row]) +
                          (estimated ? (vertical ? body.widthPx : body.heightPx) : bodyExtent);
    if (extent > kShownMenuExtentPx) {
        AccessibilityFinding f;
        f.row = row;
        f.kind = CheckKind::BodyCutOff;
        f.part = MenuPart::Body;
        f.fix = FixPlace::MenuHtml;
        f.measured = extent;
        f.threshold = kShownMenuExtentPx;
        f.estimated = estimated;
        const std::string size =
            (estimated ? std::string(msg::kCheckEstimatedPrefix) : std::string()) + pixels(extent);
        f.text = fill(vertical ? msg::kCheckBodyTooWide : msg::kCheckBodyTooTall,
                      {MenuLabel(row), size, std::to_string(kShownMenuExtentPx)});
        out.push_back(std::move(f));
    }
}

std::vector<AccessibilityFinding> CheckProject(const MenuTable& table,
                                               const ProjectSettings& settings,
                                               const std::vector<int32_t>* bodyExtents) {
    std::vector<AccessibilityFinding> out;
    for (int32_t row = 0; row < table.MenuCount && row < MenuTable::kCapacity; ++row) {
        const bool reported = bodyExtents && static_cast<size_t>(row) < bodyExtents->size();
        CheckMenu(table, settings, row, out, reported ? (*bodyExtents)[row] : -1);
    }
    return out;
}

} // namespace qloom
