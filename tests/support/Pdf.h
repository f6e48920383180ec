#pragma once

#include "Process.h"

#include <QRegularExpression>
#include <QSize>
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

// One page of a PDF file as printed: its size in whole points and its rows of
// text.
struct PdfPage
{
    QSize size;
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
        pages.append(
            {QSize(qRound(page.captured(2).toDouble()), qRound(page.captured(3).toDouble())),
             pdfRows(file, number)});
    }
    return pages;
}
