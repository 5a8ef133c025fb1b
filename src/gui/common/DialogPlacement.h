#pragma once

class QWidget;

namespace qloom::gui {

// Puts a window in the middle of the desktop of the screen it is on, whatever window opened it.
void CenterOnDesktop(QWidget* window);

} // namespace qloom::gui
