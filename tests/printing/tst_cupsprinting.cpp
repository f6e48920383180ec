#include "Driver.h"
#include "Pdf.h"
#include "Process.h"
#include "printing/SystemPrinter.h"

#include <QDir>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QtTest>

// Labels printed through the real program onto a CUPS queue, then read back
// from the files its printer keeps (scripts/cups.sh makes both, on a CUPS
// server of the test run's own, and names the folder in LABLIST_TEST_JOBS).
class TestCupsPrinting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void oneLabel();
    void allLabelsAsOneJobInOrderOfAddition();
    void stoppedQueueFailsAndChangesNothing();

private:
    QStringList newPdfs() const;
    // Waits for the queue to finish and returns the rows of text of the PDF
    // files it wrote, one list per file; empty if none came in time.
    QList<QStringList> printedPdfs();

    QString queue;
    QDir pdfDir;
    QStringList pdfsBefore;
    Driver driver() const { return Driver(*main); }

    std::unique_ptr<SystemPrinter> printer;
    std::unique_ptr<frmMain> main;
};

void TestCupsPrinting::initTestCase()
{
    queue = qEnvironmentVariable("LABLIST_TEST_QUEUE", QStringLiteral("lablist-test"));
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    QString missing;
    if (!qEnvironmentVariableIsSet("LABLIST_TEST_JOBS"))
        missing = QStringLiteral("LABLIST_TEST_JOBS names no folder of printed jobs");
    else if (printer.isNull())
        missing = QStringLiteral("no default printer");
    else if (printer.printerName() != queue)
        // Never print test labels on a real printer.
        missing =
            QStringLiteral("the default printer is %1, not %2").arg(printer.printerName(), queue);
    for (const char *tool : {"lpstat", "cupsdisable", "cupsenable", "pdftotext"})
        if (QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty())
            missing = QStringLiteral("%1 is not installed").arg(QString::fromUtf8(tool));
    if (!missing.isEmpty()) {
        const QString why = missing + QStringLiteral(" (source scripts/cups.sh; start_test_cups)");
        // scripts/test has made the queue: a skip there would hide a fault.
        if (qEnvironmentVariableIsSet("LABLIST_EXPECT_CUPS"))
            QFAIL(qPrintable(why));
        QSKIP(qPrintable(why));
    }
    pdfDir.setPath(qEnvironmentVariable("LABLIST_TEST_JOBS"));
}

void TestCupsPrinting::init()
{
    pdfsBefore = newPdfs();
    printer = std::make_unique<SystemPrinter>();
    main = std::make_unique<frmMain>(*printer);
    main->show();
}

void TestCupsPrinting::cleanup()
{
    main.reset();
    printer.reset();
    for (const QString &file : newPdfs())
        if (!pdfsBefore.contains(file))
            QFile::remove(pdfDir.filePath(file));
}

QStringList TestCupsPrinting::newPdfs() const
{
    return pdfDir.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

QList<QStringList> TestCupsPrinting::printedPdfs()
{
    const auto files = [this] {
        QStringList result;
        for (const QString &file : newPdfs())
            if (!pdfsBefore.contains(file))
                result << pdfDir.filePath(file);
        return result;
    };
    // The printer may create the file before the job is complete.
    const auto done = [&] {
        return runProcess(QStringLiteral("lpstat"), {"-W", "not-completed", "-o", queue}) ==
                   QString() &&
               !files().isEmpty();
    };
    if (!QTest::qWaitFor(done, 30000))
        return {};
    QList<QStringList> pdfs;
    for (const QString &file : files())
        pdfs << pdfRows(file);
    return pdfs;
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
    QCOMPARE(printedPdfs(), QList<QStringList>{rows});
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
    QCOMPARE(printedPdfs(), QList<QStringList>{rows});
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
