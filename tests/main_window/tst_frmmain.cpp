#include "Driver.h"

#include <QtTest>

// The main window and its five commands, driven through the real windows.
class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startState();
    void guards_data();
    void guards();
    void commandsShowTheFormInTheirMode_data();
    void commandsShowTheFormInTheirMode();
    void requiredFieldsInOrder();
    void accountNumberThroughTheForm();
    void addThenRemove();
    void addUsesTheCurrentFieldsNotAnEarlierNumber();
    void listIsSorted();
    void duplicateIsRefusedAndNothingChanges();
    void removeOfAnAbsentKeyChangesNothing();
    void buttonVisibilityIsRestored_data();
    void buttonVisibilityIsRestored();
    void accessKeys_data();
    void accessKeys();
    void enterClicksTheDefaultButton();
    void escapeNeverEndsTheProgram();
    void exitUnloadsTheFormBeforeTheWindowCloses_data();
    void exitUnloadsTheFormBeforeTheWindowCloses();
    void closingEveryWindowEndsTheCommandThenTheFormGoesWithTheWindow_data();
    void closingEveryWindowEndsTheCommandThenTheFormGoesWithTheWindow();

private:
    void releaseTheWindows();

    std::unique_ptr<Program<>> program;
    RecordingPrinter *printer = nullptr;
    frmMain *main = nullptr;
    Driver *driver = nullptr;

    const Fields &smith = SampleCustomer;
    const Fields lee{"Lee", "Bo", "2 Oak Ave", "Portland", "OR", "97201", "1/1/05", "ToolTime"};
};

void TestMainWindow::init()
{
    program = std::make_unique<Program<>>();
    printer = &program->printer;
    main = &program->main;
    driver = &program->driver;
    QVERIFY(program->show());
}

void TestMainWindow::cleanup()
{
    releaseTheWindows();
}

// As the program's end does once its last window has closed.
void TestMainWindow::releaseTheWindows()
{
    driver = nullptr;
    main = nullptr;
    printer = nullptr;
    program.reset();
}

void TestMainWindow::startState()
{
    QCOMPARE(main->objectName(), QStringLiteral("frmMain"));
    QCOMPARE(main->windowTitle(), QStringLiteral("Customer Information"));
    QCOMPARE(main->size(), QSize(312, 213));
    QCOMPARE(QApplication::focusWidget(), driver->button("cmdAdd"));
    QVERIFY(driver->button("cmdAdd")->isDefault());
    QCOMPARE(driver->list()->count(), 0);
    QVERIFY(driver->list()->isSortingEnabled());
    QCOMPARE(driver->list()->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!main->customerForm());

    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, QStringList({"cmdAdd", "cmdRemove", "cmdDisplay", "cmdExit", "lstCustomer",
                                   "cmdPrintAll", "cmdAdd"}));
}

void TestMainWindow::guards_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("list"); // empty, nothing selected, or after a removal
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");

    QTest::newRow("remove, empty list") << "cmdRemove"
                                        << "empty"
                                        << "Please Select Item from the list"
                                        << "Lablist";
    QTest::newRow("display, empty list") << "cmdDisplay"
                                         << "empty"
                                         << "Please Select Item from list"
                                         << "Lablist";
    QTest::newRow("print all, empty list") << "cmdPrintAll"
                                           << "empty"
                                           << "No data to print"
                                           << "Error";
    QTest::newRow("remove, nothing selected") << "cmdRemove"
                                              << "nothing selected"
                                              << "Please Select Item from the list"
                                              << "Lablist";
    QTest::newRow("display, nothing selected") << "cmdDisplay"
                                               << "nothing selected"
                                               << "Please Select Item from list"
                                               << "Lablist";
    // The list must not hand the selection on to a neighbour the user never chose.
    QTest::newRow("remove again after a removal") << "cmdRemove"
                                                  << "after a removal"
                                                  << "Please Select Item from the list"
                                                  << "Lablist";
    QTest::newRow("display after a removal") << "cmdDisplay"
                                             << "after a removal"
                                             << "Please Select Item from list"
                                             << "Lablist";
}

