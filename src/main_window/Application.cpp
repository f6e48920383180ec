#include "Application.h"

#include "main_window/frmMain.h"
#include "printing/SystemPrinter.h"
#include "ui/ApplicationTitle.h"

#include <QApplication>

int runLablist(int &argc, char **argv, const std::function<void(frmMain &)> &onShown)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setDesktopFileName(QStringLiteral("lablist"));

    SystemPrinter printer;
    frmMain mainWindow(printer);
    mainWindow.show();
    if (onShown)
        onShown(mainWindow);
    return app.exec();
}
