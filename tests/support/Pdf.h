#pragma once

#include "Process.h"

#include <QDir>
#include <QImage>
#include <QRectF>
#include <QRegularExpression>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>

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

// A page of a PDF file as it looks on paper: its size and the box around its
// ink, in points from the top left (a blank page's box is empty), and the
// rendering they were read from.
struct RenderedPage
{
    QSizeF size;
    QRectF ink;
    QImage image;
};

// Every page of a PDF file rendered in grey at dpi by one pdftoppm run; empty
// if it cannot be read. Ink is what is clearly darker than the paper: the pale
// fringe that anti-aliasing gives a glyph may fall outside its box.
inline QList<RenderedPage> renderedPages(const QString &file, int dpi = 144)
{
    QTemporaryDir dir;
    if (!dir.isValid() ||
        !runProcess(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                     QStringLiteral("-png"), file, dir.filePath(QStringLiteral("page"))}))
        return {};
    const qreal point = 72.0 / dpi;
    QList<RenderedPage> pages;
    // pdftoppm pads the page numbers to the width of the last, so the names
    // sort in page order.
    const QStringList names =
        QDir(dir.path()).entryList({QStringLiteral("page-*.png")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QImage image = QImage(dir.filePath(name)).convertToFormat(QImage::Format_Grayscale8);
        int left = image.width(), right = -1, top = -1, bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            const uchar *row = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x) {
                if (row[x] >= 160)
                    continue;
                left = qMin(left, x);
                right = qMax(right, x);
                top = top < 0 ? y : top;
                bottom = y;
            }
        }
        const QRectF ink =
            top < 0 ? QRectF()
                    : QRectF(QPointF(left, top) * point, QPointF(right + 1, bottom + 1) * point);
        pages.append({QSizeF(image.size()) * point, ink, image});
    }
    return pages;
}
