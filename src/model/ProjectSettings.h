#pragma once

#include <cstdint>
#include <string>

namespace qloom {

// Colour value: red in bits 0-7, green 8-15, blue 16-23.
using ColorValue = uint32_t;

// Where the small-screen button of the page stands.
enum SmallScreenPlace : int32_t {
    kPlaceTopLeft = 0,
    kPlaceTopRight = 1,
    kPlaceFirstMenu = 2, // at the first menu's place
};
// The breakpoint values with a meaning of their own; any N > 0 is a width in CSS pixels.
inline constexpr int32_t kBreakpointAuto = -1;
inline constexpr int32_t kBreakpointOff = 0;

// Project-wide settings (the script's variables are named in the writer and the reader).
struct ProjectSettings {
    int32_t closeStep = 20; // closing speed, px per 50 ms step
    int32_t openStep = 10;  // opening speed
    ColorValue captionTextColor = 0xFFFFFF;
    ColorValue bodyTextColor = 0xFFFFFF;
    std::string captionFont = "Arial";
    std::string bodyFont = "Arial";
    int32_t captionFontSize = 12; // pt
    int32_t bodyFontSize = 12;    // pt
    std::string templateFileName = "Temp.html";
    std::string projectFolder; // no trailing separator ("/" stays "/"); empty: no active project
    // Below this page width the menus fold behind one button: -1 Auto, 0 Off, N > 0 CSS px.
    int32_t smallScreenBreakpoint = kBreakpointAuto;
    std::string smallScreenCaption = "Menu"; // the button's caption, one line
    int32_t smallScreenPlace = kPlaceTopLeft;

    // The new-project values, keeping projectFolder.
    void resetToNewProject();
    bool operator==(const ProjectSettings& other) const;
    bool operator!=(const ProjectSettings& other) const { return !(*this == other); }
};

} // namespace qloom
