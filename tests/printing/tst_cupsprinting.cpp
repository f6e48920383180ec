#include "Driver.h"
#include "Pdf.h"
#include "Process.h"
#include "printing/SystemPrinter.h"

#include <QDir>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QtTest>

#include <optional>

// Labels printed through the real program onto the queues of a CUPS server of
// the test run's own (scripts/cups.sh makes them, and names the server's spool
// in LABLIST_TEST_SPOOL), then read back from the documents CUPS keeps of each
// job: what the program sent, page by page, and what the printer gets once
// the queue's first filter has fitted it to the driver's medium.

namespace {

// A medium of a queue's driver, in points from its top left: its size and the
// part of it the printer reaches.
struct PrintedMedium
{
    QString name;
    QSizeF size;
    QRectF printable;
};

// The numbers a PPD gives a keyword, for one option where named: quoted as in
// *ImageableArea w79h252/30252 Address: "4.32 4.32 76.08 235.44", or bare as in
// *HWMargins: 4.32 8.40 4.32 8.4.
QList<qreal> ppdNumbers(const QString &ppd, const QString &keyword, const QString &option = {})
{
    const QRegularExpression line(
        QStringLiteral("^\\*%1%2(?:/[^:\\n]*)?:[ \\t]*\"?([^\"\\r\\n]*)")
            .arg(keyword, option.isEmpty() ? QString() : u' ' + QRegularExpression::escape(option)),
        QRegularExpression::MultilineOption);
    QList<qreal> numbers;
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QString &number : line.match(ppd).captured(1).split(space, Qt::SkipEmptyParts))
        numbers << number.toDouble();
    return numbers;
}

// The medium pdftopdf fits a job to: the job's PageSize, else its media where
// that is one of the driver's sizes, else the driver's default. A custom size
// (Custom.WxH, in points unless a unit follows) has the driver's *HWMargins
// (left, bottom, right, top) as the edges the printer cannot reach.
std::optional<PrintedMedium> jobMedium(const QString &ppd, const QString &options)
{
    const auto option = [&options](const char *name) {
        return QRegularExpression(QStringLiteral("(?:^| )%1=(\\S+)").arg(QLatin1String(name)))
            .match(options)
            .captured(1);
    };
    PrintedMedium medium{option("PageSize"), {}, {}};
    if (medium.name.isEmpty() &&
        ppdNumbers(ppd, QStringLiteral("PaperDimension"), option("media")).size() == 2)
        medium.name = option("media");
    if (medium.name.isEmpty())
        medium.name = QRegularExpression(QStringLiteral("^\\*DefaultPageSize: *(\\S+)"),
                                         QRegularExpression::MultilineOption)
                          .match(ppd)
                          .captured(1);
    static const QRegularExpression custom(
        QStringLiteral("^Custom\\.([\\d.]+)x([\\d.]+)([a-z]*)$"));
    if (const QRegularExpressionMatch size = custom.match(medium.name); size.hasMatch()) {
        static const QHash<QString, qreal> units{
            {"", 1},           {"pt", 1},         {"in", 72},        {"ft", 864},
            {"cm", 72 / 2.54}, {"mm", 72 / 25.4}, {"m", 72 / 0.0254}};
        const QList<qreal> edges = ppdNumbers(ppd, QStringLiteral("HWMargins"));
        if (!units.contains(size.captured(3)) || edges.size() != 4)
            return std::nullopt;
        const qreal unit = units.value(size.captured(3));
        medium.size = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble()) * unit;
        medium.printable =
            QRectF(QPointF(edges[0], edges[3]),
                   QPointF(medium.size.width() - edges[2], medium.size.height() - edges[1]));
        return medium;
    }
    const QList<qreal> paper = ppdNumbers(ppd, QStringLiteral("PaperDimension"), medium.name);
    const QList<qreal> area = ppdNumbers(ppd, QStringLiteral("ImageableArea"), medium.name);
    if (paper.size() != 2 || area.size() != 4)
        return std::nullopt;
    medium.size = QSizeF(paper[0], paper[1]);
    // The PPD counts up from the bottom left.
    medium.printable =
        QRectF(QPointF(area[0], paper[1] - area[3]), QPointF(area[2], paper[1] - area[1]));
    return medium;
}

