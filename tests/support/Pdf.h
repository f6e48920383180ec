#pragma once

#include "Process.h"

#include <QRegularExpression>
#include <QSizeF>
#include <QStringList>

// The rows of text a reader sees in a PDF file, or on one of its pages, as
// pdf-rows reads them (the same helper the autopkgtests use); empty if the
// file cannot be read.
inline QStringList pdfRows(const QString &file, int page = 0)
{
    QStringList arguments{file};
    if (page > 0)
        arguments << QString::number(page);
    const std::optional<QString> text = runProcess(QStringLiteral(LABLIST_PDF_ROWS), arguments);
    return text ? text->split(u'\n', Qt::SkipEmptyParts) : QStringList();
}

// One page of a PDF file as printed: its size in points and its rows of text.
struct PdfPage
{
    QSizeF size;
    QStringList rows;
};

// Every page of a PDF file, read with pdfinfo and pdf-rows; empty if it
// cannot be read.
inline QList<PdfPage> pdfPages(const QString &file)
{
    const std::optional<QString> info = runProcess(
        QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                    QStringLiteral("100000"), file});
    if (!info)
        return {};
    // "Page    2 size: 612 x 792 pts (letter)"
    static const QRegularExpression size(
        QStringLiteral("^Page +(\\d+) size: +([\\d.]+) x ([\\d.]+) pts"),
        QRegularExpression::MultilineOption);
    QList<PdfPage> pages;
    for (auto match = size.globalMatch(*info); match.hasNext();) {
        const QRegularExpressionMatch page = match.next();
        const int number = page.captured(1).toInt();
        pages.append({QSizeF(page.captured(2).toDouble(), page.captured(3).toDouble()),
                      pdfRows(file, number)});
    }
    return pages;
}

// What is wrong with the pages of a job of labels whose addresses are three
// rows each: a page of another size than paper (in points), a blank page, a
// page that ends within an address or, on a label printer, a page with more
// than one label. Empty when nothing is.
inline QString labelPagesFault(const QList<PdfPage> &pages, QSizeF paper, bool labelPerPage)
{
    if (pages.isEmpty())
        return QStringLiteral("no pages");
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const PdfPage &page = pages.at(i);
        const bool size = qAbs(page.size.width() - paper.width()) < 1 &&
                          qAbs(page.size.height() - paper.height()) < 1;
        const bool whole = !page.rows.isEmpty() && page.rows.size() % 3 == 0;
        if (!size || !whole || (labelPerPage && page.rows.size() != 3))
            return QStringLiteral("page %1 of %2, %3 x %4 pt: %5")
                .arg(i + 1)
                .arg(pages.size())
                .arg(page.size.width())
                .arg(page.size.height())
                .arg(page.rows.join(u'|'));
    }
    return QString();
}
