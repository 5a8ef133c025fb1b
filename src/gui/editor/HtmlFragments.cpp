#include "gui/editor/internal/HtmlFragments.h"

#include "model/Conversions.h"
#include "model/Messages.h"

namespace qloom {

namespace {
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kNbsp = "&nbsp;";

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    size_t at = 0;
    while (true) {
        const size_t hit = text.find(from, at);
        if (hit == std::string_view::npos)
            break;
        out.append(text.substr(at, hit - at));
        out.append(to);
        at = hit + from.size();
    }
    out.append(text.substr(at));
    return out;
}
} // namespace

std::string TransformText(std::string_view text) {
    std::string t(text);
    if (!t.empty() && t[0] == ' ')
        t.replace(0, 1, kNbsp);
    t = ReplaceAll(t, "\r\n ", std::string(kCrLf) + std::string(kNbsp));
    t = ReplaceAll(t, "  ", std::string(kNbsp) + std::string(kNbsp));
    return ReplaceAll(t, kCrLf, std::string("<BR>") + std::string(kCrLf));
}

std::string TextFragment(std::string_view text, const TextFragmentOptions& options) {
    std::string body = TransformText(text);
    // The last line only breaks when the user ended it with a line break; a trailing CR LF has
    // already become "<BR>" CR LF above.
    if (!body.empty() && !(body.size() >= 2 && body.compare(body.size() - 2, 2, kCrLf) == 0))
        body += kCrLf;

    const bool hasFont = !(options.defaultFace && options.defaultSize && options.defaultColor);
    std::string out;
    if (options.center)
        out += "<CENTER>";
    if (hasFont) {
        out += "<FONT";
        if (!options.defaultFace)
            out += " FACE=\"" + options.fontFace + "\"";
        if (!options.defaultSize)
            out += " SIZE=\"" + options.fontSize + "\"";
        if (!options.defaultColor)
            out += " COLOR=\"" + ColorToHtml(options.color) + "\"";
        out += ">";
    }
    out += body;
    if (hasFont)
        out += "</FONT>";
    if (options.center)
        out += "</CENTER>";
    return out;
}

std::string LinkFragment(std::string_view url, std::string_view target, std::string_view inner) {
    std::string out = "<A HREF=\"";
    out += url;
    out += "\"";
    if (!target.empty()) {
        out += " TARGET=\"";
        out += target;
        out += "\"";
    }
    out += ">";
    out += inner;
    out += "</A>";
    return out;
}

std::string FileNamePart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string EscapeHtmlAttribute(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string ImageFragment(std::string_view path, std::string_view borderText,
                          std::string_view altText) {
    return "<IMG SRC=\"" + FileNamePart(path) + "\" BORDER=\"" +
           std::to_string(ParseIntOr(borderText, 0)) + "\" ALT=\"" + EscapeHtmlAttribute(altText) +
           "\">";
}

std::string_view ImageAltProblem(std::string_view altText, bool decorative) {
    if (decorative || altText.find_first_not_of(" \t\r\n") != std::string_view::npos)
        return {};
    return msg::kImageNeedsAlt;
}

} // namespace qloom
