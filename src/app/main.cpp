#include "gui/common/SignalBridge.h"
#include "gui/common/TextConv.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/shell/CommandLine.h"
#include "gui/shell/GuardedApplication.h"
#include "gui/shell/InstanceChannel.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProgramIcon.h"
#include "model/Messages.h"
#ifdef QLOOM_TEST_HOOK
#include "gui/shell/TestHook.h"
#endif

#include <unistd.h>

int main(int argc, char* argv[]) {
    const qloom::gui::CommandLine commandLine(argc, argv);
    if (commandLine.answersAtOnce())
        return commandLine.print();
    // Qt WebEngine refuses to run as root with its sandbox on; ordinary users keep it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The preview's browser switches, before anything can start the browser.
    qloom::gui::PreviewWindow::prepareProcess();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qloom::gui::GuardedApplication app(argc, argv);
    // The name, not the display name: a display name would be appended to every window caption.
    QApplication::setApplicationName(qloom::gui::toQ(qloom::msg::kAppTitle));
    // The program ends when the main window closes or the start dialog says "Quit", whatever
    // other windows (preview, start dialog) are still open.
    QApplication::setQuitOnLastWindowClosed(false);

    QApplication::setWindowIcon(QIcon(qloom::gui::ProgramLogo()));

    // A project this user already has open in another qLoom: that window comes to the front,
    // and this program has nothing more to do.
    if (!commandLine.folder().isEmpty() &&
        qloom::gui::InstanceChannel::askHolderToRaise(commandLine.folder()))
        return 0;

    qloom::gui::MainWindow mainWindow;
#ifdef QLOOM_TEST_HOOK
    qloom::gui::PrepareTestAnswersFromEnvironment(mainWindow);
#endif
    app.reportErrorsThrough(mainWindow.session());
    // exit(), not quit(): quit() first asks every window to close, and the start dialog refuses.
    QObject::connect(
        &mainWindow, &qloom::gui::MainWindow::quitRequested, &app,
        [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    mainWindow.show();
    if (!mainWindow.checkBrowserVersion())
        return 1;
    mainWindow.createOtherWindows(commandLine.folder());
#ifdef QLOOM_TEST_HOOK
    qloom::gui::RunTestHookFromEnvironment(mainWindow);
#endif
    // Until here a signal ends the program at once, as it may: no project can be open yet.
    qloom::gui::SignalBridge endRequests;
    QObject::connect(&endRequests, &qloom::gui::SignalBridge::endRequested, &mainWindow,
                     &qloom::gui::MainWindow::endSession);
    return app.exec();
}
