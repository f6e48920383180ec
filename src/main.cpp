#include "main_window/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/SystemPrinter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setDesktopFileName(QStringLiteral("lablist"));

    SystemPrinter printer;
    frmMain mainWindow(printer);
    mainWindow.show();
    return app.exec();
}
