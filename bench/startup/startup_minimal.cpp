#include "FirstPaint.h"

#include <QApplication>
#include <QWidget>

// The least a Qt Widgets program does to show a window of the main window's
// size: the baseline the real program's start-up is measured against.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(312, 213);
    new FirstPaint(window);
    window.show();
    return app.exec();
}
