#include "SystemPrinter.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTextLayout>

#include <filesystem>

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

// QPrinter reports no failed write: a full disk leaves a file with bytes
// missing, yet Idle and often still ending in its trailer. The writer counts
// every byte it writes and records where its cross-reference table starts; the
// table stands at that offset, whole, only if no byte before or in it was lost.
bool isWholePdf(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 64 || !file.seek(file.size() - 64))
        return false;
    const QByteArray tail = file.read(64);
    const qsizetype start = tail.lastIndexOf("startxref\n");
    if (start < 0 || !tail.endsWith("\n%%EOF\n"))
        return false;
    bool ok = false;
    const qint64 xref = tail.mid(start + 10).split('\n').value(0).toLongLong(&ok);
    // "xref\n0 <count>\n", then one 20-byte entry per object, then the trailer.
    if (!ok || !file.seek(xref) || file.readLine(16) != "xref\n")
        return false;
    const QByteArray range = file.readLine(32);
    const qint64 count = range.mid(2).trimmed().toLongLong(&ok);
    if (!ok || !range.startsWith("0 ") || !file.seek(file.pos() + 20 * count))
        return false;
    return file.read(8) == "trailer\n";
}

// Draws the job into a new file beside the chosen one and renames it over that
// name only once it is whole, so that a failure never leaves half a file there
// nor spoils the file it was to replace.
PrintOutcome writePdf(const QString &fileName, const QStringList &lines)
{
    if (lines.isEmpty())
        return PrintOutcome::Printed;
    QFileInfo target(fileName);
    if (target.isSymLink())
        target.setFile(target.symLinkTarget());
    // QFile, unlike QTemporaryFile, creates the file with the permissions the
    // user's umask gives, as any new file would get.
    QFile part;
    for (int attempt = 0; attempt < 3 && !part.isOpen(); ++attempt) {
        part.setFileName(QStringLiteral("%1/.%2.%3.part")
                             .arg(target.absolutePath(), target.fileName())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0')));
        if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !part.exists())
            return PrintOutcome::Failed;
    }
    if (!part.isOpen())
        return PrintOutcome::Failed;
    part.close();
    auto removePart = qScopeGuard([&part] { part.remove(); });

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(part.fileName());
    if (send(printer, lines) != PrintOutcome::Printed || !isWholePdf(part.fileName()))
        return PrintOutcome::Failed;
    if (target.exists())
        part.setPermissions(target.permissions());
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(part.fileName()).toStdString(),
                            QFile::encodeName(target.absoluteFilePath()).toStdString(), error);
    if (error)
        return PrintOutcome::Failed;
    removePart.dismiss();
    return PrintOutcome::Printed;
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
    mUnprinted.clear();
    if (!mOutputFile.isEmpty())
        return writePdf(mOutputFile, lines);
    // Without this check QPrinter quietly falls back to writing a PDF file.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        mUnprinted = lines;
        return PrintOutcome::NoPrinter;
    }
    // A stopped queue holds the job and prints it whenever it is restarted, long
    // after the user was told it failed. Only the queue's own state shows this:
    // a QPrinter built for it still says Idle.
    if (info.state() == QPrinter::Error)
        return PrintOutcome::Failed;
    QPrinter printer(info, QPrinter::HighResolution);
    return send(printer, lines);
}

bool SystemPrinter::saveUnprintedDocument(const QString &pdfFile)
{
    // No document held back means nothing to save, not a saved file.
    return !mUnprinted.isEmpty() && writePdf(pdfFile, mUnprinted) == PrintOutcome::Printed;
}
