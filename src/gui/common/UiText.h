#pragma once

// A text of the core's message list (model/Messages.h) as the windows show it: looked up in the
// installed translation first, so the program can be translated without the core (and the CLI,
// which prints the same texts) knowing of Qt. The source texts are the English messages
// themselves, in the context "qLoom".

#include <QCoreApplication>
#include <QString>
#include <string>
#include <string_view>

namespace qloom::gui {

inline QString uiText(std::string_view message) {
    // translate() wants a terminated text; the messages are literals, but a view need not be.
    const std::string source(message);
    return QCoreApplication::translate("qLoom", source.c_str());
}

} // namespace qloom::gui
