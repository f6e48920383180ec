#include "FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                        const QString &filter, const QString &suffix)
{
    QString offered = suggestedPath;
    for (;;) {
        QString file = QFileDialog::getSaveFileName(parent, caption, offered, filter);
        if (file.isEmpty() || !QFileInfo(file).suffix().isEmpty())
            return file;
        // The dialog looked for a file under the name as typed; this is another.
        file += u'.' + suffix;
        if (!QFileInfo::exists(file))
            return file;
        // In the words of Qt's own dialog; No goes back to the dialog, as there.
        QMessageBox question(QMessageBox::Warning, caption,
                             QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                 .arg(QFileInfo(file).fileName()),
                             QMessageBox::Yes | QMessageBox::No, parent);
        question.setDefaultButton(QMessageBox::No);
        // A file name is never markup.
        question.setTextFormat(Qt::PlainText);
        if (question.exec() == QMessageBox::Yes)
            return file;
        offered = file;
    }
}
