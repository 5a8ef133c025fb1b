#include "gui/shell/internal/StandardErrorPrompter.h"

#include <cstdio>

namespace qloom::gui {

namespace {
void print(const QString& text) {
    std::fprintf(stderr, "qLoom: %s\n", text.toLocal8Bit().constData());
}
} // namespace

QMessageBox::StandardButton StandardErrorPrompter::ask(QWidget*, const QString&,
                                                       const QString& text, QMessageBox::Icon,
                                                       QMessageBox::StandardButtons,
                                                       QMessageBox::StandardButton defaultButton) {
    print(text);
    return defaultButton;
}

int StandardErrorPrompter::choose(QWidget*, const QString& text, QMessageBox::Icon,
                                  const QStringList&, int) {
    print(text);
    return -1;
}

} // namespace qloom::gui
