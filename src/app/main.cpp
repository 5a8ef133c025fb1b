#include "model/Messages.h"

#include <QApplication>
#include <QMainWindow>
#include <QString>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Qt WebEngine refuses to run as root with its sandbox on; ordinary users keep it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(
        QString::fromUtf8(qloom::msg::kAppTitle.data(), int(qloom::msg::kAppTitle.size())));
    QMainWindow window;
    window.setWindowTitle(
        QString::fromUtf8(qloom::msg::kMainCaption.data(), int(qloom::msg::kMainCaption.size())));
    window.resize(392, 329);
    window.show();
    return app.exec();
}
