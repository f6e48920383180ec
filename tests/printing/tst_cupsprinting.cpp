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
    void anAddressLargerThanTheLabelIsNotSent_data();
    void anAddressLargerThanTheLabelIsNotSent();
    void stoppedQueueFailsAndChangesNothing();

private:
    QStringList jobFiles() const;
    // The documents of the jobs sent since the case began, in the order they
    // came; empty if none came.
    QStringList printedJobs();
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
    jobsBefore = jobFiles();
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

// The document of job N is d<N>-001, named so that names sort in job order.
QStringList TestCupsPrinting::jobFiles() const
{
    return spool.entryList({QStringLiteral("d*-001")}, QDir::Files, QDir::Name);
}

QStringList TestCupsPrinting::printedJobs()
{
    // CUPS has the whole document once the print returns; whether the job then
    // gets through the driver does not matter here, and no printer is there.
    QStringList files;
    const bool came = QTest::qWaitFor(
        [&] {
            files.clear();
            for (const QString &file : jobFiles())
                if (!jobsBefore.contains(file))
                    files << spool.filePath(file);
            return !files.isEmpty();
        },
        5000);
    return came ? files : QStringList();
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
    QTest::addColumn<QSizeF>("paper"); // points, as the pages come out
    QTest::addColumn<bool>("labelPerPage");

    QTest::newRow("IPP Everywhere printer, US Letter")
        << "lablist-test" << QSizeF(612, 792) << false;
    QTest::newRow("LaserJet, US Letter") << "lablist-letter" << QSizeF(612, 792) << false;
    QTest::newRow("LaserJet set to A4") << "lablist-a4" << QSizeF(595, 842) << false;
    QTest::newRow("LabelWriter 450, 30256 shipping label")
        << "lablist-dymo" << QSizeF(167, 288) << true;
    QTest::newRow("LabelWriter 450, 30252 address label, printed across")
        << "lablist-dymo-30252" << QSizeF(252, 79) << true;
    QTest::newRow("QL-570, 62 mm tape cut at 100 mm")
        << "lablist-ql570" << QSizeF(176, 284) << true;
    QTest::newRow("driverless label printer, 30256")
        << "lablist-ipp-label" << QSizeF(167, 288) << true;
}

void TestCupsPrinting::labelsOnThePrintersOwnPaper()
{
    QFETCH(QString, printerQueue);
    QFETCH(QSizeF, paper);
    QFETCH(bool, labelPerPage);
    QVERIFY(makeDefault(printerQueue));

    // Enough labels that page ends fall within them on every sheet.
    QStringList labels;
    for (int i = 1; i <= 25; ++i) {
        const QString n = QString::number(i), zip = QString::number(100 + i);
        driver().add({"Customer", "Al", n + " Elm St", "Ames", "IA", zip, "1/1/05"});
        labels << "Al Customer CU" + zip + "1/1/05" << n + " Elm St"
               << "Ames, IA " + zip;
    }
    MessageLog log;
    driver().printAllLabels();
    driver().printNewCustomersLabel(
        {"Smith", "Ann", "1 Elm St", "Springdale", "IL", "01234", "12/31/04"});
    QCOMPARE(log.texts(), QStringList());
    labels << "Ann Smith SM01212/31/04"
           << "1 Elm St"
           << "Springdale, IL 01234";

    const QStringList jobs = printedJobs();
    QCOMPARE(jobs.size(), 2);
    QStringList printed;
    for (const QString &job : jobs) {
        const QList<PdfPage> pages = pdfPages(job);
        QVERIFY2(!pages.isEmpty(), qPrintable(job));
        if (!labelPerPage && job == jobs.first())
            QVERIFY2(pages.size() > 1, "all labels fit one sheet: no page end was tried");
        const QString fault = labelPagesFault(pages, paper, labelPerPage);
        QVERIFY2(fault.isEmpty(), qPrintable(job + u' ' + fault));
        for (const PdfPage &page : pages)
            printed += page.rows;
    }
    QCOMPARE(printed, labels);
}

void TestCupsPrinting::anAddressLargerThanTheLabelIsNotSent_data()
{
    QTest::addColumn<QString>("printerQueue");
    QTest::newRow("LabelWriter 450") << "lablist-dymo";
    QTest::newRow("QL-570") << "lablist-ql570";
}

void TestCupsPrinting::anAddressLargerThanTheLabelIsNotSent()
{
    QFETCH(QString, printerQueue);
    QVERIFY(makeDefault(printerQueue));
    // A street as long as its box takes fits a sheet, but no label either way round.
    const Fields huge{"Smith",      "Ann", QStringLiteral("Elm Street ").repeated(200).left(2000),
                      "Springdale", "IL",  "99999",
                      "12/31/04"};
    driver().add(SampleCustomer);
    driver().add(huge);
    for (const bool allLabels : {false, true}) {
        MessageLog log;
        const Driver::PrintRun run =
            allLabels ? driver().printAllLabels() : driver().printNewCustomersLabel(huge);
        QCOMPARE(run.after,
                 Driver::leftByPrint(run.before, allLabels, QStringLiteral("SM99912/31/04")));
        QCOMPARE(log.texts(),
                 QStringList{QStringLiteral("An address does not fit on the printer's labels")});
        QCOMPARE(log.messages.first().title, QStringLiteral("Print Error"));
    }
    QCOMPARE(jobFiles(), jobsBefore);
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
