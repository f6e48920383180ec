#include "SystemPrinter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTextLayout>

#include <algorithm>
#include <cstdint>
#include <langinfo.h>
#include <memory>
#include <vector>

namespace {

using Document = SystemPrinter::Document;

const QString DocName = QStringLiteral("Lablist labels");

// The longest side of a single label. The largest label stock in common use,
// the 4 x 6 in shipping label, is within it; the smallest sheet, A5 at 8.3 in,
// is not.
constexpr qreal LongestLabelSide = 6.5 * 72; // points

// Qt's own margins for PDF output, which saved files have always had: a PDF has
// no printer whose reach to ask.
constexpr QMarginsF PdfMargins(10, 10, 10, 10); // points

bool failed(const QPrinter &printer)
{
    const QPrinter::PrinterState state = printer.printerState();
    return state == QPrinter::Error || state == QPrinter::Aborted;
}

bool hasLines(const Document &labels)
{
    return std::any_of(labels.begin(), labels.end(),
                       [](const QStringList &lines) { return !lines.isEmpty(); });
}

// One label laid out at a page's width: the blank lines before and after its
// address, and the address's rows, a line wider than the page wrapped and an
// empty line within the address a row with no text. No row is ever left out.
struct LaidOutLabel
{
    LaidOutLabel(const QStringList &lines, const QFont &font, QPaintDevice *device, qreal width)
        : blank(QFontMetricsF(font, device).lineSpacing())
    {
        const auto isText = [](const QString &line) { return !line.isEmpty(); };
        const auto first = std::find_if(lines.begin(), lines.end(), isText);
        leading = int(first - lines.begin());
        if (first == lines.end())
            return;
        const auto last = std::find_if(lines.rbegin(), lines.rend(), isText).base();
        trailing = int(lines.end() - last);

        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        for (auto line = first; line != last; ++line) {
            if (line->isEmpty()) {
                addRow(QTextLine(), blank);
                continue;
            }
            const QString text = printableText(*line);
            option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
            auto &layout = *layouts.emplace_back(std::make_unique<QTextLayout>(text, font, device));
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine())
                row.setLineWidth(width);
            layout.endLayout();
            wraps = wraps || layout.lineCount() > 1;
            // A script the default font lacks comes from a fallback font that
            // may be taller; never let its rows overlap the next line.
            for (int i = 0; i < layout.lineCount(); ++i)
                addRow(layout.lineAt(i), qMax(blank, layout.lineAt(i).height()));
        }
    }

    void addRow(const QTextLine &line, qreal rowHeight)
    {
        rows.push_back({line, rowHeight});
        height += rowHeight;
    }

    struct Row
    {
        QTextLine line; // not valid for an empty line
        qreal height;
    };
    qreal blank;
    int leading = 0;
    int trailing = 0;
    std::vector<std::unique_ptr<QTextLayout>> layouts; // what the rows draw
    std::vector<Row> rows;
    qreal height = 0;
    bool wraps = false; // some line is wider than the page
};

// Draws the labels down the device's pages in its default font. An address is
// never split: on a sheet a label starts a new page when its address would not
// fit on what is left of this one, and with labelPerPage every label is a page
// of its own. Blank lines give way: those that would run past the end of a
// page, or push an address off it, are left out rather than carried over, so
// no page comes out blank. Only an address taller than a whole page flows on
// to the next. True when every page was drawn and the device took them.
bool drawLabels(QPagedPaintDevice &device, const Document &labels, bool labelPerPage)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QFont font;
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    qreal y = 0;
    bool pageHasAddress = false;
    // Should a page break fail, what was drawn still goes out when the painter
    // ends (abort() does nothing for PDF and CUPS output), but the job reports
    // a failure.
    const auto newPage = [&] {
        y = 0;
        pageHasAddress = false;
        return device.newPage();
    };
    for (const QStringList &lines : labels) {
        const LaidOutLabel label(lines, font, &device, page.width());
        const auto blanksThatFit = [&](int count, qreal below) {
            return std::clamp(int((page.height() - y - below) / label.blank), 0, count);
        };
        if (pageHasAddress && !label.rows.empty() &&
            (labelPerPage || y + label.leading * label.blank + label.height > page.height()) &&
            !newPage())
            return false;
        y += blanksThatFit(label.leading, label.height) * label.blank;
        for (const LaidOutLabel::Row &row : label.rows) {
            if (y > 0 && y + row.height > page.height() && !newPage())
                return false;
            if (row.line.isValid())
                row.line.draw(&painter, QPointF(0, y - row.line.y()));
            y += row.height;
            pageHasAddress = true;
        }
        y += blanksThatFit(label.trailing, 0) * label.blank;
    }
    return painter.end();
}

