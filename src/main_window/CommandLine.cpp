#include "CommandLine.h"

#include "ui/ApplicationTitle.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

// The options that QApplication and its platform plugins take out of the
// command line. The parser runs before them and must let each one pass: the
// X11 ones are left in place on other platforms and would otherwise end the
// program there.
struct QtOption
{
    const char *name;
    const char *valueName; // null for a switch
    const char *description;
};

const QtOption QtOptions[] = {
    {"platform", "name[:options]", "Platform plugin to draw with (xcb, wayland, offscreen, ...)."},
    {"platformpluginpath", "path", "Folder to load platform plugins from."},
    {"platformtheme", "name", "Platform theme."},
    {"plugin", "name", "Generic plugin to load."},
    {"qwindowgeometry", "geometry", "Geometry of the first window."},
    {"qwindowicon", "icon", "Icon of the program's windows."},
    {"qwindowtitle", "title", "Title of the first window."},
    {"reverse", nullptr, "Lays the windows out right to left."},
    {"session", "id", "Session to restore."},
    {"style", "style", "Widget style."},
    {"stylesheet", "file", "Style sheet to apply."},
    {"widgetcount", nullptr, "Prints how many widgets were made and not deleted."},
    {"testability", nullptr, "Loads the testability library."},
    {"qmljsdebugger", "options", "Options for the QML debugger."},
    {"display", "display", "X11: the X display to use."},
    {"geometry", "geometry", "X11: geometry of the first window."},
    {"title", "title", "X11: title of the first window."},
    {"icon", "icon", "X11: icon of the program's windows."},
    {"name", "name", "X11: the program's resource name."},
    {"visual", "id", "X11: the visual to draw with."},
    {"nograb", nullptr, "X11: never grab the mouse or keyboard."},
    {"dograb", nullptr, "X11: grab the mouse and keyboard even under a debugger."},
};

// The program's own options, and Qt's, shown with --help-all only.
void addOptions(QCommandLineParser &parser, bool showQtOptions)
{
    parser.setApplicationDescription(
        QStringLiteral("Keeps a list of catalogue customers for one run and prints their mailing "
                       "labels on the default printer."));
    // Qt's options are words after one dash, as in -platform offscreen.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    for (const QtOption &qt : QtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name),
                                  QString::fromLatin1(qt.description));
        if (qt.valueName)
            option.setValueName(QString::fromLatin1(qt.valueName));
        if (!showQtOptions)
            option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

std::optional<int> answerCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    addOptions(parser, false);
    if (!parser.parse(arguments)) {
        print(stderr, ApplicationTitle + QStringLiteral(": ") + parser.errorText() + u'\n');
        return 1;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        print(stdout, ApplicationTitle + u' ' + QCoreApplication::applicationVersion() + u'\n');
        return 0;
    }
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (!helpAll && !parser.isSet(QStringLiteral("help")))
        return std::nullopt;
    QCommandLineParser help;
    addOptions(help, helpAll);
    // Without an application object the usage line has no program name.
    const QString program = arguments.isEmpty() ? QStringLiteral("lablist") : arguments.first();
    print(stdout, help.helpText().replace(QStringLiteral("<executable_name>"), program));
    return 0;
}
