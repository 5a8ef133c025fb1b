#pragma once

// Qt guesses from a text whether it is HTML when it fills a label, tool tip or message box. The
// texts this program shows (folder names above all) are never meant as HTML, so a folder named
// "a<b>c" must not lose its "<b>" and turn bold.

#include <QString>
#include <QTextDocument>

namespace qloom::gui {

// A tool tip that shows `text` character for character, even when it looks like HTML.
inline QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace qloom::gui
