#include "gui/shell/CommandLine.h"

#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/shell/internal/ProjectFolders.h"
#include "model/Messages.h"
#include "script/ScriptSaver.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <cstdio>

namespace qloom::gui {

namespace {
struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    Parser() {
        parser.setApplicationDescription(uiText(msg::kCommandLineDescription));
        parser.addPositionalArgument(QStringLiteral("PATH"), uiText(msg::kCommandLineFolder),
                                     QStringLiteral("[PATH]"));
    }
};

// The window system's own options (-platform, -style, -display ...) are the application
// object's business; they are taken out before qLoom looks for its own.
QStringList withoutToolkitOptions(const QStringList& arguments) {
    static const QStringList withValue{QStringLiteral("-platform"),
                                       QStringLiteral("-platformpluginpath"),
                                       QStringLiteral("-platformtheme"),
                                       QStringLiteral("-plugin"),
                                       QStringLiteral("-qwindowgeometry"),
                                       QStringLiteral("-qwindowicon"),
                                       QStringLiteral("-qwindowtitle"),
                                       QStringLiteral("-style"),
                                       QStringLiteral("-stylesheet"),
                                       QStringLiteral("-display"),
                                       QStringLiteral("-geometry"),
                                       QStringLiteral("-title"),
                                       QStringLiteral("-name")};
    static const QStringList alone{QStringLiteral("-reverse"), QStringLiteral("-widgetcount"),
                                   QStringLiteral("-sync"), QStringLiteral("-nograb"),
                                   QStringLiteral("-dograb")};
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        QString word = arguments[i];
        if (word.startsWith(QLatin1String("--")) && i > 0)
            word.remove(0, 1);
        if (i > 0 && withValue.contains(word)) {
            ++i;
            continue;
        }
        if (i > 0 && alone.contains(word))
            continue;
        kept << arguments[i];
    }
    return kept;
}

// What a file manager or a terminal hands over, as the project folder to open: the folder
// itself, or the folder of its script file. A file manager may pass a file:// address.
// Any other file is passed on as it is, so the start-up reports it as a folder without a
// project instead of quietly opening whatever lies beside it.
QString projectFolderOf(const QString& given) {
    QString path = given;
    if (path.startsWith(QLatin1String("file:")))
        path = QUrl(path).toLocalFile();
    path = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const QFileInfo info(path);
    if (info.isFile() && info.fileName() == toQ(kScriptFileName))
        return info.absolutePath();
    return path;
}
} // namespace

CommandLine::CommandLine(const QStringList& arguments) {
    program_ = arguments.isEmpty() ? QStringLiteral("qloom") : QFileInfo(arguments[0]).fileName();
    Parser p;
    if (!p.parser.parse(withoutToolkitOptions(arguments))) {
        error_ = p.parser.errorText();
        return;
    }
    help_ = p.parser.isSet(p.help) || p.parser.isSet(QStringLiteral("help-all"));
    version_ = p.parser.isSet(p.version);
    const QStringList folders = p.parser.positionalArguments();
    if (folders.size() > 1) {
        error_ = uiText(msg::kCommandLineOneFolder) + folders.join(QStringLiteral(", "));
        return;
    }
    if (!folders.isEmpty())
        folder_ = projectFolderOf(folders.first());
}

CommandLine::CommandLine(int argc, char* argv[])
    : CommandLine([argc, argv] {
          QStringList arguments;
          for (int i = 0; i < argc; ++i)
              arguments << QString::fromLocal8Bit(argv[i]);
          return arguments;
      }()) {}

QString CommandLine::usage() const {
    // There is no application object yet to ask for the program's file.
    const QString programFolder = toQ(
        ProgramFolderOf(fromQ(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath())));
    Parser p;
    QString text = p.parser.helpText();
    // Without an application object the parser cannot know the program's name.
    text.replace(QStringLiteral("<executable_name>"), program_);
    return text + QLatin1Char('\n') + uiText(msg::kCommandLineHelpPages) +
           toQ(HelpIndexOf(fromQ(programFolder))) + QLatin1Char('\n');
}

int CommandLine::print() const {
    if (!error_.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n\n%s", qPrintable(program_), qPrintable(error_),
                     qPrintable(usage()));
        return 64;
    }
    const QString text = help_ ? usage() : uiText(msg::kMainCaption) + QLatin1Char('\n');
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

} // namespace qloom::gui
