#include "model/SiteReferences.h"

#include "model/Conversions.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>

namespace qloom {

namespace {

namespace fs = std::filesystem;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

size_t findIgnoringCase(std::string_view text, std::string_view lowerNeedle, size_t from) {
    for (size_t i = from; i + lowerNeedle.size() <= text.size(); ++i)
        if (EqualsIgnoringAsciiCase(text.substr(i, lowerNeedle.size()), lowerNeedle))
            return i;
    return std::string_view::npos;
}

int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    const char l = lower(c);
    return (l >= 'a' && l <= 'f') ? l - 'a' + 10 : -1;
}

// The few entities that turn up in addresses; others are left as written.
std::string readEntities(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '&') {
            const size_t semi = value.find(';', i + 1);
            if (semi != std::string_view::npos && semi - i <= 8) {
                const std::string_view name = value.substr(i + 1, semi - i - 1);
                int code = -1;
                if (EqualsIgnoringAsciiCase(name, "amp"))
                    code = '&';
                else if (EqualsIgnoringAsciiCase(name, "quot"))
                    code = '"';
                else if (EqualsIgnoringAsciiCase(name, "apos"))
                    code = '\'';
                else if (EqualsIgnoringAsciiCase(name, "lt"))
                    code = '<';
                else if (EqualsIgnoringAsciiCase(name, "gt"))
                    code = '>';
                else if (name.size() > 1 && name[0] == '#') {
                    int v = 0;
                    const bool hex = lower(name[1]) == 'x';
                    bool ok = name.size() > (hex ? 2u : 1u);
                    for (size_t k = hex ? 2 : 1; ok && k < name.size(); ++k) {
                        const int d =
                            hex ? hexValue(name[k]) : (isDigit(name[k]) ? name[k] - '0' : -1);
                        ok = d >= 0 && v < 1000;
                        v = v * (hex ? 16 : 10) + d;
                    }
                    if (ok && v > 0 && v < 128)
                        code = v;
                }
                if (code >= 0) {
                    out.push_back(static_cast<char>(code));
                    i = semi;
                    continue;
                }
            }
        }
        out.push_back(value[i]);
    }
    return out;
}

void addUrlsOfStyle(std::string_view style, size_t offset, std::vector<HtmlReference>& out) {
    size_t i = 0;
    while ((i = findIgnoringCase(style, "url(", i)) != std::string_view::npos) {
        size_t start = i + 4;
        while (start < style.size() && isBlank(style[start]))
            ++start;
        char quote = '\0';
        if (start < style.size() && (style[start] == '"' || style[start] == '\''))
            quote = style[start++];
        size_t end = quote ? style.find(quote, start) : style.find(')', start);
        if (end == std::string_view::npos)
            end = style.size();
        size_t last = end;
        while (!quote && last > start && isBlank(style[last - 1]))
            --last;
        out.push_back({offset + start, readEntities(style.substr(start, last - start))});
        i = end;
    }
}

// Each candidate of a SRCSET: an address, then an optional width or density.
void addCandidates(std::string_view set, size_t offset, std::vector<HtmlReference>& out) {
    size_t i = 0;
    while (i < set.size()) {
        while (i < set.size() && (isBlank(set[i]) || set[i] == ','))
            ++i;
        const size_t start = i;
        while (i < set.size() && !isBlank(set[i]))
            ++i;
        size_t end = i;
        if (end > start && set[end - 1] == ',')
            --end; // "a.png," with no descriptor
        if (end > start)
            out.push_back({offset + start, readEntities(set.substr(start, end - start))});
        while (i < set.size() && set[i] != ',')
            ++i;
    }
}

void remember(std::string_view name, std::string_view value, size_t offset,
              std::vector<HtmlReference>& out) {
    if (EqualsIgnoringAsciiCase(name, "src") || EqualsIgnoringAsciiCase(name, "href") ||
        EqualsIgnoringAsciiCase(name, "background") || EqualsIgnoringAsciiCase(name, "poster") ||
        EqualsIgnoringAsciiCase(name, "data"))
        out.push_back({offset, readEntities(value)});
    else if (EqualsIgnoringAsciiCase(name, "srcset"))
        addCandidates(value, offset, out);
    else if (EqualsIgnoringAsciiCase(name, "style"))
        addUrlsOfStyle(value, offset, out);
}

// Reads the attributes of the tag whose name ends at `i`; returns the position after ">".
size_t readAttributes(std::string_view html, size_t i, std::vector<HtmlReference>& out) {
    const size_t n = html.size();
    while (i < n) {
        while (i < n && (isBlank(html[i]) || html[i] == '/'))
            ++i;
        if (i >= n)
            return n;
        if (html[i] == '>')
            return i + 1;
        const size_t nameStart = i++;
        while (i < n && !isBlank(html[i]) && html[i] != '=' && html[i] != '>' && html[i] != '/')
            ++i;
        const std::string_view name = html.substr(nameStart, i - nameStart);
        while (i < n && isBlank(html[i]))
            ++i;
        if (i >= n || html[i] != '=')
            continue;
        ++i;
        while (i < n && isBlank(html[i]))
            ++i;
        size_t start = i, end;
        if (i < n && (html[i] == '"' || html[i] == '\'')) {
            const char quote = html[i];
            start = i + 1;
            end = html.find(quote, start);
            if (end == std::string_view::npos)
                end = n;
            i = end < n ? end + 1 : n;
        } else {
            while (i < n && !isBlank(html[i]) && html[i] != '>')
                ++i;
            end = i;
        }
        remember(name, html.substr(start, end - start), start, out);
    }
    return n;
}

} // namespace

