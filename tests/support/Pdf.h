#pragma once

#include "Process.h"

#include <QStringList>

// The rows of text a reader sees in a PDF file, read with pdftotext; empty if
// it cannot be read. Spaces within a row are folded (pdftotext spaces them its
// own way), and ligatures such as "fi" come back as their letters.
inline QStringList pdfRows(const QString &file)
{
    const std::optional<QString> text = runProcess(
        QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!text)
        return {};
    QStringList rows;
    for (const QString &row : text->normalized(QString::NormalizationForm_KC).split(u'\n'))
        if (!row.simplified().isEmpty())
            rows << row.simplified();
    return rows;
}
