#include "SystemPrinter.h"

#include "printing/Cups.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cstdint>
#include <langinfo.h>

namespace {

const QString DocName = QStringLiteral("Lablist labels");

// Qt's own margins for PDF output, which saved files have always had: a PDF has
// no printer whose reach to ask.
constexpr QMarginsF PdfMargins(10, 10, 10, 10); // points

// Options Qt's CUPS engine sends with the job: its private PPK_CupsOptions,
// which Qt's own print dialog sets.
constexpr auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

bool failed(const QPrinter &printer)
{
    const QPrinter::PrinterState state = printer.printerState();
    return state == QPrinter::Error || state == QPrinter::Aborted;
}

bool hasLines(const LabelDocument &labels)
{
    return std::any_of(labels.begin(), labels.end(),
                       [](const QStringList &lines) { return !lines.isEmpty(); });
}

// Continuous tape is cut wherever a page ends. Drivers say so in their names
// for the medium, each in its own way: Brother's QL names a tape by its width
// alone ("62mm", where "62x29mm" is a die-cut label), every P-touch medium is
// tape or tube named by its width ("tz-24", "hs-12"), and DYMO calls its rolls
// "Continuous". A length of our own needs a driver that takes custom sizes.
bool isContinuous(const QPageSize &medium, const QPrinterInfo &info)
{
    static const QRegularExpression tape(QStringLiteral("^(\\d+(\\.\\d+)?mm|(tz|hs)-\\d+)$"));
    return info.supportsCustomPageSizes() &&
           (tape.match(medium.key()).hasMatch() ||
            medium.name().contains(QStringLiteral("continuous"), Qt::CaseInsensitive));
}

// Two sizes of one medium, as Qt rounds a driver's size to whole points or to
// a standard size within 3 pt.
bool sameMedium(const QSizeF &a, const QSizeF &b)
{
    return qAbs(a.width() - b.width()) <= 4 && qAbs(a.height() - b.height()) <= 4;
}

QMarginsF marginsInPoints(const QPrinter &printer)
{
    return printer.pageLayout().margins(QPageLayout::Point);
}

// Puts the printer on a page with margins as wide as `margins` and no narrower
// than what the printer cannot print: Qt keeps margins of its own unless told.
void setPage(QPrinter &printer, const QPageSize &size, const QMarginsF &margins)
{
    printer.setPageSize(size);
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF least = layout.minimumMargins();
    printer.setPageMargins(
        QMarginsF(qMax(margins.left(), least.left()), qMax(margins.top(), least.top()),
                  qMax(margins.right(), least.right()), qMax(margins.bottom(), least.bottom())),
        QPageLayout::Point);
}

// Sets the printer to the queue's default medium, upright. Qt knows the medium
// by the driver's name for it and honours the user's own default; CUPS knows
// its size to the hundredth of a millimetre, and knows it where Qt knows no
// medium at all, as for a driverless printer CUPS has no driver file for.
Medium useDefaultMedium(QPrinter &printer, const QPrinterInfo &info, const CupsQueue &queue)
{
    // QPrinter starts from A4 whatever the queue holds: only Qt's print dialog
    // applies the printer's default medium.
    const QPageSize named = info.defaultPageSize();
    QPageSize size = named.isValid() ? named : localePaper();
    if (queue.mediumSize &&
        (!named.isValid() || sameMedium(named.size(QPageSize::Point), *queue.mediumSize)))
        size = QPageSize(*queue.mediumSize, QPageSize::Point, named.name(), QPageSize::ExactMatch);
    setPage(printer, size, queue.mediumMargins);
    Medium medium;
    medium.margins = marginsInPoints(printer);
    medium.continuous = isContinuous(named, info);
    if (medium.continuous) {
        medium.shortest = info.minimumPhysicalPageSize().size(QPageSize::Point).height();
        medium.longest = info.maximumPhysicalPageSize().size(QPageSize::Point).height();
        // A length of our own is a custom size, whose edges the driver states
        // apart from the tape's: keep clear of both.
        const QSizeF custom(printer.pageLayout().pageSize().size(QPageSize::Point).width(),
                            medium.longest);
        setPage(printer, QPageSize(custom, QPageSize::Point, QString(), QPageSize::ExactMatch),
                medium.margins);
        medium.margins = marginsInPoints(printer);
        setPage(printer, size, medium.margins);
    }
    medium.size = printer.pageLayout().pageSize();
    return medium;
}

PrintOutcome print(const QPrinterInfo &info, const LabelDocument &labels)
{
    const CupsQueue queue = cupsQueue(info.printerName());
    // Qt would hand the job over, and CUPS drop it, without a word.
    if (!queue.acceptsJobs)
        return PrintOutcome::Failed;
    QPrinter printer(info, QPrinter::HighResolution);
    const Medium medium = useDefaultMedium(printer, info, queue);
    const std::optional<LabelLayout> layout = layOutLabels(labels, medium, &printer);
    if (!layout)
        return PrintOutcome::DoesNotFit;
    const bool cut = layout->page != medium.size;
    if (cut)
        setPage(printer, layout->page, medium.margins);
    // A page Qt knows by none of the driver's names goes as a custom size, which
    // CUPS gives the first of the driver's sizes within 5 pt of it: for cut
    // tape, a die-cut label. Ask for the size meant.
    const QString key = printer.pageLayout().pageSize().key();
    if (key.startsWith(u"Custom.")) {
        const QString named = info.defaultPageSize().key();
        printer.printEngine()->setProperty(
            CupsOptions,
            QStringList{QStringLiteral("PageSize"), cut || named.isEmpty() ? key : named});
    }
    printer.setDocName(DocName);
    if (!drawLabels(printer, labels, *layout) || failed(printer))
        return PrintOutcome::Failed;
    // The job went to CUPS as the painter ended.
    return cupsRefusedLastJob() ? PrintOutcome::Failed : PrintOutcome::Printed;
}

// QSaveFile writes beside the chosen name and renames over it only once the
// file is whole; its commit fails on any failed write, such as a full disk, so
// a failure never leaves half a file there nor spoils the file it replaces.
PrintOutcome writePdf(const QString &fileName, const LabelDocument &labels)
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
    if (!drawLabels(writer, labels, LabelLayout()) || !file.flush())
        return PrintOutcome::Failed;
    return file.commit() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

} // namespace

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
    const LabelDocument labels = std::exchange(mLabels, {});
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
