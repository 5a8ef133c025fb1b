#pragma once

#include <string_view>

namespace qloom {

// Oldest Chromium of the embedded browser that runs the generated page and the editing layer
// the way the preview expects (Qt 6.2, the first Qt 6 with WebEngine, ships 90).
inline constexpr int kMinimumChromiumMajor = 90;

// Whether the embedded browser component can be used: its Chromium version ("102.0.5005.177")
// has a major number of at least the minimum, and its helper process and resource pack exist
// (without them the first browser view aborts the whole program).
bool BrowserComponentOk(std::string_view chromiumVersion, bool helperProcessExists,
                        bool resourcesExist, int minimumMajor = kMinimumChromiumMajor);

} // namespace qloom
