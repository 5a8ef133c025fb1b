#pragma once

#include "model/Project.h"

#include <string>
#include <vector>

namespace qloom {

// The script header for the project as it stands (version line ... the twelve array lines, then
// the small-screen line), one text per line. Changes nothing: the caption swap every save makes
// is the caller's edit (SwapDefaultCaptions) before it composes.
std::vector<std::string> ComposeScript(const Project& project, bool forPreview);

// The last header line: the small-screen settings as the runtime reads them,
// e.g. var Qloom={breakpoint:-1,place:0,caption:"Menu"};
std::string SmallScreenLine(const ProjectSettings& settings);

} // namespace qloom
