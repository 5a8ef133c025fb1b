#pragma once

#include "model/Project.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qloom {

// Called when the caption swap changed the caption of the selected row, so the caption editor
// can show the new text (with its change signals blocked).
using CaptionSwapHook = std::function<void(int32_t row, const std::string& newCaption)>;

// The caption composing gives a row of this orientation in place of `caption`: "Caption" for a
// horizontal row that shows the vertical default caption and the other way round; nullptr when
// the caption stays.
const char* SwappedDefaultCaption(int32_t orientation, std::string_view caption);

// Fills project.HeaderLines with the script header (version line ... twelve array lines).
// Swaps "Caption" and the vertical default caption in the table where the orientation asks.
void ComposeScript(Project& project, bool forPreview, const CaptionSwapHook& onSelectedSwap = {});

} // namespace qloom
