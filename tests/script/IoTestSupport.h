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

// Collects the reader's messages in the order they were shown.
struct MessageLog {
    std::vector<std::string> shown;
    ShowMessageFn fn() {
        return [this](const std::string& text) { shown.push_back(text); };
    }
};

inline std::string cannotFind(const std::string& prefix) {
    return "Cannot find: " + prefix + "\r\nThe script file may be corrupted.";
}

// A project that differs from every default, to prove that a refused load changed nothing.
inline Project sentinelProject() {
    Project p;
    p.settings.ProjectFolder = "/sentinel/folder";
    p.settings.scrIN = 77;
    p.settings.scrOUT = 66;
    p.settings.cDefCap = 0x123456;
    p.settings.cDefMenu = 0x654321;
    p.settings.fDefCap = "Courier";
    p.settings.fDefMenu = "Verdana";
    p.settings.fDefCapS = 31;
    p.settings.fDefMenuS = 32;
    p.settings.TemplateFileName = "page.html";
    p.table.MenuCount = 2;
    p.table.SelectedMenu = 1;
    for (int i = 0; i < 2; ++i) {
        p.table.MX[i] = 500 + i;
        p.table.MY[i] = 600 + i;
        p.table.MW[i] = 70;
        p.table.MTCH[i] = 40;
        p.table.MA[i] = 1;
        p.table.FL[i] = 0;
        p.table.OO[i] = 1;
        p.table.MTC[i] = "kept caption";
        p.table.MTM[i] = "kept body";
        p.table.CO[i] = "#010101";
        p.table.CC[i] = "#020202";
        p.table.CM[i] = "#030303";
    }
    return p;
}

inline bool sameProject(const Project& a, const Project& b) {
    return a.settings == b.settings && a.table.sameContent(b.table);
}

} // namespace qloom::testing
