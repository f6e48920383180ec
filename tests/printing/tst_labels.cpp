#include "Driver.h"
#include "printing/Labels.h"

#include <QtTest>

// Labels as the printer receives them, printed through the real forms.
class TestLabels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void oneLabel_data();
    void oneLabel();
    void oneLabelOfADisplayedCustomerPrintsItsEditedFields();
    void allLabelsInOrderOfAddition();
    void allLabelsOfNoCustomerEndTheDocumentAtOnce();
    void failedPrintShowsWhyAndChangesNothing_data();
    void failedPrintShowsWhyAndChangesNothing();

private:
    const Driver &driver() const { return program->driver; }

    std::unique_ptr<Program<>> program;
    RecordingPrinter *printer = nullptr;
    frmMain *main = nullptr;
};

void TestLabels::init()
{
    program = std::make_unique<Program<>>();
    printer = &program->printer;
    main = &program->main;
    QVERIFY(program->show());
}

void TestLabels::cleanup()
{
    program.reset();
}

void TestLabels::oneLabel_data()
{
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("label");

    const QString longStreet = QStringLiteral("1 Elm St ").repeated(60) + QStringLiteral("end");
    QTest::newRow("required fields filled: the number is derived and printed")
        << Fields{"Smith", "Ann", "1 Elm St", "Springfield", "IL", "01234", "12/31/04"}
        << QStringList{}
        << QStringList{"", "Ann Smith   SM01212/31/04", "1 Elm St", "Springfield, IL  01234", ""};
    QTest::newRow("empty last name: the message, then four spaces after the first name")
        << Fields{"", "Ann", "1 Elm St", "Springfield", "IL", "01234", "12/31/04"}
        << QStringList{"Enter Last Name"}
        << QStringList{"", "Ann    ", "1 Elm St", "Springfield, IL  01234", ""};
    QTest::newRow("empty first name: the name line begins with one space")
        << Fields{"Smith", "", "1 Elm St", "Springfield", "IL", "01234", "12/31/04"}
        << QStringList{}
        << QStringList{"", " Smith   SM01212/31/04", "1 Elm St", "Springfield, IL  01234", ""};
    QTest::newRow("empty city, state and zip: a comma and three spaces")
        << Fields{"Smith", "Ann", "", "", "", "", "12/31/04"} << QStringList{"Enter Full Zip Code"}
        << QStringList{"", "Ann Smith   ", "", ",   ", ""};
    QTest::newRow("spaces and case are printed as typed")
        << Fields{" mcDonald ", " ann", " 1  Elm St ", "springfield ", "il", " 01", "1/1/05"}
        << QStringList{}
        << QStringList{"", " ann  mcDonald     M 011/1/05", " 1  Elm St ", "springfield , il   01",
                       ""};
    QTest::newRow("control characters and right-to-left text are passed on unchanged")
        << Fields{"כהן", "Dana\tX", "Main St\x1b[0m\r\n", "القاهرة", "\x7f", "12345", "1/1/05"}
        << QStringList{}
        << QStringList{"", "Dana\tX כהן   כה1231/1/05", "Main St\x1b[0m\r\n",
                       "القاهرة, \x7f  12345", ""};
    QTest::newRow("a very long street is passed on whole")
        << Fields{"Smith", "Ann", longStreet, "Springfield", "IL", "01234", "12/31/04"}
        << QStringList{}
        << QStringList{"", "Ann Smith   SM01212/31/04", longStreet, "Springfield, IL  01234", ""};
}

void TestLabels::oneLabel()
{
    QFETCH(Fields, fields);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, label);

    MessageLog log;
    driver().onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        fill(&form, fields);
        control<QPushButton>(&form, "cmdPrint")->click();
        control<QPushButton>(&form, "cmdCancel")->click();
    });
    QCOMPARE(log.texts(), messages);
    QCOMPARE(printer->jobs, QList<QStringList>{label});
    QCOMPARE(printer->labelStarts, QList<QList<qsizetype>>{{0}});
    // The number that was printed is the one the form shows.
    const QString shown = control<QLabel>(main->customerForm(), "lblAccountNumber")->text();
    QVERIFY(label.at(1).endsWith(QStringLiteral("   ") + shown));
    QVERIFY(messages.isEmpty() != shown.isEmpty());
    QCOMPARE(main->customerForm()->customers().Count(), 0);
}

