#pragma once
// a second owner of the project below the shell
#include "gui/common/ProjectSessionApi.h"
namespace qloom::gui {
class PreviewSession final : public ProjectSessionApi {};
} // namespace qloom::gui
