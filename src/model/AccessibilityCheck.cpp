#include "model/AccessibilityCheck.h"

#include "model/Conversions.h"
#include "model/HtmlFacts.h"
#include "model/Messages.h"
#include "model/SiteReferences.h"
#include "model/internal/Contrast.h"
#include "model/internal/GluedWords.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>
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

// The page's clCap and clMenu rules, which the caption and the body start from.
HtmlContext classContext(const ProjectSettings& settings) {
    HtmlContext context;
    context.captionClass.color = settings.captionTextColor & 0xFFFFFF;
    context.captionClass.points = settings.captionFontSize;
    context.menuClass.color = settings.bodyTextColor & 0xFFFFFF;
    context.menuClass.points = settings.bodyFontSize;
    return context;
}

void addContrast(int32_t row, MenuPart part, const HtmlFacts& facts, const Behind& back,
                 std::vector<AccessibilityFinding>& out) {
    if (!facts.hasWorst || facts.worstRatio >= facts.worstThreshold)
        return;
    AccessibilityFinding& f = out.emplace_back();
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
    f.textColor = facts.worst.color;
    f.backgroundColor = back.color;
    f.colorSource = facts.worst.source;
}

// Scans a caption's or body's HTML in its own class look, over what stands behind it, and
// reports its weakest contrast; an unreadable background colour judges nothing.
HtmlFacts scanPart(int32_t row, MenuPart part, const std::string& html, const Behind& back,
                   HtmlContext context, std::vector<AccessibilityFinding>& out) {
    context.base = part == MenuPart::Caption ? context.captionClass : context.menuClass;
    context.backgroundLuminance = RelativeLuminance(back.color);
    HtmlFacts facts = ScanHtml(html, context);
    if (back.known)
        addContrast(row, part, facts, back, out);
    return facts;
}

void addCount(int32_t row, MenuPart part, CheckKind kind, int32_t count,
              std::vector<AccessibilityFinding>& out) {
    if (count <= 0)
        return;
    AccessibilityFinding& f = out.emplace_back();
    f.row = row;
    f.kind = kind;
    f.part = part;
    f.fix = part == MenuPart::Caption ? FixPlace::CaptionHtml : FixPlace::MenuHtml;
    f.measured = count;
    f.threshold = 0;
}

void addTargetSize(int32_t row, bool vertical, int32_t size, FixPlace fix,
                   std::vector<AccessibilityFinding>& out) {
    if (size >= kMinimumTargetPx)
        return;
    AccessibilityFinding& f = out.emplace_back();
    f.row = row;
    f.kind = CheckKind::TargetTooSmall;
    f.fix = fix;
    f.vertical = vertical;
    f.measured = size;
    f.threshold = kMinimumTargetPx;
}

void addGlued(int32_t row, MenuPart part, const std::string& html,
              std::vector<AccessibilityFinding>& out) {
    for (GluedBreak& glued : FindGluedBreaks(html)) {
        AccessibilityFinding& f = out.emplace_back();
        f.row = row;
        f.kind = CheckKind::GluedWords;
        f.part = part;
        f.fix = part == MenuPart::Caption ? FixPlace::CaptionHtml : FixPlace::MenuHtml;
        f.insideTag = glued.insideTag;
        f.offset = static_cast<int32_t>(glued.offset);
        f.detail = std::move(glued.before);
        f.detail2 = std::move(glued.after);
    }
}

void addMissingFiles(int32_t row, MenuPart part, const std::string& html, const SiteFolders& site,
                     std::vector<AccessibilityFinding>& out) {
    for (HtmlReference& reference : FindReferences(html)) {
        const std::optional<std::string> path = LocalPath(reference.value);
        if (!path)
            continue;
        std::string full = ResolveLocalPath(*path, site.project, site.site);
        if (LocalFileExists(full))
            continue;
        AccessibilityFinding& f = out.emplace_back();
        f.row = row;
        f.kind = CheckKind::MissingFile;
        f.part = part;
        f.fix = part == MenuPart::Caption ? FixPlace::CaptionHtml : FixPlace::MenuHtml;
        f.offset = static_cast<int32_t>(reference.offset);
        f.detail = std::move(reference.value);
        f.detail2 = std::move(full);
    }
}

