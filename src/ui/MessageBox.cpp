#include "MessageBox.h"

#include "ui/ApplicationTitle.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

// Runs the box with OK and, if given, a second button; true when that was chosen.
bool runMessageBox(QWidget *parent, const QString &prompt, MessageStyle style, const QString &title,
                   const QString &choice)
{
    const auto icon =
        style == MessageStyle::Information ? QMessageBox::Information : QMessageBox::NoIcon;
    QMessageBox box(icon, title.isEmpty() ? ApplicationTitle : title, prompt, QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("messageBox"));
    // Prompts are the program's own or echo typed text; never interpret them as markup.
    box.setTextFormat(Qt::PlainText);
    QAbstractButton *second = nullptr;
    if (!choice.isEmpty()) {
        second = box.addButton(choice, QMessageBox::ActionRole);
        // With a second button QMessageBox no longer takes OK for Esc by itself.
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    box.exec();
    return second && box.clickedButton() == second;
}

} // namespace

void showMessage(QWidget *parent, const QString &prompt, MessageStyle style, const QString &title)
{
    runMessageBox(parent, prompt, style, title, QString());
}

bool showMessageWithChoice(QWidget *parent, const QString &prompt, MessageStyle style,
                           const QString &title, const QString &choice)
{
    return runMessageBox(parent, prompt, style, title, choice);
}
