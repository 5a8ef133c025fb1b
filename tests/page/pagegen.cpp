// Writes a project's script and template page the way the editor does, for the browser tests:
//   qloom-pagegen FOLDER [--preview] < project.json
// The JSON carries "settings", "selectedMenu" and "menus" (one object per row, keys named after
// the script arrays). Missing keys keep the new-project values.
#include "model/Conversions.h"
#include "model/Project.h"
#include "script/ScriptSaver.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <string>

namespace {

using nlohmann::json;

template <typename T> void take(const json& from, const char* key, T& to) {
    if (from.contains(key))
        to = from.at(key).get<T>();
}

void takeColor(const json& from, const char* key, qloom::ColorValue& to) {
    if (from.contains(key))
        to = qloom::HtmlToColor(from.at(key).get<std::string>());
}

qloom::Project readProject(const json& in, const std::string& folder) {
    qloom::Project p;
    auto& s = p.settings;
    s.ProjectFolder = folder;
    if (in.contains("settings")) {
        const json& js = in.at("settings");
        take(js, "scrIN", s.scrIN);
        take(js, "scrOUT", s.scrOUT);
        takeColor(js, "cDefCap", s.cDefCap);
        takeColor(js, "cDefMenu", s.cDefMenu);
        take(js, "fDefCap", s.fDefCap);
        take(js, "fDefMenu", s.fDefMenu);
        take(js, "fDefCapS", s.fDefCapS);
        take(js, "fDefMenuS", s.fDefMenuS);
        take(js, "template", s.TemplateFileName);
    }
    auto& t = p.table;
    const json menus = in.value("menus", json::array());
    for (const json& m : menus) {
        const int32_t i = t.MenuCount++;
        t.MX[i] = m.value("MX", 10);
        t.MY[i] = m.value("MY", 10);
        t.MW[i] = m.value("MW", 150);
        t.MTCH[i] = m.value("MTCH", 22);
        t.MA[i] = m.value("MA", 0);
        t.FL[i] = m.value("FL", 1);
        t.OO[i] = m.value("OO", 0);
        t.MTC[i] = m.value("MTC", std::string("Caption"));
        t.MTM[i] = m.value("MTM", std::string("Blank menu"));
        t.CO[i] = m.value("CO", std::string("transparent"));
        t.CC[i] = m.value("CC", std::string("#000000"));
        t.CM[i] = m.value("CM", std::string("#008080"));
    }
    t.SelectedMenu = in.value("selectedMenu", 0);
    return p;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: qloom-pagegen FOLDER [--preview] < project.json\n";
        return 2;
    }
    const bool preview = argc > 2 && std::string(argv[2]) == "--preview";
    try {
        qloom::Project project = readProject(json::parse(std::cin), argv[1]);
        const qloom::Status st = qloom::SaveScript(project, preview);
        if (!st) {
            std::cerr << st.message << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 2;
    }
    return 0;
}
