#include "Driver.h"
#include "Pdf.h"
#include "Process.h"
#include "printing/SystemPrinter.h"

#include <QDir>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QtTest>

#include <cups/ppd.h>
#include <optional>

// Labels printed through the real program onto the queues of a CUPS server of
// the test run's own (scripts/cups.sh makes them, and names the server's spool
// in LABLIST_TEST_SPOOL), then read back from the documents CUPS keeps of each
// job: what the program sent, page by page, and what the printer gets once
// the queue's first filter has fitted it to the driver's medium.

namespace {

// The part of a driver's medium the printer reaches, from its top left.
struct PrintedMedium
{
    QString name;
    QRectF printable;
};

// The medium the queue's filters fit a job to: cupsd names the driver's
// PageSize in the job's options, and libcups reads it from the PPD as the
// filters do, a custom size with the driver's margins for such sizes.
std::optional<PrintedMedium> jobMedium(const QString &ppdFile, const QString &options)
{
    static const QRegularExpression pageSize(QStringLiteral("(?:^| )PageSize=(\\S+)"));
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    ppd_file_t *ppd = ppdOpenFile(QFile::encodeName(ppdFile).constData());
    const auto close = qScopeGuard([ppd] { ppdClose(ppd); });
    const ppd_size_t *size =
        ppd ? ppdPageSize(ppd, pageSize.match(options).captured(1).toUtf8().constData()) : nullptr;
    QT_WARNING_POP
    if (!size)
        return std::nullopt;
    // A PPD counts up from the bottom left.
    return PrintedMedium{QString::fromUtf8(size->name),
                         QRectF(QPointF(size->left, size->length - size->top),
                                QPointF(size->right, size->length - size->bottom))};
}

// A job as the printer gets it: the medium, and each page's size and ink,
// in points from the top left; or why it could not be followed that far.
struct PrinterSide
{
    QString failure;
    PrintedMedium medium;
    QList<QPair<QSizeF, QRectF>> pages;
};

QString points(const QRectF &rect)
{
    QString text;
    QDebug(&text).nospace() << rect << " pt";
    return text;
}

} // namespace

class TestCupsPrinting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void oneLabel();
    void allLabelsAsOneJobInOrderOfAddition();
    void labelsOnThePrintersOwnPaper_data();
    void labelsOnThePrintersOwnPaper();
    void stoppedQueueFailsAndChangesNothing();

private:
    // The documents of the jobs sent since the case began, in the order they
    // came. CUPS holds the whole document once the print returns.
    QStringList printedJobs() const;
    QList<QStringList> printedTexts();
    bool makeDefault(const QString &name);
    PrinterSide printerSide(const QString &document, const QString &printerQueue);

    QString queue;
    QString lpadmin;
    QDir spool;
    QStringList jobsBefore;
    Driver driver() const { return Driver(*main); }

    std::unique_ptr<SystemPrinter> printer;
    std::unique_ptr<frmMain> main;
};

