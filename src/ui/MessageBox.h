#pragma once

#include <QString>

class QWidget;

// The two message-box styles the program uses.
enum class MessageStyle {
    Plain,       // OK button alone
    Information, // OK button with the information icon
};

// Shows a modal message box and waits until the user closes it. An empty
// title shows the application's title instead.
void showMessage(QWidget *parent, const QString &prompt, MessageStyle style,
                 const QString &title = QString());

// Like showMessage, with a second button beside OK; OK stays the default
// button and is what Esc means. True when the user chose the second button.
bool showMessageWithChoice(QWidget *parent, const QString &prompt, MessageStyle style,
                           const QString &title, const QString &choice);