std::vector<HtmlReference> FindReferences(std::string_view html) {
    std::vector<HtmlReference> out;
    const size_t n = html.size();
    size_t i = 0;
    while ((i = html.find('<', i)) != std::string_view::npos) {
        if (html.compare(i, 4, "<!--") == 0) {
            const size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? n : end + 3;
            continue;
        }
        if (i + 1 >= n || !isAlpha(html[i + 1])) {
            ++i;
            continue;
        }
        const size_t nameStart = i + 1;
        size_t nameEnd = nameStart;
        while (nameEnd < n && !isBlank(html[nameEnd]) && html[nameEnd] != '>' &&
               html[nameEnd] != '/')
            ++nameEnd;
        const std::string_view name = html.substr(nameStart, nameEnd - nameStart);
        i = readAttributes(html, nameEnd, out);
        if (EqualsIgnoringAsciiCase(name, "script") || EqualsIgnoringAsciiCase(name, "style")) {
            const size_t end = findIgnoringCase(
                html, EqualsIgnoringAsciiCase(name, "script") ? "</script" : "</style", i);
            i = end == std::string_view::npos ? n : end;
        }
    }
    return out;
}

std::optional<std::string> LocalPath(std::string_view address) {
    while (!address.empty() && isBlank(address.front()))
        address.remove_prefix(1);
    while (!address.empty() && isBlank(address.back()))
        address.remove_suffix(1);
    if (address.empty() || address.front() == '#' || address.substr(0, 2) == "//" ||
        address.substr(0, 2) == "\\\\")
        return std::nullopt;
    // A scheme: a letter, then letters, digits, "+", "-" or ".", then ":" before any "/".
    if (isAlpha(address.front())) {
        size_t k = 1;
        while (k < address.size() && (isAlpha(address[k]) || isDigit(address[k]) ||
                                      address[k] == '+' || address[k] == '-' || address[k] == '.'))
            ++k;
        if (k < address.size() && address[k] == ':')
            return std::nullopt;
    }
    const size_t cut = address.find_first_of("?#");
    if (cut != std::string_view::npos)
        address = address.substr(0, cut);
    std::string path;
    path.reserve(address.size());
    for (size_t i = 0; i < address.size(); ++i) {
        if (address[i] == '%' && i + 2 < address.size()) {
            const int hi = hexValue(address[i + 1]), lo = hexValue(address[i + 2]);
            if (hi >= 0 && lo >= 0 && (hi | lo) != 0) {
                path.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        path.push_back(address[i]);
    }
    if (path.empty())
        return std::nullopt; // "?page=2": the page itself
    return path;
}

std::string ResolveLocalPath(std::string_view path, std::string_view projectFolder,
                             std::string_view siteFolder) {
    fs::path full;
    if (!path.empty() && path.front() == '/') {
        full = fs::path(std::string(siteFolder.empty() ? projectFolder : siteFolder)) /
               fs::path(std::string(path.substr(1)));
    } else {
        full = fs::path(std::string(projectFolder)) / fs::path(std::string(path));
    }
    return full.lexically_normal().string();
}

bool LocalFileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::path(path), error);
}

std::string RelativeToFolder(const std::string& path, std::string_view folder) {
    const fs::path relative = fs::path(path).lexically_relative(fs::path(std::string(folder)));
    return relative.empty() ? path : relative.string();
}

std::vector<SiteFile> ListSiteFiles(const Project& project, std::string_view siteFolder) {
    const std::string& folder = project.settings.projectFolder;
    std::vector<SiteFile> files;
    std::unordered_set<std::string> seen;
    const auto add = [&](const std::string& path, bool isTemplate) {
        const std::string full = ResolveLocalPath(path, folder, siteFolder);
        if (!seen.insert(full).second)
            return;
        SiteFile& file = files.emplace_back();
        file.path = RelativeToFolder(full, folder);
        file.exists = LocalFileExists(full);
        file.template_ = isTemplate;
    };
    add(project.settings.templateFileName, true);
    for (const Menu& menu : project.menus) {
        for (const std::string* html : {&menu.captionHtml, &menu.bodyHtml}) {
            for (const HtmlReference& reference : FindReferences(*html)) {
                if (const std::optional<std::string> path = LocalPath(reference.value))
                    add(*path, false);
            }
        }
    }
    return files;
}

} // namespace qloom
