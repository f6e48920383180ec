#include "Text.h"

#include <QTextBoundaryFinder>

QString leftmost(const QString &text, qsizetype n)
{
    if (n <= 0)
        return QString();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype i = 0; i < n; ++i) {
        end = graphemes.toNextBoundary();
        if (end < 0)
            return text;
    }
    return text.left(end);
}

QString upperCase(const QString &text)
{
    return text.toUpper();
}

QString excerpt(const QString &text, qsizetype n)
{
    const QString start = leftmost(text, n);
    return start.size() == text.size() ? text : start + QChar(0x2026);
}
