#include "FirstPaint.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>

// The main window's widgets as plain Qt makes them, with none of the program's
// code: the five buttons with the captions and fonts the program ends up
// showing, and the list. The program's start-up over this one is its own cost.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QDialog window;
    window.setWindowTitle(QStringLiteral("Customer Information"));
    window.setFixedSize(312, 213);
    const struct
    {
        const char *caption;
        QRect geometry;
    } buttons[] = {
        {"&Add\nCustomer", {24, 104, 81, 33}},
        {"&Remove\nCustomer", {120, 104, 81, 33}},
        {"&Display\nCustomer", {216, 104, 81, 33}},
        {"E&xit", {168, 152, 81, 33}},
        {"&Print Labels for\nAll Customers", {72, 152, 81, 33}},
    };
    for (const auto &button : buttons)
        (new QPushButton(QString::fromUtf8(button.caption), &window))->setGeometry(button.geometry);
    // The longest caption fits its button only in a condensed face.
    QFont condensed = window.font();
    condensed.setStretch(QFont::Condensed);
    window.findChildren<QPushButton *>().last()->setFont(condensed);
    auto *list = new QListWidget(&window);
    list->setGeometry(112, 8, 121, 56);
    list->setSortingEnabled(true);
    new FirstPaint(window);
    window.show();
    return app.exec();
}
