#pragma once

#include <QString>

class QWidget;

// Asks for a file to save to, in the desktop's own dialog where there is one,
// offering suggestedPath. A name typed without a suffix gets suffix, and the
// user confirms before an existing file is replaced. Empty when cancelled.
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                        const QString &filter, const QString &suffix);