void TestMainWindow::guards()
{
    QFETCH(QString, button);
    QFETCH(QString, list);
    QFETCH(QString, text);
    QFETCH(QString, title);

    if (list != QStringLiteral("empty")) {
        driver->add(smith);
        driver->add(lee);
        driver->add({"Taylor", {}, {}, {}, {}, "01234", "12/31/04", {}});
        driver->list()->clearSelection();
    }
    if (list == QStringLiteral("after a removal")) {
        QVERIFY(driver->select(QStringLiteral("SM01212/31/04")));
        driver->onCustomerForm("cmdRemove",
                               [](frmMailingLabels &form) { form.cmdAction()->click(); });
        QCOMPARE(driver->entries(), QStringList({"LE9721/1/05", "TA01212/31/04"}));
        QVERIFY(driver->list()->selectedItems().isEmpty());
    }
    const bool formBefore = main->customerForm() != nullptr;
    const QStringList entriesBefore = driver->entries();

    auto seen = expectMessage();
    driver->button(qPrintable(button))->click();
    QVERIFY(seen->shown);
    QCOMPARE(seen->text, text);
    QCOMPARE(seen->title, title);
    QCOMPARE(seen->icon, QMessageBox::NoIcon);
    QCOMPARE(seen->buttonCount, 1);

    // A failed guard creates no customer form and changes nothing.
    QCOMPARE(main->customerForm() != nullptr, formBefore);
    QCOMPARE(driver->entries(), entriesBefore);
    QCOMPARE(printer->jobs.size(), 0);
}

void TestMainWindow::commandsShowTheFormInTheirMode_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("okShown");
    QTest::addColumn<bool>("displayShown");
    QTest::addColumn<QString>("lastName"); // in its box as the form shows
    QTest::newRow("add") << "cmdAdd"
                         << "Add New Customer Info" << true << true << "";
    QTest::newRow("display") << "cmdDisplay"
                             << "Customer Display" << false << false << "Smith";
    QTest::newRow("remove") << "cmdRemove"
                            << "Remove this record?" << true << false << "Smith";
}

// Which mode each command selects, and which buttons it shows; the form's own
// test holds what each mode does with the boxes.
void TestMainWindow::commandsShowTheFormInTheirMode()
{
    QFETCH(QString, command);
    QFETCH(QString, heading);
    QFETCH(bool, okShown);
    QFETCH(bool, displayShown);
    QFETCH(QString, lastName);

    driver->add(smith);
    QVERIFY(driver->select(SampleAccountNumber));
    bool shown = false;
    driver->onCustomerForm(qPrintable(command), [&](const frmMailingLabels &form) {
        shown = true;
        QCOMPARE(driver->formControl<QLabel>("lblCommand")->text(), heading);
        QCOMPARE(form.cmdAction()->isVisible(), okShown);
        QCOMPARE(form.cmdDisplay()->isVisible(), displayShown);
        QCOMPARE(driver->box("txtLastName")->text(), lastName);
        // The main window takes no input while the form is up.
        QVERIFY(QApplication::activeModalWidget() == &form);
        QVERIFY(!main->isActiveWindow());
        driver->formControl<QPushButton>("cmdCancel")->click();
    });
    QVERIFY(shown);
    QVERIFY(!main->customerForm()->isVisible());
    QCOMPARE(driver->entries(), QStringList{SampleAccountNumber});
}