// A job as the printer gets it: its queue and number, the medium, and the
// pages that come out of the queue's first filter; or why it could not be
// followed that far.
struct PrinterSide
{
    QString failure;
    QString queue;
    int job = 0;
    PrintedMedium medium;
    QList<RenderedPage> pages;
};

// Fine enough for a 1 pt check, coarse enough to stay quick under the
// sanitizers.
constexpr int PrinterDpi = 144;

QString points(const QSizeF &size)
{
    return QStringLiteral("%1 x %2 pt").arg(size.width(), 0, 'f', 1).arg(size.height(), 0, 'f', 1);
}

QString points(const QRectF &rect)
{
    return points(rect.size()) +
           QStringLiteral(" at (%1, %2)").arg(rect.x(), 0, 'f', 1).arg(rect.y(), 0, 'f', 1);
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
    void readCupsLog();
    PrinterSide printerSide(const QString &document);

    QString queue;
    QString lpadmin;
    QDir spool;
    QStringList jobsBefore;

    // How cupsd started each job's filters, as its log at debug level has it.
    struct FilterLaunch
    {
        QStringList argv;
        QStringList environment; // NAME=value
        QString firstFilter;     // empty until the filters have started
    };
    QHash<int, FilterLaunch> launches;
    QFile cupsLog;
    QByteArray cupsLogTail; // a line cupsd has not finished
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
    else if (!qEnvironmentVariableIsSet("LABLIST_TEST_CUPS_LOG"))
        missing = QStringLiteral("LABLIST_TEST_CUPS_LOG names no log of the CUPS server");
    else if (printer.isNull())
        missing = QStringLiteral("no default printer");
    else if (printer.printerName() != queue)
        // Never print test labels on a real printer.
        missing =
            QStringLiteral("the default printer is %1, not %2").arg(printer.printerName(), queue);
    for (const char *tool :
         {"lpstat", "cupsdisable", "cupsenable", "pdftotext", "pdfinfo", "pdftoppm"})
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
    // Only the jobs from here on matter; the log of the runs before can be long.
    cupsLog.setFileName(qEnvironmentVariable("LABLIST_TEST_CUPS_LOG"));
    QVERIFY2(cupsLog.open(QIODevice::ReadOnly | QIODevice::Unbuffered),
             qPrintable(cupsLog.fileName() + QStringLiteral(": ") + cupsLog.errorString()));
    QVERIFY(cupsLog.seek(cupsLog.size()));
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

void TestCupsPrinting::readCupsLog()
{
    // D [10/Dec/2026:06:34:14 +0000] [Job 14] argv[5]="media=w79h252 ..."
    // I [10/Dec/2026:06:34:14 +0000] [Job 14] Started filter /usr/lib/cups/filter/pdftopdf (PID 1)
    static const QRegularExpression entry(QStringLiteral(
        "\\] \\[Job (\\d+)\\] (?:(argv|envp)\\[(\\d+)\\]=\"(.*)\"|Started filter (\\S+) )"));
    cupsLogTail += cupsLog.readAll();
    const qsizetype end = cupsLogTail.lastIndexOf('\n') + 1;
    for (const QByteArray &line : cupsLogTail.left(end).split('\n')) {
        if (!line.contains("[Job ") ||
            !(line.contains("argv[") || line.contains("envp[") || line.contains("Started filter")))
            continue;
        const QRegularExpressionMatch match = entry.match(QString::fromUtf8(line));
        if (!match.hasMatch())
            continue;
        FilterLaunch &launch = launches[match.captured(1).toInt()];
        if (match.capturedLength(2) > 0) {
            QStringList &list = match.captured(2) == u"argv" ? launch.argv : launch.environment;
            const int index = match.captured(3).toInt();
            if (list.size() <= index)
                list.resize(index + 1);
            list[index] = match.captured(4);
        } else if (launch.firstFilter.isEmpty()) {
            launch.firstFilter = match.captured(5);
        }
    }
    cupsLogTail.remove(0, end);
}

// Runs the queue's first filter on the job's document again, with the
// arguments and environment cupsd gave it (argv[1] to argv[6]: job, user,
// title, copies, options, file), and renders what it writes: what the rest of
// the queue's filters, and so the printer, get. With LABLIST_TEST_PRINTED
// naming a folder, page 1 is kept there for a person to look at.
PrinterSide TestCupsPrinting::printerSide(const QString &document)
{
    PrinterSide side;
    // The spool keeps job N's document as d<N>-001.
    side.job = QFileInfo(document).fileName().mid(1).section(u'-', 0, 0).toInt();
    const auto failed = [&side](const QString &why) {
        side.failure = QStringLiteral("job %1: %2").arg(side.job).arg(why);
        return side;
    };
    // A job is only logged once the queue starts it, maybe after the jobs ahead.
    if (!QTest::qWaitFor(
            [&] {
                readCupsLog();
                return !launches.value(side.job).firstFilter.isEmpty();
            },
            5000))
        return failed(QStringLiteral("cupsd started no filter for it within 5 s"));
    const FilterLaunch launch = launches.value(side.job);
    side.queue = launch.argv.value(0);
    if (launch.argv.size() != 7 || !launch.firstFilter.endsWith(u"/pdftopdf"))
        return failed(QStringLiteral("cupsd started %1 with %2 arguments, not pdftopdf with 6")
                          .arg(launch.firstFilter)
                          .arg(launch.argv.size() - 1));
    QProcessEnvironment environment;
    for (const QString &variable : launch.environment)
        // Secrets are logged as NAME****, without a value.
        if (const qsizetype equals = variable.indexOf(u'='); equals > 0)
            environment.insert(variable.left(equals), variable.mid(equals + 1));
    QFile ppdFile(environment.value(QStringLiteral("PPD")));
    if (!ppdFile.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("no PPD: %1").arg(ppdFile.fileName()));
    const QString ppd = QString::fromUtf8(ppdFile.readAll());
    const std::optional<PrintedMedium> medium = jobMedium(ppd, launch.argv[5]);
    if (!medium)
        return failed(QStringLiteral("%1 has no medium for the options %2")
                          .arg(ppdFile.fileName(), launch.argv[5]));
    side.medium = *medium;

    QTemporaryDir dir;
    QProcess filter;
    filter.setProcessEnvironment(environment);
    filter.setStandardOutputFile(dir.filePath(QStringLiteral("printer.pdf")));
    filter.setStandardErrorFile(dir.filePath(QStringLiteral("log")));
    filter.start(launch.firstFilter, launch.argv.mid(1));
    const bool finished = filter.waitForFinished(10000);
    if (!finished) {
        filter.kill();
        filter.waitForFinished();
    }
    if (!dir.isValid() || !finished || filter.exitStatus() != QProcess::NormalExit ||
        filter.exitCode() != 0) {
        QFile log(dir.filePath(QStringLiteral("log")));
        const QStringList errors =
            log.open(QIODevice::ReadOnly)
                ? QString::fromUtf8(log.readAll()).split(u'\n').filter(QStringLiteral("ERROR"))
                : QStringList();
        return failed(QStringLiteral("pdftopdf failed: ") + errors.join(u' '));
    }
    side.pages = renderedPages(dir.filePath(QStringLiteral("printer.pdf")), PrinterDpi);
    if (side.pages.isEmpty())
        return failed(QStringLiteral("pdftopdf wrote no pages"));

    if (const QString folder = qEnvironmentVariable("LABLIST_TEST_PRINTED"); !folder.isEmpty()) {
        const QString png = QStringLiteral("%1/%2-job%3.png").arg(folder, side.queue).arg(side.job);
        if (!QDir().mkpath(folder) || !side.pages.first().image.save(png))
            qWarning("could not save %s", qPrintable(png));
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
    struct Print
    {
        Driver::PrintRun run;
        bool allLabels;
        QString account;
    };
    const Print prints[] = {
        {driver().printAllLabels(), true, {}},
        {driver().printNewCustomersLabel({"Smith", "Ann", "1 Elm St", "", "", "01234", "12/31/04"}),
         false, "SM01212/31/04"},
        // A street as long as a box takes fits a sheet or tape, but no label
        // either way round.
        {driver().printNewCustomersLabel({"Smith", "Ann",
                                          QStringLiteral("Elm Street ").repeated(200).left(2000),
                                          "", "", "99999", "12/31/04"}),
         false, "SM99912/31/04"},
    };
    addresses << "Ann Smith SM01212/31/04 1 Elm St , 01234";
    for (const Print &print : prints)
        QCOMPARE(print.run.after,
                 Driver::leftByPrint(print.run.before, print.allLabels, print.account));
    const QStringList jobs = printedJobs();
    if (!refusal.isEmpty()) {
        QCOMPARE(jobs, QStringList());
        QCOMPARE(log.texts(), QStringList(std::size(prints), refusal));
        for (const SeenMessage &message : std::as_const(log.messages))
            QCOMPARE(message.title, QStringLiteral("Print Error"));
        return;
    }

    // Each job's pages first: they show a fault that the messages and the
    // number of jobs only show is there.
    QStringList printed;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const bool longStreet = i == 2;
        const PrinterSide side = printerSide(jobs[i]);
        QVERIFY2(side.failure.isEmpty(), qPrintable(printerQueue + u' ' + side.failure));
        const PrintedMedium &medium = side.medium;
        const qreal pixel = 72.0 / PrinterDpi;
        const RenderedPage *tallest = &side.pages.first();
        for (const RenderedPage &page : side.pages) {
            const QString where = QStringLiteral("%1 job %2 page %3 as the printer gets it: ")
                                      .arg(side.queue)
                                      .arg(side.job)
                                      .arg(&page - side.pages.data() + 1);
            QVERIFY2(!page.ink.isEmpty(), qPrintable(where + QStringLiteral("blank")));
            QVERIFY2(
                qAbs(page.size.width() - medium.size.width()) <= 1 &&
                    qAbs(page.size.height() - medium.size.height()) <= 1,
                qPrintable(where + QStringLiteral("%1, not the %2 of %3")
                                       .arg(points(QRectF(QPointF(), page.size)),
                                            points(QRectF(QPointF(), medium.size)), medium.name)));
            QVERIFY2(medium.printable.adjusted(-pixel, -pixel, pixel, pixel).contains(page.ink),
                     qPrintable(where +
                                QStringLiteral("ink %1 outside the printable %2 of %3")
                                    .arg(points(page.ink), points(medium.printable), medium.name)));
            // On a sheet the addresses stack, whichever way each runs.
            if (labelPerPage && !longStreet)
                QVERIFY2((page.ink.height() > page.ink.width()) == across,
                         qPrintable(where + QStringLiteral("the address is %1, ink %2")
                                                .arg(across ? QStringLiteral("upright")
                                                            : QStringLiteral("across"),
                                                     points(page.ink))));
            if (tape)
                QVERIFY2(qAbs(page.size.width() - paper.width()) <= 1,
                         qPrintable(where + QStringLiteral("%1 pt wide, not the tape's %2 pt")
                                                .arg(page.size.width())
                                                .arg(paper.width())));
            if (page.ink.height() > tallest->ink.height())
                tallest = &page;
        }
        // A job has one medium, so every page is as long as its longest address.
        const qreal edges =
            medium.printable.top() + medium.size.height() - medium.printable.bottom();
        if (tape)
            QVERIFY2(tallest->size.height() - tallest->ink.height() - edges <= 8,
                     qPrintable(QStringLiteral("%1 job %2 as the printer gets it: %3 pt of tape "
                                               "for %4 pt of address and %5 pt the printer "
                                               "cannot reach: not cut to the address")
                                    .arg(side.queue)
                                    .arg(side.job)
                                    .arg(tallest->size.height())
                                    .arg(tallest->ink.height())
                                    .arg(edges)));

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
