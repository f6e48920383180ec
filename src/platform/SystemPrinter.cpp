#include "SystemPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>

namespace {

// Draws the lines one under the other, wrapping a line wider than the page and
// starting a new page when the next line would not fit.
bool drawLines(QPrinter &printer, const QStringList &lines)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QFontMetricsF metrics(painter.font(), &printer);
    const qreal width = page.width();
    const qreal height = page.height();
    qreal y = 0;
    const auto nextRow = [&](qreal rowHeight) {
        if (y > 0 && y + rowHeight > height) {
            printer.newPage();
            y = 0;
        }
    };
    for (const QString &line : lines) {
        if (line.isEmpty()) {
            nextRow(metrics.lineSpacing());
            y += metrics.lineSpacing();
            continue;
        }
        const QString text = printableText(line);
        QTextLayout layout(text, painter.font(), &printer);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine())
            row.setLineWidth(width);
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            QTextLine row = layout.lineAt(i);
            nextRow(metrics.lineSpacing());
            row.draw(&painter, QPointF(0, y - row.y()));
            y += metrics.lineSpacing();
        }
    }
    return painter.end();
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
        } else if (c.isSurrogate())
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
    if (mOutputFile.isEmpty()) {
        // Without this check QPrinter quietly falls back to writing a PDF file.
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return PrintOutcome::NoPrinter;
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("Lablist labels"));
        if (printer.printerState() == QPrinter::Error)
            return PrintOutcome::Failed;
        return drawLines(printer, lines) ? PrintOutcome::Printed : PrintOutcome::Failed;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(mOutputFile);
    printer.setDocName(QStringLiteral("Lablist labels"));
    return drawLines(printer, lines) ? PrintOutcome::Printed : PrintOutcome::Failed;
}