void TestMainWindow::requiredFieldsInOrder()
{
    QStringList prompts;
    QStringList focused;
    driver->onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        driver->box("txtFirstName")->setText(QStringLiteral("Ann"));
        // Each press of Ok names the first empty box and puts the focus there;
        // filling that box lets the next press get one step further.
        for (int round = 0; round < 3; ++round) {
            auto seen = expectMessage();
            form.cmdAction()->click();
            QVERIFY(seen->shown);
            QCOMPARE(seen->title, QStringLiteral("Data Missing"));
            QCOMPARE(seen->icon, QMessageBox::Information);
            prompts << seen->text;
            focused << (seen->focusBefore ? seen->focusBefore->objectName() : QString());
            QVERIFY(form.isVisible());
            QVERIFY(driver->entries().isEmpty());
            qobject_cast<QLineEdit *>(form.focusWidget())->setText(QStringLiteral("1"));
        }
        form.cmdAction()->click();
    });

    QCOMPARE(prompts,
             QStringList({"Enter Last Name", "Enter Full Zip Code", "Enter Expiration Date"}));
    QCOMPARE(focused, QStringList({"txtLastName", "txtZipCode", "txtExpirationDate"}));
    QCOMPARE(driver->entries(), QStringList({"111"}));
    QVERIFY(main->customerForm()->customers().Contains(QStringLiteral("111")));
    QCOMPARE(main->customerForm()->customers().Item(QStringLiteral("111"))->FirstName(),
             QStringLiteral("Ann"));
}

// The rule itself is tst_accountnumber's; this shows the form applies it to
// what was typed, lower case and all.
void TestMainWindow::accountNumberThroughTheForm()
{
    const QString lastName = QStringLiteral("smith");
    const QString zipCode = QStringLiteral("01234");
    const QString date = QStringLiteral("12/31/04");
    const QString expected = QStringLiteral("SM01212/31/04");

    driver->onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        fill(&form, {lastName, {}, {}, {}, {}, zipCode, date, {}});
        QTest::keyClick(&form, Qt::Key_A, Qt::AltModifier);
        QVERIFY(QTest::qWaitFor([&] { return driver->accountLabel() == expected; }));
        form.cmdAction()->click();
    });
    QCOMPARE(driver->entries(), QStringList{expected});
    QVERIFY(main->customerForm()->customers().Contains(expected));
    QCOMPARE(main->customerForm()->customers().Item(expected)->LastName(), lastName);
}

void TestMainWindow::addThenRemove()
{
    driver->add(smith);
    driver->add(lee);
    QCOMPARE(driver->entries(), QStringList({"LE9721/1/05", "SM01212/31/04"}));
    const CCustomers &customers = main->customerForm()->customers();
    QCOMPARE(customers.Count(), 2);
    QVERIFY(customers.Contains(QStringLiteral("SM01212/31/04")));
    const auto stored = customers.Item(QStringLiteral("SM01212/31/04"));
    QCOMPARE(stored->LastName(), QStringLiteral("Smith"));
    QCOMPARE(stored->Catalog(), QStringLiteral("Spiegel"));

    QVERIFY(driver->select(QStringLiteral("SM01212/31/04")));
    driver->onCustomerForm("cmdRemove",
                           [&](const frmMailingLabels &form) { form.cmdAction()->click(); });
    QCOMPARE(driver->entries(), QStringList({"LE9721/1/05"}));
    QCOMPARE(customers.Count(), 1);
    QVERIFY(!customers.Contains(QStringLiteral("SM01212/31/04")));

    QVERIFY(driver->select(QStringLiteral("LE9721/1/05")));
    driver->onCustomerForm("cmdRemove", [&](frmMailingLabels &form) { form.cmdAction()->click(); });
    QVERIFY(driver->entries().isEmpty());
    QCOMPARE(customers.Count(), 0);
}

void TestMainWindow::addUsesTheCurrentFieldsNotAnEarlierNumber()
{
    driver->onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        fill(&form, smith);
        form.cmdDisplay()->click();
        QCOMPARE(driver->accountLabel(), QStringLiteral("SM01212/31/04"));
        driver->box("txtLastName")->setText(QStringLiteral("Jones"));
        form.cmdAction()->click();
    });
    QCOMPARE(driver->entries(), QStringList({"JO01212/31/04"}));
    QCOMPARE(driver->accountLabel(), QStringLiteral("JO01212/31/04"));
}

