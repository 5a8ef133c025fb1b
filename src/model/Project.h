#pragma once

#include "model/MenuTable.h"
#include "model/ProjectSettings.h"

#include <string>
#include <vector>

namespace qloom {

// Everything the main window owns about the active project.
struct Project {
    MenuTable table;
    ProjectSettings settings;
    std::vector<std::string> HeaderLines; // filled by ComposeScript, read by SaveScript
};

} // namespace qloom
