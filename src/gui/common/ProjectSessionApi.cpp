#include "gui/common/ProjectSessionApi.h"

namespace qloom::gui {

ProjectSessionApi::~ProjectSessionApi() = default;

} // namespace qloom::gui