// How far right a menu reaches on a desktop page. A horizontal menu is Width wide. A vertical
// menu's caption is Caption Height wide; its body slides out to the right by a width only the
// page knows, so the caption's right edge is what can be judged here.
void addPlacement(const Menu& menu, int32_t row, bool vertical,
                  std::vector<AccessibilityFinding>& out) {
    const int64_t left = menu.left;
    const int64_t right = left + (vertical ? menu.captionHeight : menu.width);
    if (left >= 0 && right <= kDesktopPageWidthPx)
        return;
    AccessibilityFinding& f = out.emplace_back();
    f.row = row;
    f.kind = CheckKind::OffPage;
    f.fix = FixPlace::LeftField;
    f.vertical = vertical;
    f.measured = left < 0 ? double(left) : double(right);
    f.threshold = left < 0 ? 0 : kDesktopPageWidthPx;
}

std::string gluedText(const AccessibilityFinding& f) {
    const bool caption = f.part == MenuPart::Caption;
    if (f.insideTag)
        return fill(caption ? msg::kCheckCaptionGluedTag : msg::kCheckBodyGluedTag,
                    {MenuLabel(f.row), f.detail, f.detail2});
    return fill(caption ? msg::kCheckCaptionGlued : msg::kCheckBodyGlued,
                {MenuLabel(f.row), f.detail, f.detail2, f.detail, f.detail2});
}