void TestMainWindow::listIsSorted()
{
    for (const char *last : {"Miller", "Adams", "Young", "Baker", "Cole"})
        driver->add({QString::fromUtf8(last), {}, {}, {}, {}, "01234", "1/1/05", {}});
    QCOMPARE(driver->entries(), QStringList({"AD0121/1/05", "BA0121/1/05", "CO0121/1/05",
                                             "MI0121/1/05", "YO0121/1/05"}));
    // The collection keeps the order of addition.
    QStringList added;
    for (const auto &customer : main->customerForm()->customers())
        added << customer->LastName();
    QCOMPARE(added, QStringList({"Miller", "Adams", "Young", "Baker", "Cole"}));
}

void TestMainWindow::duplicateIsRefusedAndNothingChanges()
{
    driver->add(smith);
    const Fields smythe{"Smythe", "Sam", "9 Pine Rd", "Dover", "DE", "01299", "12/31/04", ""};

    driver->onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        fill(&form, smythe);
        auto seen = expectMessage();
        form.cmdAction()->click();
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, QStringLiteral("Account number SM01212/31/04 is already in use"));
        QCOMPARE(seen->title, QStringLiteral("Duplicate Account Number"));
        QCOMPARE(seen->icon, QMessageBox::Information);
        // The form stays open with what was typed, the number shown and the
        // focus in the last name, ready for a correction.
        QVERIFY(form.isVisible());
        QCOMPARE(driver->accountLabel(), QStringLiteral("SM01212/31/04"));
        QCOMPARE(form.focusWidget(), driver->box("txtLastName"));
        QCOMPARE(driver->box("txtFirstName")->text(), QStringLiteral("Sam"));
        QCOMPARE(driver->entries(), QStringList({"SM01212/31/04"}));

        driver->box("txtLastName")->setText(QStringLiteral("Taylor"));
        form.cmdAction()->click();
    });

    QCOMPARE(driver->entries(), QStringList({"SM01212/31/04", "TA01212/31/04"}));
    const CCustomers &customers = main->customerForm()->customers();
    QCOMPARE(customers.Count(), 2);
    QVERIFY(customers.Contains(QStringLiteral("SM01212/31/04")));
    QCOMPARE(customers.Item(QStringLiteral("SM01212/31/04"))->FirstName(), QStringLiteral("Ann"));
    QVERIFY(customers.Contains(QStringLiteral("TA01212/31/04")));
    QCOMPARE(customers.Item(QStringLiteral("TA01212/31/04"))->FirstName(), QStringLiteral("Sam"));
}

void TestMainWindow::removeOfAnAbsentKeyChangesNothing()
{
    driver->add(smith);
    // An entry with no customer behind it, as if list and collection had parted.
    driver->list()->addItem(QStringLiteral("ZZ999x"));
    QVERIFY(driver->select(QStringLiteral("ZZ999x")));

    // Opening the form already reports the missing customer; Ok reports it again
    // and removes nothing.
    auto onOpen = expectMessage();
    driver->onCustomerForm("cmdRemove", [&](frmMailingLabels &form) {
        auto onOk = expectMessage();
        form.cmdAction()->click();
        QVERIFY(onOk->shown);
        QCOMPARE(onOk->text, QStringLiteral("Account number ZZ999x is not on file"));
        QVERIFY(form.isVisible());
        driver->formControl<QPushButton>("cmdCancel")->click();
    });
    QVERIFY(onOpen->shown);

    QCOMPARE(driver->entries(), QStringList({"SM01212/31/04", "ZZ999x"}));
    QCOMPARE(main->customerForm()->customers().Count(), 1);
}

void TestMainWindow::buttonVisibilityIsRestored_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("howLeft");
    for (const char *command : {"cmdAdd", "cmdDisplay"})
        for (const char *howLeft : {"ok", "cancel", "frame"}) {
            if (QByteArray(command) == "cmdDisplay" && QByteArray(howLeft) == "ok")
                continue;
            QTest::addRow("%s left by %s", command, howLeft) << command << howLeft;
        }
}

