#pragma once

#include <string_view>

namespace qloom {

// Whether a completed document still shows the preview page: its location contains the URL
// recorded when the last preview load completed (the same page, or the page with a fragment or
// query appended). An empty recorded URL never matches. Both texts must be in the same encoding
// (the preview normalises them to fully encoded URLs first).
bool StillOnPreviewPage(std::string_view previewUrl, std::string_view location);

} // namespace qloom
