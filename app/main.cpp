// The program's entry: the command line first, then the toolkit and the
// application object, which edits Splines.xml in the current folder.

#include <QtCore/QCommandLineParser>
#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/edit_memory.h"
#include "app/velmora_app.h"
#include "io/disk/file_system.h"
#include "io/file_messages.h"
#include "resources/resource_ids.h"

namespace {

// What the command line asks for.
struct CommandLine {
    int exitCode = -1;  // 0 or more: exit at once with this code
    QString folder;     // where Splines.xml lives, for messages; empty for the current folder
    QByteArray path;    // the same folder as the command line gave its bytes
    bool chooseFolder = false;
    QString platform;      // the toolkit's -platform option, if given
    bool display = false;  // the toolkit's -display option is given
};

// The keys and buttons, for --help.
const char* const kKeysHelp =
    "\n"
    "Mouse and keys:\n"
    "  Left click on empty canvas  add a control point at the end of the spline\n"
    "  Left press, move, release   drag the control point under the mouse\n"
    "  Backspace                   remove the last point (two always remain)\n"
    "  Keypad /                    remove the point under the mouse cursor\n"
    "  Right, Left                 next, previous spline of the note\n"
    "  Keypad +, Keypad -          next, previous note\n"
    "  Enter                       append a new spline (origin to target)\n"
    "  Delete, Keypad .            delete the current spline, after asking\n"
    "  S                           save every note to Splines.xml\n"
    "  Right button                the window menu, with About Velmora\n"
    "Closing the window does not save; there is no undo.\n";

// The help text with the program's name where the toolkit puts the path it
// was started by.
QString HelpText(const QCommandLineParser& parser, const QString& startedAs) {
    QString text = parser.helpText();
    const QString usage = "Usage: " + startedAs;
    if (text.startsWith(usage))
        text.replace(0, usage.size(), "Usage: velmora");
    return text + kKeysHelp;
}

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Whether the toolkit will find a display for `platform` (the -platform
// option, or QT_QPA_PLATFORM, or none: X11 or Wayland, whichever is there).
// A platform that draws elsewhere (offscreen, vnc, ...) needs none.
bool DisplayFound(const CommandLine& line) {
    const QString platform = line.platform.isEmpty()
                                 ? QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM"))
                                 : line.platform;
    const bool x11 = IsSet("DISPLAY") || line.display;
    const bool wayland = IsSet("WAYLAND_DISPLAY");
    if (platform.isEmpty())
        return x11 || wayland;
    for (const QString& entry : platform.split(';', Qt::SkipEmptyParts)) {
        const QString name = entry.section(':', 0, 0);
        if ((name == "xcb" && x11) || (name.startsWith("wayland") && wayland) ||
            (name != "xcb" && !name.startsWith("wayland")))
            return true;
    }
    return false;
}

int Refuse(const QString& message) {
    std::fprintf(stderr, "velmora: %s\nTry 'velmora --help'.\n", qPrintable(message));
    return 2;
}

int Print(const QString& text) {
    std::fputs(qPrintable(text), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// The options the toolkit's application object reads from the same command
// line (-platform offscreen, -style fusion, ...): accepted here, left to it.
void AcceptToolkitOptions(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowtitle", "qwindowicon", "style", "stylesheet", "session", "display", "geometry"}) {
        QCommandLineOption option(name, QString(), "value");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The bytes of the command-line argument that reads as `decoded`. A name
// that is not valid UTF-8 does not survive the toolkit's decoding, so the
// folder is taken from the command line as given, byte for byte.
QByteArray RawArgument(int argc, char** argv, const QString& decoded) {
    for (int i = argc - 1; i > 0; --i) {
        if (QString::fromLocal8Bit(argv[i]) == decoded)
            return QByteArray(argv[i]);
    }
    return QFile::encodeName(decoded);
}

// Read under a console-only application object, so that --help, --version
// and mistakes are answered without a display, a window or a file.
CommandLine ReadCommandLine(int argc, char** argv) {
    QCoreApplication console(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Edits the note splines of FOLDER/Splines.xml (default: the current folder).");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption choose(
        "choose-folder", "Ask for the folder first with the folder dialog; cancel quits.");
    parser.addOption(choose);
    parser.addPositionalArgument("FOLDER", "The folder of Splines.xml.", "[FOLDER]");
    AcceptToolkitOptions(parser);

    CommandLine line;
    if (!parser.parse(console.arguments())) {
        line.exitCode = Refuse(parser.errorText());
    } else if (parser.isSet(help) || parser.isSet("help-all")) {
        line.exitCode = Print(HelpText(parser, console.arguments().value(0)));
    } else if (parser.isSet(version)) {
        line.exitCode = Print(QString("velmora %1\n").arg(velmora::kVersionText));
    } else if (parser.positionalArguments().size() > 1) {
        line.exitCode = Refuse("one FOLDER at most");
    } else {
        line.folder = parser.positionalArguments().value(0);
        line.path = line.folder.isEmpty() ? QByteArray() : RawArgument(argc, argv, line.folder);
        line.chooseFolder = parser.isSet(choose);
        line.platform = parser.value("platform");
        line.display = parser.isSet("display");
        velmora::FileInfo info;
        const bool exists = !line.path.isEmpty() &&
                            velmora::SystemFileSystem()
                                .Inspect(line.path.toStdString(), velmora::Links::kFollow, &info)
                                .ok();
        if (!line.folder.isEmpty() && !exists) {
            line.exitCode = Refuse(QString("the folder \"%1\" does not exist").arg(line.folder));
        } else if (!line.folder.isEmpty() && info.kind != velmora::FileKind::kFolder) {
            line.exitCode = Refuse(QString("\"%1\" is not a folder").arg(line.folder));
        }
    }
    return line;
}

// Splines.xml is a relative name, so the editor works on the file of the
// folder it runs in; entering the folder keeps its messages as they are.
bool EnterFolder(const QByteArray& folder) {
    if (folder.isEmpty())
        return true;
    const velmora::Status entered = velmora::SystemFileSystem().EnterFolder(folder.toStdString());
    if (entered.ok())
        return true;
    Refuse(QString("cannot enter the folder \"%1\": %2")
               .arg(QFile::decodeName(folder), QString::fromStdString(entered.reason)));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("velmora");
    QCoreApplication::setApplicationVersion(velmora::kVersionText);
    const CommandLine line = ReadCommandLine(argc, argv);
    if (line.exitCode >= 0)
        return line.exitCode;
    // The toolkit would abort without one, blaming the installation.
    if (!DisplayFound(line)) {
        std::fputs("no display: Velmora needs a graphical session\n", stderr);
        return 1;
    }

    velmora::KeepFreedMemoryForRebuilds();
    QApplication application(argc, argv);
    QApplication::setApplicationName(velmora::kProductName);
    QGuiApplication::setDesktopFileName("velmora");
    QByteArray folder = line.path;
    if (line.chooseFolder) {
        const QString chosen = QFileDialog::getExistingDirectory(
            nullptr, "Velmora: the folder of Splines.xml",
            line.folder.isEmpty() ? QDir::homePath() : QFile::decodeName(line.path));
        if (chosen.isEmpty())
            return 0;
        folder = QFile::encodeName(chosen);
    }
    // Messages name the folder as given, made absolute before entering it.
    velmora::AfxGetApp()->SetFolderName(
        velmora::AbsoluteName(folder.isEmpty() ? std::string(".") : folder.toStdString()));
    if (!EnterFolder(folder))
        return 2;
    // Runs as soon as the window's event loop starts, that is after the load,
    // whose parser's freed memory would otherwise stay with the process.
    QTimer::singleShot(0, [] { velmora::ReturnFreedMemory(); });
    velmora::AfxGetApp()->InitInstance();
    return 0;
}
