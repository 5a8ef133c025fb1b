#pragma once

// qloom's command line: `qloom [PATH]` (a project folder or its Qloomscript.js), `--help`,
// `--version`. Help and version are answered before the application object exists, so they work
// without a display (a terminal over ssh, a packaging check).

#include <QString>
#include <QStringList>

namespace qloom::gui {

class CommandLine {
public:
    // Reads the arguments as the program received them (program name first).
    explicit CommandLine(const QStringList& arguments);
    CommandLine(int argc, char* argv[]);

    // --help, --version or a usage error (an unknown option, two folders): print() answers,
    // and the program ends without opening a window.
    bool answersAtOnce() const { return help_ || version_ || !error_.isEmpty(); }
    // Prints the help or version text (stdout) or the usage error (stderr); the exit code.
    int print() const;
    // The project folder to open at start-up, absolute, or empty.
    QString folder() const { return folder_; }

private:
    QString usage() const;

    QString program_;
    bool help_ = false;
    bool version_ = false;
    QString error_;
    QString folder_;
};

} // namespace qloom::gui