// Qt keeps margins of its own unless told; the printer's are only what it
// cannot reach.
void useWholePrintableArea(QPrinter &printer)
{
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

struct Fit
{
    bool fits = true;   // every address on one page
    bool wraps = false; // some line is wider than the page
};

Fit fitOnePerPage(QPrinter &printer, const Document &labels)
{
    const QFont font;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.logicalDpiX());
    Fit fit;
    for (const QStringList &lines : labels) {
        const LaidOutLabel label(lines, font, &printer, page.width());
        fit.fits = fit.fits && label.height <= page.height();
        fit.wraps = fit.wraps || label.wraps;
    }
    return fit;
}

void orient(QPrinter &printer, QPageLayout::Orientation orientation)
{
    printer.setPageOrientation(orientation);
    useWholePrintableArea(printer);
}

// On a single label, upright as the printer gives it; across the label when a
// line is wider than the label and every address fits that way round. False
// when some address fits neither way, before anything is sent.
bool orientForLabels(QPrinter &printer, const Document &labels)
{
    const Fit upright = fitOnePerPage(printer, labels);
    if (upright.fits && !upright.wraps)
        return true;
    orient(printer, QPageLayout::Landscape);
    if (fitOnePerPage(printer, labels).fits)
        return true;
    orient(printer, QPageLayout::Portrait);
    return upright.fits;
}

PrintOutcome print(const QPrinterInfo &info, const Document &labels)
{
    QPrinter printer(info, QPrinter::HighResolution);
    // QPrinter starts from A4 whatever the queue holds: only Qt's print dialog
    // applies the printer's default medium, so take it here.
    const QPageSize medium = info.defaultPageSize();
    if (medium.isValid())
        printer.setPageSize(medium);
    useWholePrintableArea(printer);
    const bool labelPerPage = isSingleLabel(printer.pageLayout().pageSize());
    if (labelPerPage && !orientForLabels(printer, labels))
        return PrintOutcome::DoesNotFit;
    printer.setDocName(DocName);
    return drawLabels(printer, labels, labelPerPage) && !failed(printer) ? PrintOutcome::Printed
                                                                         : PrintOutcome::Failed;
}

// QSaveFile writes beside the chosen name and renames over it only once the
// file is whole; its commit fails on any failed write, such as a full disk, so
// a failure never leaves half a file there nor spoils the file it replaces.
PrintOutcome writePdf(const QString &fileName, const Document &labels)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return PrintOutcome::Failed;
    QPdfWriter writer(&file);
    writer.setTitle(DocName);
    writer.setPageLayout(
        QPageLayout(localePaper(), QPageLayout::Portrait, PdfMargins, QPageLayout::Point));
    // Qt 6.4's commit overlooks a last write that the disk cut short, which
    // flush reports. Uncommitted, the file goes when QSaveFile does.
    if (!drawLabels(writer, labels, false) || !file.flush())
        return PrintOutcome::Failed;
    return file.commit() ? PrintOutcome::Printed : PrintOutcome::Failed;
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

void SystemPrinter::beginLabel()
{
    mLabels.append(QStringList());
}

void SystemPrinter::printLine(const QString &text)
{
    if (mLabels.isEmpty())
        beginLabel();
    mLabels.last().append(text);
}

void SystemPrinter::printEmptyLine()
{
    printLine(QString());
}

PrintOutcome SystemPrinter::endDocument()
{
    const Document labels = std::exchange(mLabels, {});
    mUnprinted.clear();
    // Nothing to print is not a job: no blank page comes out.
    if (!hasLines(labels))
        return PrintOutcome::Printed;
    if (!mOutputFile.isEmpty())
        return writePdf(mOutputFile, labels);
    // Without this check QPrinter quietly falls back to writing a PDF file.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        mUnprinted = labels;
        return PrintOutcome::NoPrinter;
    }
    // A stopped queue holds the job and prints it whenever it is restarted, long
    // after the user was told it failed. Only the queue's own state shows this:
    // a QPrinter built for it still says Idle.
    if (info.state() == QPrinter::Error)
        return PrintOutcome::Failed;
    return print(info, labels);
}

bool SystemPrinter::saveUnprintedDocument(const QString &pdfFile)
{
    // No document held back means nothing to save, not a saved file.
    return hasLines(mUnprinted) && writePdf(pdfFile, mUnprinted) == PrintOutcome::Printed;
}

QPageSize localePaper()
{
#ifdef __GLIBC__
    // glibc hands back LC_PAPER's sizes, in millimetres, in place of a pointer.
    const auto millimetres = [](nl_item item) {
        return int(reinterpret_cast<std::intptr_t>(nl_langinfo(item)));
    };
    const QSizeF size(millimetres(_NL_PAPER_WIDTH), millimetres(_NL_PAPER_HEIGHT));
    if (!size.isEmpty())
        return QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
#endif
    return QPageSize(QPageSize::A4);
}

bool isSingleLabel(const QPageSize &medium)
{
    const QSizeF size = medium.size(QPageSize::Point);
    return medium.isValid() && qMax(size.width(), size.height()) <= LongestLabelSide;
}
