#pragma once

// Qt reads texts in two ways that do not suit this program: it guesses from a text whether it is
// HTML when it fills a label, tool tip or message box, and QPlainTextEdit's own toPlainText()
// turns every non-breaking space into an ordinary one. The texts this program shows (folder names
// above all) are never meant as HTML, and a caption's HTML must stay as typed.

#include <QString>

class QPlainTextEdit;

namespace qloom::gui {

// A tool tip that shows `text` character for character, even when it looks like HTML (a folder
// named "a<b>c" must not lose its "<b>" and turn bold).
QString PlainToolTip(const QString& text);

// The text of a plain-text editor exactly as typed, line breaks as "\n", non-breaking spaces
// kept, so a caption's HTML does not change at the next keystroke.
QString PlainTextOf(const QPlainTextEdit* edit);

} // namespace qloom::gui