std::string contrastText(const AccessibilityFinding& f) {
    std::string text =
        fill(f.part == MenuPart::Caption ? msg::kCheckCaptionContrast : msg::kCheckBodyContrast,
             {MenuLabel(f.row), ColorToHtml(f.textColor), ColorToHtml(f.backgroundColor),
              FormatRatio(f.measured, f.threshold), number(f.threshold)});
    if (f.backdrop == Backdrop::BottomColor)
        text += msg::kCheckOnBottomColor;
    else if (f.backdrop == Backdrop::AssumedWhite)
        text += msg::kCheckAgainstWhite;
    if (f.colorSource == TextColorSource::FontElement)
        text += msg::kCheckFromFontColor;
    else if (f.colorSource == TextColorSource::LinkDefault)
        text += msg::kCheckFromLinkColor;
    return text;
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

std::string FindingText(const AccessibilityFinding& f) {
    const bool caption = f.part == MenuPart::Caption;
    const std::string count = std::to_string(static_cast<long long>(f.measured));
    switch (f.kind) {
    case CheckKind::CaptionContrast:
    case CheckKind::BodyContrast:
        return contrastText(f);
    case CheckKind::TargetTooSmall: {
        // MTCH is the caption's height across a horizontal menu and its width along a vertical.
        const bool high = (f.fix == FixPlace::CaptionHeightField) != f.vertical;
        return fill(high ? msg::kCheckCaptionTooLow : msg::kCheckCaptionTooNarrow,
                    {MenuLabel(f.row), count, number(f.threshold)});
    }
    case CheckKind::ImageWithoutAlt:
        return fill(caption ? msg::kCheckCaptionImageWithoutAlt : msg::kCheckBodyImageWithoutAlt,
                    {MenuLabel(f.row), count});
    case CheckKind::CaptionWithoutText:
        return fill(msg::kCheckCaptionWithoutText, {MenuLabel(f.row)});
    case CheckKind::LinkWithoutText:
        return fill(caption ? msg::kCheckCaptionLinkWithoutText : msg::kCheckBodyLinkWithoutText,
                    {MenuLabel(f.row), count});
    case CheckKind::BodyCutOff: {
        const std::string size =
            (f.estimated ? std::string(msg::kCheckEstimatedPrefix) : std::string()) +
            pixels(f.measured);
        return fill(f.vertical ? msg::kCheckBodyTooWide : msg::kCheckBodyTooTall,
                    {MenuLabel(f.row), size, number(f.threshold)});
    }
    case CheckKind::GluedWords:
        return gluedText(f);
    case CheckKind::MissingFile:
        return fill(caption ? msg::kCheckCaptionMissingFile : msg::kCheckBodyMissingFile,
                    {MenuLabel(f.row), f.detail, f.detail2});
    case CheckKind::OffPage:
        if (f.measured < 0)
            return fill(msg::kCheckOffPageLeft, {MenuLabel(f.row), pixels(f.measured)});
        return fill(f.vertical ? msg::kCheckOffPageRightVertical : msg::kCheckOffPageRight,
                    {MenuLabel(f.row), pixels(f.measured), number(f.threshold)});
    case CheckKind::SmallScreenOff:
        return std::string(msg::kCheckSmallScreenOff);
    }
    return {};
}

void CheckProjectWide(int32_t smallScreenBreakpoint, std::vector<AccessibilityFinding>& out) {
    if (smallScreenBreakpoint != 0)
        return;
    AccessibilityFinding& f = out.emplace_back();
    f.row = kProjectRow;
    f.kind = CheckKind::SmallScreenOff;
    f.fix = FixPlace::ProjectSettings;
}

void CheckMenu(const std::vector<Menu>& menus, const ProjectSettings& settings, int32_t row,
               std::vector<AccessibilityFinding>& out, int32_t bodyExtent,
               const SiteFolders* site) {
    if (row < 0 || static_cast<size_t>(row) >= menus.size())
        return;
    const Menu& menu = menus[static_cast<size_t>(row)];
    const bool vertical = menu.orientation != 0;

    addPlacement(menu, row, vertical, out);

    addTargetSize(row, vertical, menu.captionHeight, FixPlace::CaptionHeightField, out);
    addTargetSize(row, vertical, menu.width, FixPlace::WidthField, out);

    const HtmlContext context = classContext(settings);

    const HtmlFacts cap = scanPart(row, MenuPart::Caption, menu.captionHtml,
                                   behind(menu.captionColor, menu.bottomColor), context, out);
    if (!cap.hasText && !cap.hasImageText) {
        AccessibilityFinding& f = out.emplace_back();
        f.row = row;
        f.kind = CheckKind::CaptionWithoutText;
        f.fix = FixPlace::CaptionHtml;
    }
    addCount(row, MenuPart::Caption, CheckKind::ImageWithoutAlt, cap.imagesWithoutAlt, out);
    addCount(row, MenuPart::Caption, CheckKind::LinkWithoutText, cap.linksWithoutText, out);
    addGlued(row, MenuPart::Caption, menu.captionHtml, out);
    if (site && !site->project.empty())
        addMissingFiles(row, MenuPart::Caption, menu.captionHtml, *site, out);

    const HtmlFacts body = scanPart(row, MenuPart::Body, menu.bodyHtml,
                                    behind(menu.bodyColor, menu.bottomColor), context, out);
    addCount(row, MenuPart::Body, CheckKind::ImageWithoutAlt, body.imagesWithoutAlt, out);
    addCount(row, MenuPart::Body, CheckKind::LinkWithoutText, body.linksWithoutText, out);
    addGlued(row, MenuPart::Body, menu.bodyHtml, out);
    if (site && !site->project.empty())
        addMissingFiles(row, MenuPart::Body, menu.bodyHtml, *site, out);

    const bool estimated = bodyExtent < 0;
    const double extent = static_cast<double>(menu.captionHeight) +
                          (estimated ? (vertical ? body.widthPx : body.heightPx) : bodyExtent);
    if (extent > kShownMenuExtentPx) {
        AccessibilityFinding& f = out.emplace_back();
        f.row = row;
        f.kind = CheckKind::BodyCutOff;
        f.part = MenuPart::Body;
        f.fix = FixPlace::MenuHtml;
        f.vertical = vertical;
        f.measured = extent;
        f.threshold = kShownMenuExtentPx;
        f.estimated = estimated;
    }
}

std::vector<AccessibilityFinding> CheckProject(const std::vector<Menu>& menus,
                                               const ProjectSettings& settings,
                                               const std::vector<int32_t>* bodyExtents,
                                               const SiteFolders* site) {
    std::vector<AccessibilityFinding> out;
    out.reserve(menus.size());
    CheckProjectWide(settings.smallScreenBreakpoint, out);
    for (int32_t row = 0; static_cast<size_t>(row) < menus.size(); ++row) {
        const bool reported = bodyExtents && static_cast<size_t>(row) < bodyExtents->size();
        CheckMenu(menus, settings, row, out, reported ? (*bodyExtents)[row] : -1, site);
    }
    return out;
}

} // namespace qloom
