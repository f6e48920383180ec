#include "Application.h"

#include "main_window/CommandLine.h"
#include "main_window/frmMain.h"
#include "printing/SystemPrinter.h"
#include "ui/ApplicationTitle.h"

#include <QApplication>

int runLablist(int &argc, char **argv, const std::function<void(frmMain &)> &onShown)
{
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setApplicationVersion(QStringLiteral(LABLIST_VERSION));

    // Before QApplication, which cannot start without a display: --help and
    // --version must answer in a terminal that has none.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> status = answerCommandLine(arguments))
        return *status;

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("lablist"));
    SystemPrinter printer;
    frmMain mainWindow(printer);
    mainWindow.show();
    if (onShown)
        onShown(mainWindow);
    return app.exec();
}
