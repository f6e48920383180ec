#include "SystemPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>

namespace {

bool failed(const QPrinter &printer)
{
    const QPrinter::PrinterState state = printer.printerState();
    return state == QPrinter::Error || state == QPrinter::Aborted;
}

// Draws the lines one under the other, wrapping a line wider than the page and
// starting a new page when the next row would not fit. True when the whole job
// reached the printer's spooler (or the output file).
bool drawLines(QPrinter &printer, const QStringList &lines)
{
    QPainter painter;
    if (!painter.begin(&printer) || failed(printer))
        return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QFontMetricsF metrics(painter.font(), &printer);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);

    qreal y = 0;
    // Moves to a new page unless the row fits; a row taller than a page still
    // goes on a page of its own rather than being dropped. Should the page
    // break fail, what was drawn still goes out when the painter ends (abort()
    // does nothing for PDF and CUPS output), but the job reports a failure.
    const auto makeRoom = [&](qreal rowHeight) {
        if (y > 0 && y + rowHeight > page.height()) {
            if (!printer.newPage())
                return false;
            y = 0;
        }
        return true;
    };
    for (const QString &line : lines) {
        if (line.isEmpty()) {
            if (!makeRoom(metrics.lineSpacing()))
                return false;
            y += metrics.lineSpacing();
            continue;
        }
        const QString text = printableText(line);
        option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        QTextLayout layout(text, painter.font(), &printer);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine())
            row.setLineWidth(page.width());
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine row = layout.lineAt(i);
            // A script the default font lacks comes from a fallback font that may
            // be taller; never let its rows overlap the next line.
            const qreal rowHeight = qMax(metrics.lineSpacing(), row.height());
            if (!makeRoom(rowHeight))
                return false;
            row.draw(&painter, QPointF(0, y - row.y()));
            y += rowHeight;
        }
    }
    return painter.end() && !failed(printer);
}

PrintOutcome send(QPrinter &printer, const QStringList &lines)
{
    // Nothing to print is not a job: no blank page comes out.
    if (lines.isEmpty())
        return PrintOutcome::Printed;
    printer.setDocName(QStringLiteral("Lablist labels"));
    return drawLines(printer, lines) ? PrintOutcome::Printed : PrintOutcome::Failed;
}

} // namespace

QString printableText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u < 0x20)
            result += QChar(char16_t(0x2400 + u));
        else if (u == 0x7f)
            result += QChar(char16_t(0x2421));
        else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += c;
            result += text.at(++i);
        } else if ((u >= 0x80 && u <= 0x9f) || c.isSurrogate())
            // C1 controls have no pictures of their own; a lone surrogate is no
            // character at all.
            result += QChar(QChar::ReplacementCharacter);
        else
            result += c;
    }
    return result;
}

SystemPrinter::SystemPrinter(QString outputFile)
    : mOutputFile(std::move(outputFile))
{}

void SystemPrinter::printLine(const QString &text)
{
    mLines.append(text);
}

void SystemPrinter::printEmptyLine()
{
    mLines.append(QString());
}

PrintOutcome SystemPrinter::endDocument()
{
    const QStringList lines = std::exchange(mLines, {});
    if (!mOutputFile.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(mOutputFile);
        return send(printer, lines);
    }
    // Without this check QPrinter quietly falls back to writing a PDF file.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return PrintOutcome::NoPrinter;
    // A stopped queue holds the job and prints it whenever it is restarted, long
    // after the user was told it failed. Only the queue's own state shows this:
    // a QPrinter built for it still says Idle.
    if (info.state() == QPrinter::Error)
        return PrintOutcome::Failed;
    QPrinter printer(info, QPrinter::HighResolution);
    return send(printer, lines);
}