void TestMainWindow::buttonVisibilityIsRestored()
{
    QFETCH(QString, command);
    QFETCH(QString, howLeft);

    driver->add(lee);
    QVERIFY(driver->select(QStringLiteral("LE9721/1/05")));
    driver->onCustomerForm(qPrintable(command), [&](frmMailingLabels &form) {
        if (howLeft == QStringLiteral("ok")) {
            fill(&form, smith);
            form.cmdAction()->click();
        } else if (howLeft == QStringLiteral("cancel")) {
            driver->formControl<QPushButton>("cmdCancel")->click();
        } else {
            form.close();
        }
    });

    frmMailingLabels *form = main->customerForm();
    QVERIFY(form->cmdDisplay()->isHidden());
    QVERIFY(!form->cmdAction()->isHidden());
    // Whatever way the form was left, its customers are still there.
    QVERIFY(form->customers().Contains(QStringLiteral("LE9721/1/05")));

    // A following remove shows Ok and not Display Acct. No.
    QVERIFY(driver->select(QStringLiteral("LE9721/1/05")));
    driver->onCustomerForm("cmdRemove", [&](frmMailingLabels &shown) {
        QVERIFY(shown.cmdAction()->isVisible());
        QVERIFY(!shown.cmdDisplay()->isVisible());
        driver->formControl<QPushButton>("cmdCancel")->click();
    });
}

void TestMainWindow::accessKeys_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("expected"); // heading of the form, or the message shown
    QTest::newRow("Alt+A") << Qt::Key_A << "Add New Customer Info";
    QTest::newRow("Alt+R") << Qt::Key_R << "Remove this record?";
    QTest::newRow("Alt+D") << Qt::Key_D << "Customer Display";
    QTest::newRow("Alt+P") << Qt::Key_P << "printed";
}

void TestMainWindow::accessKeys()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, expected);

    driver->add(smith);
    QVERIFY(driver->select(QStringLiteral("SM01212/31/04")));
    QString seen;
    QVERIFY(driver->waitUntilActive());
    const auto press = [key] {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    };
    // Access keys click through animateClick, which fires a little later.
    if (key == Qt::Key_P) {
        press();
        QVERIFY(QTest::qWaitFor([&] { return printer->jobs.size() == 1; }));
        seen = QStringLiteral("printed");
    } else {
        inModal<frmMailingLabels>(press, [&](const frmMailingLabels &) {
            seen = driver->formControl<QLabel>("lblCommand")->text();
            driver->formControl<QPushButton>("cmdCancel")->click();
        });
        QVERIFY(QTest::qWaitFor([&] { return !seen.isEmpty(); }));
    }
    QCOMPARE(seen, expected);
}

void TestMainWindow::enterClicksTheDefaultButton()
{
    driver->add(smith);
    driver->list()->setFocus();
    QVERIFY(driver->select(QStringLiteral("SM01212/31/04")));
    QVERIFY(driver->waitUntilActive());
    bool opened = false;
    whenModal<frmMailingLabels>([&](frmMailingLabels *) {
        opened = true;
        QCOMPARE(driver->formControl<QLabel>("lblCommand")->text(),
                 QStringLiteral("Add New Customer Info"));
        fill(driver->form(), lee);
        // Enter in a box of the form clicks Ok.
        QTest::keyClick(driver->box("txtCity"), Qt::Key_Return);
    });
    QTest::keyClick(driver->list(), Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return opened; }));
    QCOMPARE(driver->entries(), QStringList({"LE9721/1/05", "SM01212/31/04"}));
}

// The main window is a dialog only so that Enter reaches its default button;
// Esc, which would reject a dialog, must not close it.
void TestMainWindow::escapeNeverEndsTheProgram()
{
    driver->add(smith);
    QVERIFY(driver->waitUntilActive());
    for (const char *focus : {"cmdAdd", "cmdExit", "lstCustomer"}) {
        QTest::keyClick(control<QWidget>(main, focus), Qt::Key_Escape);
        QVERIFY2(main->isVisible(), focus);
    }
}

void TestMainWindow::exitUnloadsTheFormBeforeTheWindowCloses_data()
{
    QTest::addColumn<bool>("byFrame");
    QTest::addColumn<bool>("formUsed");
    QTest::newRow("Exit") << false << true;
    QTest::newRow("frame's close control") << true << true;
    QTest::newRow("Exit, form never used") << false << false;
}

