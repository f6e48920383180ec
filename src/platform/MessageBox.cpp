#include "MessageBox.h"

#include <QMessageBox>

void showMessage(QWidget *parent, const QString &prompt, MessageStyle style, const QString &title)
{
    const auto icon =
        style == MessageStyle::Information ? QMessageBox::Information : QMessageBox::NoIcon;
    QMessageBox box(icon, title.isEmpty() ? ApplicationTitle : title, prompt, QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("messageBox"));
    // Prompts are the program's own or echo typed text; never interpret them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
