#pragma once

#include "model/Project.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qloom {

// Called when the caption swap changed the caption of the selected row, so the caption editor
// can show the new text (under SuppressChange).
using CaptionSwapHook = std::function<void(int32_t row, const std::string& newCaption)>;

// Fills project.HeaderLines with the script header (version line ... twelve array lines).
// Swaps "Caption" and the vertical default caption in the table where the orientation asks.
void ComposeScript(Project& project, bool forPreview, const CaptionSwapHook& onSelectedSwap = {});

} // namespace qloom
