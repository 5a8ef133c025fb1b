#pragma once

#include <cstdint>
#include <string>

namespace qloom {

// Colour value: red in bits 0-7, green 8-15, blue 16-23.
using ColorValue = uint32_t;

// Project-wide settings; the field names are those of the script variables that carry them.
struct ProjectSettings {
    int32_t scrIN = 20;  // closing speed, px per 50 ms step
    int32_t scrOUT = 10; // opening speed
    ColorValue cDefCap = 0xFFFFFF;
    ColorValue cDefMenu = 0xFFFFFF;
    std::string fDefCap = "Arial";
    std::string fDefMenu = "Arial";
    int32_t fDefCapS = 12;
    int32_t fDefMenuS = 12;
    std::string TemplateFileName = "Temp.html";
    std::string ProjectFolder; // no trailing separator ("/" stays "/"); empty: no active project

    // The new-project values, keeping ProjectFolder.
    void resetToNewProject();
    bool operator==(const ProjectSettings& other) const;
    bool operator!=(const ProjectSettings& other) const { return !(*this == other); }
};

} // namespace qloom
