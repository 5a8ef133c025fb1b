#pragma once

#include <QString>

class QPlainTextEdit;

namespace qloom::gui {

// The text of a plain-text editor exactly as typed, line breaks as "\n". QPlainTextEdit's own
// toPlainText() turns every non-breaking space into an ordinary one, which would quietly change
// a caption's HTML at the next keystroke.
QString PlainTextOf(const QPlainTextEdit* edit);

} // namespace qloom::gui