void TestMainWindow::exitUnloadsTheFormBeforeTheWindowCloses()
{
    QFETCH(bool, byFrame);
    QFETCH(bool, formUsed);

    std::weak_ptr<CCustomer> customer;
    if (formUsed) {
        driver->add(smith);
        customer = main->customerForm()->customers().Item(SampleAccountNumber);
    }
    // Whether the form and its customers were gone when the window hid.
    bool goneFirst = false;
    connect(main->windowHandle(), &QWindow::visibleChanged, this,
            [&] { goneFirst = !main->customerForm() && customer.expired(); });

    if (byFrame)
        QVERIFY(main->close());
    else
        driver->button("cmdExit")->click();
    disconnect(main->windowHandle(), nullptr, this, nullptr);

    QVERIFY(!main->isVisible());
    QVERIFY(goneFirst);
}

void TestMainWindow::closingEveryWindowEndsTheCommandThenTheFormGoesWithTheWindow_data()
{
    QTest::addColumn<QString>("command");
    // Title of the message box up on the form when every window closes, or
    // empty for the form alone.
    QTest::addColumn<QString>("message");
    // Whether the main window closes before the windows above it.
    QTest::addColumn<bool>("mainFirst");
    for (const bool mainFirst : {false, true}) {
        const char *order = mainFirst ? "main window first" : "modal windows first";
        const auto row = [&](const char *command, const char *message) {
            QTest::addRow("%s%s%s, %s", command, *message ? ", up: " : "", message, order)
                << command << message << mainFirst;
        };
        row("cmdAdd", "");
        row("cmdAdd", "Data Missing");
        row("cmdDisplay", "");
        row("cmdDisplay", "Print Error");
        row("cmdRemove", "");
        row("cmdRemove", "Print Error");
        row("cmdPrintAll", "Print Error");
    }
}

// A desktop logout closes every window at once while the command that showed
// the form still waits on it. Qt closes the modal ones first; a window
// manager may close the main window first.
void TestMainWindow::closingEveryWindowEndsTheCommandThenTheFormGoesWithTheWindow()
{
    QFETCH(QString, command);
    QFETCH(QString, message);
    QFETCH(bool, mainFirst);

    driver->add(smith);
    QVERIFY(driver->select(QStringLiteral("SM01212/31/04")));
    QVERIFY(main->customerForm()->customers().Contains(QStringLiteral("SM01212/31/04")));
    std::weak_ptr<CCustomer> customer =
        main->customerForm()->customers().Item(QStringLiteral("SM01212/31/04"));
    QPointer<frmMailingLabels> form = main->customerForm();
    printer->outcome = PrintOutcome::NoPrinter;

    QString closedUnder;
    const auto closeEverything = [&] {
        if (mainFirst) {
            main->close();
            // The command must not be left waiting on a form nobody can reach.
            QVERIFY(!form->isVisible());
        }
        QApplication::closeAllWindows();
    };
    const auto closeUnderMessage = [&] {
        whenModal<QMessageBox>([&](QMessageBox *box) {
            closedUnder = box->windowTitle();
            closeEverything();
        });
    };
    if (command == QStringLiteral("cmdPrintAll")) {
        closeUnderMessage();
    } else {
        whenModal<frmMailingLabels>([&](frmMailingLabels *shown) {
            if (message.isEmpty()) {
                closedUnder = shown->objectName();
                closeEverything();
                return;
            }
            closeUnderMessage();
            if (message == QStringLiteral("Data Missing"))
                shown->cmdAction()->click();
            else
                driver->formControl<QPushButton>("cmdPrint")->click();
        });
    }
    driver->button(qPrintable(command))->click();

    QCOMPARE(closedUnder, message.isEmpty() ? QStringLiteral("frmMailingLabels") : message);
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    releaseTheWindows();
    QVERIFY(form.isNull());
    QVERIFY(customer.expired());
}

QTEST_MAIN(TestMainWindow)
#include "tst_frmmain.moc"
