#pragma once

#include <QPixmap>

namespace qloom::gui {

// The program's 32 x 32 logo, drawn rather than shipped: a caption bar over a teal menu body.
QPixmap ProgramLogo();

} // namespace qloom::gui