void TestLabels::oneLabelOfADisplayedCustomerPrintsItsEditedFields()
{
    driver().add(SampleCustomer);
    QVERIFY(driver().select(QStringLiteral("SM01212/31/04")));
    MessageLog log;
    driver().onCustomerForm("cmdDisplay", [&](frmMailingLabels &form) {
        // A changed last name does not change the number shown, so none is derived.
        fill(&form, {"Jones", "Bea", "2 Oak Ave", "Springfield", "IL", "99999", "12/31/04"});
        control<QPushButton>(&form, "cmdPrint")->click();
        control<QPushButton>(&form, "cmdCancel")->click();
    });
    QCOMPARE(log.texts(), QStringList());
    const QStringList label = {"", "Bea Jones   SM01212/31/04", "2 Oak Ave",
                               "Springfield, IL  99999", ""};
    QCOMPARE(printer->jobs, QList<QStringList>{label});
    QVERIFY(main->customerForm()->customers().Contains(QStringLiteral("SM01212/31/04")));
    QCOMPARE(main->customerForm()->customers().Item(QStringLiteral("SM01212/31/04"))->FirstName(),
             QStringLiteral("Ann"));
}

void TestLabels::allLabelsInOrderOfAddition()
{
    // Added in an order that the sorted list does not keep.
    driver().add({"Young", "Cy", "3 Pine Rd", "Ames", "IA", "50010", "3/3/05"});
    driver().add({"Adams", "", "1 Elm St", "Springfield", "IL", "01234", "1/1/05"});
    driver().add({"Miller", "Bo", "", "", "", "777", "2/2/05"});
    const QStringList young = {"", "", "Cy Young   YO5003/3/05", "3 Pine Rd", "Ames, IA  50010",
                               "", ""};
    const QStringList adams = {"", "", " Adams   AD0121/1/05", "1 Elm St", "Springfield, IL  01234",
                               "", ""};
    const QStringList miller = {"", "", "Bo Miller   MI7772/2/05", "", ",   777", "", ""};

    MessageLog log;
    driver().button("cmdPrintAll")->click();
    QCOMPARE(printer->jobs, QList<QStringList>{young + adams + miller});
    QCOMPARE(printer->jobs.first().size(), 21);
    // Each customer's lines are one label, kept together on paper.
    QCOMPARE(printer->labelStarts.first(), (QList<qsizetype>{0, 7, 14}));

    QVERIFY(driver().select(QStringLiteral("AD0121/1/05")));
    driver().onCustomerForm("cmdRemove", [](frmMailingLabels &form) { form.cmdAction()->click(); });
    driver().button("cmdPrintAll")->click();
    QCOMPARE(printer->jobs.size(), 2);
    QCOMPARE(printer->jobs.last(), young + miller);
    QCOMPARE(log.texts(), QStringList());
}

void TestLabels::allLabelsOfNoCustomerEndTheDocumentAtOnce()
{
    QCOMPARE(printAllLabels(*printer, CCustomers()), PrintOutcome::Printed);
    QCOMPARE(printer->jobs, QList<QStringList>{QStringList()});
}

void TestLabels::failedPrintShowsWhyAndChangesNothing_data()
{
    QTest::addColumn<PrintOutcome>("outcome");
    QTest::addColumn<bool>("allLabels");
    QTest::addColumn<QString>("message");

    const QString noPrinter = QStringLiteral("No default printer is available");
    const QString failed = QStringLiteral("The labels could not be printed");
    const QString tooLarge = QStringLiteral("An address does not fit on the printer's labels");
    QTest::newRow("one label, no printer") << PrintOutcome::NoPrinter << false << noPrinter;
    QTest::newRow("one label, failing printer") << PrintOutcome::Failed << false << failed;
    QTest::newRow("one label, too large for the label")
        << PrintOutcome::DoesNotFit << false << tooLarge;
    QTest::newRow("all labels, no printer") << PrintOutcome::NoPrinter << true << noPrinter;
    QTest::newRow("all labels, failing printer") << PrintOutcome::Failed << true << failed;
    QTest::newRow("all labels, one too large for the label")
        << PrintOutcome::DoesNotFit << true << tooLarge;
}

void TestLabels::failedPrintShowsWhyAndChangesNothing()
{
    QFETCH(PrintOutcome, outcome);
    QFETCH(bool, allLabels);
    QFETCH(QString, message);

    driver().add(SampleCustomer);
    driver().add({"Lee", "Al", "", "", "", "12", "1/1/05"});
    printer->outcome = outcome;
    MessageLog log;
    const Driver::PrintRun run =
        allLabels ? driver().printAllLabels()
                  : driver().printNewCustomersLabel(
                        {"Brown", "Cy", "3 Pine Rd", "Ames", "IA", "50010", "3/3/05"});
    QCOMPARE(run.after, Driver::leftByPrint(run.before, allLabels, QStringLiteral("BR5003/3/05")));
    QCOMPARE(log.texts(), QStringList{message});
    QCOMPARE(log.messages.first().title, QStringLiteral("Print Error"));
    QCOMPARE(log.messages.first().icon, QMessageBox::Information);
    QCOMPARE(printer->jobs.size(), 1);
}

QTEST_MAIN(TestLabels)
#include "tst_labels.moc"
