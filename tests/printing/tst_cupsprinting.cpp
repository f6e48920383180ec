#include "Driver.h"
#include "Pdf.h"
#include "Process.h"
#include "printing/SystemPrinter.h"

#include <QDir>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QtTest>

// Labels printed through the real program onto the queues of a CUPS server of
// the test run's own (scripts/cups.sh makes them, and names the server's spool
// in LABLIST_TEST_SPOOL), then read back from the documents CUPS keeps of each
// job: what the program sent, page by page.
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
    for (const char *tool : {"lpstat", "cupsdisable", "cupsenable", "pdftotext", "pdfinfo"})
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
    QTest::addColumn<QSize>("paper"); // points, as the pages come out
    QTest::addColumn<bool>("labelPerPage");

    QTest::newRow("IPP Everywhere, Letter") << "lablist-test" << QSize(612, 792) << false;
    QTest::newRow("LaserJet, Letter") << "lablist-letter" << QSize(612, 792) << false;
    QTest::newRow("LaserJet set to A4") << "lablist-a4" << QSize(595, 842) << false;
    QTest::newRow("LabelWriter 450, 30256") << "lablist-dymo" << QSize(167, 288) << true;
    QTest::newRow("LabelWriter 450, 30252: across the label")
        << "lablist-dymo-30252" << QSize(252, 79) << true;
    QTest::newRow("QL-570, 62 x 100 mm") << "lablist-ql570" << QSize(176, 284) << true;
    QTest::newRow("driverless, 30256") << "lablist-ipp-label" << QSize(167, 288) << true;
}

void TestCupsPrinting::labelsOnThePrintersOwnPaper()
{
    QFETCH(QString, printerQueue);
    QFETCH(QSize, paper);
    QFETCH(bool, labelPerPage);
    QVERIFY(makeDefault(printerQueue));

    // Enough labels that page ends fall within them on every sheet.
    QStringList rows;
    for (int i = 1; i <= 25; ++i) {
        const QString n = QString::number(i), zip = QString::number(100 + i);
        driver().add({"Customer", "Al", n + " Elm St", "Ames", "IA", zip, "1/1/05"});
        rows << "Al Customer CU" + zip + "1/1/05" << n + " Elm St"
             << "Ames, IA " + zip;
    }
    MessageLog log;
    driver().printAllLabels();
    driver().printNewCustomersLabel({"Smith", "Ann", "1 Elm St", "", "", "01234", "12/31/04"});
    rows << "Ann Smith SM01212/31/04"
         << "1 Elm St"
         << ", 01234";
    // A street as long as a box takes fits a sheet, but no label either way round.
    driver().printNewCustomersLabel({"Smith", "Ann",
                                     QStringLiteral("Elm Street ").repeated(200).left(2000), "", "",
                                     "99999", "12/31/04"});
    QCOMPARE(log.texts(), labelPerPage
                              ? QStringList{"An address does not fit on the printer's labels"}
                              : QStringList());

    const QStringList jobs = printedJobs();
    QCOMPARE(jobs.size(), labelPerPage ? 2 : 3);
    QStringList printed;
    for (const QString &job : jobs.first(2)) {
        for (const PdfPage &page : pdfPages(job)) {
            // Whole addresses only, and on a label printer one a page.
            const QString where = job + u' ' + page.rows.join(u'|');
            QCOMPARE(page.size, paper);
            QVERIFY2(labelPerPage ? page.rows.size() == 3
                                  : !page.rows.isEmpty() && page.rows.size() % 3 == 0,
                     qPrintable(where));
            printed += page.rows;
        }
    }
    QCOMPARE(printed, rows);
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
