#include "gui/preview/internal/PreviewLocation.h"

namespace qloom {

bool StillOnPreviewPage(std::string_view previewUrl, std::string_view location) {
    return !previewUrl.empty() && location.find(previewUrl) != std::string_view::npos;
}

} // namespace qloom
