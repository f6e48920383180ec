#include "Application.h"

#include "main_window/frmMain.h"
#include "printing/SystemPrinter.h"
#include "ui/ApplicationTitle.h"

#include <QApplication>
#include <QCommandLineParser>

int runLablist(int &argc, char **argv, const std::function<void(frmMain &)> &onShown)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setApplicationVersion(QStringLiteral(LABLIST_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("lablist"));

    // After QApplication, which has taken out its own options (-platform, ...);
    // --help, --version and an unknown option end the program here.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Keeps a list of catalogue customers for one run and prints their mailing "
                       "labels on the default printer."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    SystemPrinter printer;
    frmMain mainWindow(printer);
    mainWindow.show();
    if (onShown)
        onShown(mainWindow);
    return app.exec();
}