void TestCupsPrinting::initTestCase()
{
    queue = qEnvironmentVariable("LABLIST_TEST_QUEUE", QStringLiteral("lablist-test"));
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    QString missing;
    if (!qEnvironmentVariableIsSet("LABLIST_TEST_SPOOL"))
        missing = QStringLiteral("LABLIST_TEST_SPOOL names no spool of printed jobs");
    else if (printer.isNull())
        missing = QStringLiteral("no default printer");
    else if (printer.printerName() != queue)
        // Never print test labels on a real printer.
        missing =
            QStringLiteral("the default printer is %1, not %2").arg(printer.printerName(), queue);
    for (const char *tool :
         {"lpstat", "cupsdisable", "cupsenable", "pdftotext", "pdfinfo", "pdftoppm", "convert"})
        if (QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty())
            missing = QStringLiteral("%1 is not installed").arg(QString::fromUtf8(tool));
    if (!missing.isEmpty()) {
        const QString why = missing + QStringLiteral(" (source scripts/cups.sh; start_test_cups)");
        // scripts/test has made the queue: a skip there would hide a fault.
        if (qEnvironmentVariableIsSet("LABLIST_EXPECT_CUPS"))
            QFAIL(qPrintable(why));
        QSKIP(qPrintable(why));
    }
    spool.setPath(qEnvironmentVariable("LABLIST_TEST_SPOOL"));
    // In sbin, which an ordinary user's PATH on Debian lacks.
    lpadmin = QStandardPaths::findExecutable(
        QStringLiteral("lpadmin"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    QVERIFY(!lpadmin.isEmpty());
}

void TestCupsPrinting::init()
{
    jobsBefore.clear();
    jobsBefore = printedJobs();
    printer = std::make_unique<SystemPrinter>();
    main = std::make_unique<frmMain>(*printer);
    main->show();
}

void TestCupsPrinting::cleanup()
{
    main.reset();
    printer.reset();
    // The drivers' queues print nowhere; some would hold their jobs for good.
    runProcess(QStringLiteral("cancel"), {QStringLiteral("-a")});
    QVERIFY(makeDefault(queue));
}

bool TestCupsPrinting::makeDefault(const QString &name)
{
    return runProcess(lpadmin, {QStringLiteral("-d"), name}).has_value() &&
           QPrinterInfo::defaultPrinter().printerName() == name;
}

QStringList TestCupsPrinting::printedJobs() const
{
    QStringList files;
    // Job N's document is d<N>-001, so names sort in job order.
    for (const QString &file : spool.entryList({QStringLiteral("d*-001")}, QDir::Files, QDir::Name))
        if (!jobsBefore.contains(spool.filePath(file)))
            files << spool.filePath(file);
    return files;
}

// Job N's document (d<N>-001 in the spool) as the printer gets it.
PrinterSide TestCupsPrinting::printerSide(const QString &document, const QString &printerQueue)
{
    const QString job = QFileInfo(document).fileName().mid(1).section(u'-', 0, 0);
    PrinterSide side;
    const ProcessRun filter =
        runProgram(QStringLiteral(LABLIST_PRINTER_SIDE),
                   {qEnvironmentVariable("LABLIST_TEST_CUPS_LOG"), QString::number(job.toInt()),
                    qEnvironmentVariable("LABLIST_TEST_PRINTED")});
    const QStringList said = filter.out.split(u'\n', Qt::SkipEmptyParts);
    const std::optional<PrintedMedium> medium =
        said.size() > 2 ? jobMedium(said[0], said[1]) : std::nullopt;
    if (filter.status != 0 || !medium) {
        side.failure =
            QStringLiteral("%1 job %2: %3").arg(printerQueue, job, filter.err + filter.out);
        return side;
    }
    side.medium = *medium;
    for (const QString &line : said.mid(2)) {
        QList<qreal> n;
        for (const QString &number : line.split(u' '))
            n << number.toDouble();
        side.pages.append({QSizeF(n.value(0), n.value(1)),
                           QRectF(n.value(2), n.value(3), n.value(4), n.value(5))});
    }
    return side;
}

QList<QStringList> TestCupsPrinting::printedTexts()
{
    QList<QStringList> texts;
    for (const QString &file : printedJobs())
        texts << pdfRows(file);
    return texts;
}

// The print-to-PDF chain keeps no text for some glyphs: ligatures such as
// "fi", and letters outside ASCII once a page's font carries several scripts.
// The labels look right; the names here stay with letters whose text it keeps.
void TestCupsPrinting::oneLabel()
{
    MessageLog log;
    driver().printNewCustomersLabel(
        {"Smith", "Ann", "1 Elm St", "Springdale", "IL", "01234", "12/31/04"});
    QCOMPARE(log.texts(), QStringList());
    const QStringList rows = {"Ann Smith SM01212/31/04", "1 Elm St", "Springdale, IL 01234"};
    QCOMPARE(printedTexts(), QList<QStringList>{rows});
}

void TestCupsPrinting::allLabelsAsOneJobInOrderOfAddition()
{
    driver().add({"Young", "Cy", "3 Pine Rd", "Ames", "IA", "50010", "3/3/05"});
    driver().add({"Adams", "Di", "1 Elm St", "Springdale", "IL", "01234", "1/1/05"});
    driver().add({"Müller", "Bo", "Hauptstraße 5", "Köln", "NW", "50667", "2/2/05"});
    MessageLog log;
    driver().button("cmdPrintAll")->click();
    QCOMPARE(log.texts(), QStringList());
    const QStringList rows = {"Cy Young YO5003/3/05",  "3 Pine Rd",     "Ames, IA 50010",
                              "Di Adams AD0121/1/05",  "1 Elm St",      "Springdale, IL 01234",
                              "Bo Müller MÜ5062/2/05", "Hauptstraße 5", "Köln, NW 50667"};
    QCOMPARE(printedTexts(), QList<QStringList>{rows});
}

void TestCupsPrinting::labelsOnThePrintersOwnPaper_data()
{
    QTest::addColumn<QString>("printerQueue");
    // Points, the page as CUPS receives it: upright, as the driver has the
    // medium. A height of 0 is continuous tape, cut to each address.
    QTest::addColumn<QSize>("paper");
    QTest::addColumn<bool>("labelPerPage");
    // The address runs along the label's length.
    QTest::addColumn<bool>("across");
    // What every print shows when the queue makes no job of it.
    QTest::addColumn<QString>("refusal");

    const QString noFit = QStringLiteral("An address does not fit on the printer's labels");
    const QString failed = QStringLiteral("The labels could not be printed");
    QTest::newRow("IPP Everywhere, Letter")
        << "lablist-test" << QSize(612, 792) << false << false << QString();
    QTest::newRow("LaserJet, Letter")
        << "lablist-letter" << QSize(612, 792) << false << false << QString();
    QTest::newRow("LaserJet set to A4")
        << "lablist-a4" << QSize(595, 842) << false << false << QString();
    QTest::newRow("LabelWriter 450, 30256")
        << "lablist-dymo" << QSize(167, 288) << true << false << QString();
    QTest::newRow("LabelWriter 450, 30252: across the label")
        << "lablist-dymo-30252" << QSize(79, 252) << true << true << QString();
    QTest::newRow("LabelWriter 450, 99018: one address across each label")
        << "lablist-dymo-99018" << QSize(108, 539) << true << true << QString();
    QTest::newRow("LabelWriter 450, 30347: the label's own size")
        << "lablist-dymo-30347" << QSize(72, 108) << true << true << QString();
    QTest::newRow("QL-570, 62 mm continuous tape: cut to the address")
        << "lablist-ql570" << QSize(176, 0) << true << false << QString();
    QTest::newRow("QL-570, 62 x 29 mm die-cut")
        << "lablist-ql570-62x29" << QSize(176, 82) << true << false << QString();
    QTest::newRow("PT-2430PC, 24 mm tape: across, cut to the address")
        << "lablist-pt24" << QSize(68, 0) << true << true << QString();
    QTest::newRow("PT-2430PC, 9 mm tape: refused")
        << "lablist-pt9" << QSize() << true << true << noFit;
    QTest::newRow("driverless, 30256")
        << "lablist-ipp-label" << QSize(167, 288) << true << false << QString();
    QTest::newRow("a queue that does not accept jobs")
        << "lablist-rejecting" << QSize() << false << false << failed;
    QTest::newRow("a queue whose jobs CUPS refuses")
        << "lablist-refusing" << QSize() << false << false << failed;
}

void TestCupsPrinting::labelsOnThePrintersOwnPaper()
{
    QFETCH(QString, printerQueue);
    QFETCH(QSize, paper);
    QFETCH(bool, labelPerPage);
    QFETCH(bool, across);
    QFETCH(QString, refusal);
    QVERIFY(makeDefault(printerQueue));
    const bool tape = paper.height() == 0;

    // Enough labels that page ends fall within them on every sheet. Each
    // address is read as one text, its rows joined.
    QStringList addresses;
    for (int i = 1; i <= 25; ++i) {
        const QString n = QString::number(i), zip = QString::number(100 + i);
        driver().add({"Customer", "Al", n + " Elm St", "Ames", "IA", zip, "1/1/05"});
        addresses << "Al Customer CU" + zip + "1/1/05 " + n + " Elm St Ames, IA " + zip;
    }
    MessageLog log;
    driver().printAllLabels();
    driver().printNewCustomersLabel({"Smith", "Ann", "1 Elm St", "", "", "01234", "12/31/04"});
    // A street as long as a box takes fits a sheet or tape, but no label either
    // way round.
    driver().printNewCustomersLabel({"Smith", "Ann",
                                     QStringLiteral("Elm Street ").repeated(200).left(2000), "", "",
                                     "99999", "12/31/04"});
    addresses << "Ann Smith SM01212/31/04 1 Elm St , 01234";
    const QStringList jobs = printedJobs();
    if (!refusal.isEmpty()) {
        QCOMPARE(jobs, QStringList());
        QCOMPARE(log.texts(), QStringList(3, refusal));
        for (const SeenMessage &message : std::as_const(log.messages))
            QCOMPARE(message.title, QStringLiteral("Print Error"));
        return;
    }

    // Each job's pages first: they show a fault that the messages and the
    // number of jobs only show is there.
    QStringList printed;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const bool longStreet = i == 2;
        // On tape the long street is metres long, more than a picture can be.
        const PrinterSide side =
            longStreet && tape ? PrinterSide() : printerSide(jobs[i], printerQueue);
        QVERIFY2(side.failure.isEmpty(), qPrintable(side.failure));
        const PrintedMedium &medium = side.medium;
        qreal longest = 0;
        for (qsizetype page = 0; page < side.pages.size(); ++page) {
            const QRectF &ink = side.pages[page].second;
            const QString where = QStringLiteral("%1 %2 page %3 as the printer gets it: ink %4")
                                      .arg(printerQueue, QFileInfo(jobs[i]).fileName())
                                      .arg(page + 1)
                                      .arg(points(ink));
            // To the pixel of the rendering.
            QVERIFY2(!ink.isEmpty() &&
                         medium.printable.adjusted(-0.5, -0.5, 0.5, 0.5).contains(ink),
                     qPrintable(where + QStringLiteral(", the printer reaches %1 of %2")
                                            .arg(points(medium.printable), medium.name)));
            if (labelPerPage && !longStreet)
                QVERIFY2((ink.height() > ink.width()) == across, qPrintable(where));
            longest = qMax(longest, ink.height());
        }
        // A job's labels are as long as its longest address needs, and no longer.
        const qreal length = side.pages.value(0).first.height();
        QVERIFY2(!tape || longStreet ||
                     length - longest - (length - medium.printable.height()) <= 8,
                 qPrintable(QStringLiteral("%1: %2 pt of tape for %3 pt of address")
                                .arg(printerQueue)
                                .arg(length)
                                .arg(longest)));

        for (const PdfPage &page : pdfPages(jobs[i])) {
            // Whole addresses only, and on a label printer one a page.
            const QString where = jobs[i] + u' ' + page.rows.join(u'|');
            if (tape)
                QCOMPARE(page.size.width(), paper.width());
            else
                QCOMPARE(page.size, paper);
            if (longStreet)
                continue;
            // A label's lines may wrap, at spaces.
            if (labelPerPage)
                printed << page.rows.join(u' ');
            else
                for (qsizetype row = 0; row < page.rows.size(); row += 3)
                    printed << page.rows.mid(row, 3).join(u' ');
            QVERIFY2(labelPerPage || (!page.rows.isEmpty() && page.rows.size() % 3 == 0),
                     qPrintable(where));
        }
    }
    const bool refusesLongStreet = labelPerPage && !tape;
    QCOMPARE(log.texts(), refusesLongStreet
                              ? QStringList{"An address does not fit on the printer's labels"}
                              : QStringList());
    QCOMPARE(jobs.size(), refusesLongStreet ? 2 : 3);
    QCOMPARE(printed, addresses);
}

void TestCupsPrinting::stoppedQueueFailsAndChangesNothing()
{
    const auto enable = qScopeGuard([this] { runProcess(QStringLiteral("cupsenable"), {queue}); });
    QVERIFY(runProcess(QStringLiteral("cupsdisable"), {queue}));
    driver().add({"Young", "Cy", "3 Pine Rd", "Ames", "IA", "50010", "3/3/05"});

    for (const bool allLabels : {false, true}) {
        MessageLog log;
        const Driver::PrintRun run = allLabels
                                         ? driver().printAllLabels()
                                         : driver().printNewCustomersLabel(
                                               {"Smith", "Ann", "", "", "", "01234", "12/31/04"});
        QCOMPARE(run.after,
                 Driver::leftByPrint(run.before, allLabels, QStringLiteral("SM01212/31/04")));
        QCOMPARE(log.texts(), QStringList{QStringLiteral("The labels could not be printed")});
        QCOMPARE(log.messages.first().title, QStringLiteral("Print Error"));
        QCOMPARE(log.messages.first().icon, QMessageBox::Information);
    }
    // Nothing was queued to come out once the queue is started again.
    QCOMPARE(runProcess(QStringLiteral("lpstat"), {"-o", queue}), std::optional(QString()));
}

QTEST_MAIN(TestCupsPrinting)
#include "tst_cupsprinting.moc"
