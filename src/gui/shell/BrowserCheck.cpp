#include "gui/shell/internal/BrowserCheck.h"

namespace qloom {

bool BrowserComponentOk(std::string_view chromiumVersion, bool helperProcessExists,
                        bool resourcesExist, int minimumMajor) {
    if (!helperProcessExists || !resourcesExist)
        return false;
    long major = 0;
    size_t i = 0;
    for (; i < chromiumVersion.size() && chromiumVersion[i] >= '0' && chromiumVersion[i] <= '9';
         ++i) {
        major = major * 10 + (chromiumVersion[i] - '0');
        if (major > 1000000)
            return true;
    }
    return i > 0 && major >= minimumMajor;
}

} // namespace qloom
