#include "Driver.h"
#include "platform/SystemPrinter.h"

#include <QtTest>

// The real printer adapter on a machine where no printer can be found.
class TestNoPrinter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printingSaysSoAndChangesNothing_data();
    void printingSaysSoAndChangesNothing();
};

void TestNoPrinter::printingSaysSoAndChangesNothing_data()
{
    QTest::addColumn<bool>("allLabels");
    QTest::newRow("one label") << false;
    QTest::newRow("all labels") << true;
}

void TestNoPrinter::printingSaysSoAndChangesNothing()
{
    QFETCH(bool, allLabels);

    SystemPrinter printer;
    frmMain main(printer);
    main.show();
    const Driver driver(main);
    driver.add({"Young", "Cy", "3 Pine Rd", "Ames", "IA", "50010", "3/3/05"});
    driver.add({"Adams", "Di", "1 Elm St", "Springfield", "IL", "01234", "1/1/05"});

    MessageLog log;
    const Driver::PrintRun run =
        allLabels
            ? driver.printAllLabels()
            : driver.printNewCustomersLabel({"Smith", "Ann", "", "", "", "01234", "12/31/04"});
    QCOMPARE(run.after,
             Driver::leftByPrint(run.before, allLabels, QStringLiteral("SM01212/31/04")));
    QCOMPARE(log.texts(), QStringList{QStringLiteral("No default printer is available")});
    QCOMPARE(log.messages.first().title, QStringLiteral("Print Error"));
    QCOMPARE(log.messages.first().icon, QMessageBox::Information);
}

int main(int argc, char *argv[])
{
    // Before QApplication, which loads the printer support that reads them: a
    // CUPS server that does not exist, and no printer named by the user.
    qputenv("CUPS_SERVER", "/nonexistent/lablist-no-cups.sock");
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    QApplication app(argc, argv);
    TestNoPrinter test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_noprinter.moc"
