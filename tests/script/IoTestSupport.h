#pragma once

#include "model/Project.h"
#include "script/ScriptReader.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qloom::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qloom-io-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

inline std::vector<std::string> listFolder(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Collects the reader's messages in the order it gave them, over one or more loads.
struct MessageLog {
    std::vector<std::string> shown;
    LoadResult keep(LoadResult result) {
        shown.insert(shown.end(), result.messages.begin(), result.messages.end());
        return result;
    }
};

inline LoadResult loadText(std::string_view text, Project& project, MessageLog& log) {
    return log.keep(LoadProjectFromText(text, project));
}

inline LoadResult loadFile(const std::string& path, Project& project, MessageLog& log) {
    return log.keep(LoadProject(path, project));
}

inline std::string cannotFind(const std::string& prefix) {
    return "Cannot find: " + prefix + "\r\nThe script file may be corrupted.";
}

// A project that differs from every default, to prove that a refused load changed nothing.
inline Project sentinelProject() {
    Project p;
    p.settings.projectFolder = "/sentinel/folder";
    p.settings.closeStep = 77;
    p.settings.openStep = 66;
    p.settings.captionTextColor = 0x123456;
    p.settings.bodyTextColor = 0x654321;
    p.settings.captionFont = "Courier";
    p.settings.bodyFont = "Verdana";
    p.settings.captionFontSize = 31;
    p.settings.bodyFontSize = 32;
    p.settings.templateFileName = "page.html";
    p.menus.resize(2);
    p.selected = 1;
    for (int i = 0; i < 2; ++i) {
        p.menus[i].left = 500 + i;
        p.menus[i].top = 600 + i;
        p.menus[i].width = 70;
        p.menus[i].captionHeight = 40;
        p.menus[i].activation = 1;
        p.menus[i].floating = 0;
        p.menus[i].orientation = 1;
        p.menus[i].captionHtml = "kept caption";
        p.menus[i].bodyHtml = "kept body";
        p.menus[i].bottomColor = "#010101";
        p.menus[i].captionColor = "#020202";
        p.menus[i].bodyColor = "#030303";
    }
    return p;
}

inline bool sameProject(const Project& a, const Project& b) {
    return a.settings == b.settings && a.sameMenus(b);
}

} // namespace qloom::testing
