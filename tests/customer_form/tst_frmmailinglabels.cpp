#include "Driver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

// The customer form on its own, shown modally in each mode as the main window
// would show it, with a list standing in for the main window's.
class TestCustomerForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startState();
    void tabOrder();
    void labelAccessKeys_data();
    void labelAccessKeys();
    void addMode();
    void addModeClearsWhatAnEarlierUseLeft();
    void displayAndRemoveModesFillFromTheStoredCustomer_data();
    void displayAndRemoveModesFillFromTheStoredCustomer();
    void unknownActionsSelectNoMode_data();
    void unknownActionsSelectNoMode();
    void printAllHidesItselfAndReturns();
    void leavingChangesNoCustomer_data();
    void leavingChangesNoCustomer();
    void enterInATextBoxCommits();
    void enterDoesNotCommitWhileOkIsHidden();
    void messageBoxClosingDoesNotRerunTheMode();

private:
    QString text(const char *name) const { return editor(form.get(), name)->text(); }
    // Shows the form in mode action, runs fn once it is up, and returns when
    // the form has been hidden again.
    void showIn(const QString &action, std::function<void(frmMailingLabels *)> fn);
    void addCustomer(const Fields &fields);

    std::unique_ptr<QListWidget> list;
    std::unique_ptr<RecordingPrinter> printer;
    std::unique_ptr<frmMailingLabels> form;
};

void TestCustomerForm::init()
{
    list = std::make_unique<QListWidget>();
    list->setSortingEnabled(true);
    printer = std::make_unique<RecordingPrinter>();
    // The list is also the window the form returns the keyboard to, as the
    // main window is: the offscreen platform activates a window shown again
    // only if another had the keyboard in between.
    form = std::make_unique<frmMailingLabels>(list.get(), *printer, list.get());
    list->show();
    QVERIFY(QTest::qWaitForWindowActive(list.get()));
}

void TestCustomerForm::cleanup()
{
    closeEveryWindow();
    form.reset();
    printer.reset();
    list.reset();
}

void TestCustomerForm::showIn(const QString &action, std::function<void(frmMailingLabels *)> fn)
{
    form->setAction(action);
    inModal<frmMailingLabels>([this] { form->showModal(); },
                              [fn](frmMailingLabels &shown) { fn(&shown); });
    QVERIFY(!form->isVisible());
}

// Adds through the form as the user would.
void TestCustomerForm::addCustomer(const Fields &fields)
{
    form->cmdDisplay()->setVisible(true);
    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *shown) {
        fill(shown, fields);
        shown->cmdAction()->click();
    });
    form->cmdDisplay()->setVisible(false);
}

void TestCustomerForm::startState()
{
    QCOMPARE(form->objectName(), QStringLiteral("frmMailingLabels"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Generate Mailing Labels"));
    QCOMPARE(form->size(), QSize(399, 304));
    QCOMPARE(form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 24);

    QVERIFY(control<QPushButton>(form.get(), "cmdDisplay")->isHidden());
    QVERIFY(!control<QPushButton>(form.get(), "cmdAction")->isHidden());
    QVERIFY(!control<QPushButton>(form.get(), "cmdCancel")->isHidden());
    QVERIFY(!control<QPushButton>(form.get(), "cmdPrint")->isHidden());
    QVERIFY(control<QPushButton>(form.get(), "cmdAction")->isDefault());

    auto *catalog = control<QComboBox>(form.get(), "cboCatalog");
    QVERIFY(catalog->isEditable());
    QStringList items;
    for (int i = 0; i < catalog->count(); ++i)
        items << catalog->itemText(i);
    QCOMPARE(items, QStringList({"Odds and Ends", "Solutions", "Camping Needs", "ToolTime",
                                 "Spiegel", "The Outlet", "The Large Size"}));
    QVERIFY(catalog->currentText().isEmpty());

    const QFont heading = control<QLabel>(form.get(), "lblCommand")->font();
    QVERIFY(heading.bold());
    QCOMPARE(heading.pointSizeF(), 13.5);
    QVERIFY(control<QLabel>(form.get(), "lblAccountNumber")->frameShape() != QFrame::NoFrame);
    QVERIFY(control<QLabel>(form.get(), "Label1")->alignment() & Qt::AlignRight);
    QVERIFY(control<QLabel>(form.get(), "Label10")->alignment() & Qt::AlignLeft);
}

void TestCustomerForm::tabOrder()
{
    const QStringList withDisplay = {
        "txtLastName", "txtFirstName",      "txtStreet",  "txtCity",   "txtState",
        "txtZipCode",  "txtExpirationDate", "cboCatalog", "cmdAction", "cmdCancel",
        "cmdDisplay",  "cmdPrint",          "txtLastName"};
    QStringList withoutDisplay = withDisplay;
    withoutDisplay.removeAll(QStringLiteral("cmdDisplay"));

    for (const bool displayShown : {false, true}) {
        form->cmdDisplay()->setVisible(displayShown);
        const QStringList expected = displayShown ? withDisplay : withoutDisplay;
        showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *shown) {
            QStringList visited;
            for (int i = 0; i < expected.size(); ++i) {
                visited << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QCOMPARE(visited, expected);
            shown->hide();
        });
    }
}

void TestCustomerForm::labelAccessKeys_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("field");
    QTest::newRow("Alt+L") << Qt::Key_L << "txtLastName";
    QTest::newRow("Alt+F") << Qt::Key_F << "txtFirstName";
    QTest::newRow("Alt+S") << Qt::Key_S << "txtStreet";
    QTest::newRow("Alt+I") << Qt::Key_I << "txtCity";
    QTest::newRow("Alt+T") << Qt::Key_T << "txtState";
    QTest::newRow("Alt+Z") << Qt::Key_Z << "txtZipCode";
    QTest::newRow("Alt+E") << Qt::Key_E << "txtExpirationDate";
    QTest::newRow("Alt+G") << Qt::Key_G << "cboCatalog";
}

void TestCustomerForm::labelAccessKeys()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, field);

    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *shown) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        QWidget *focus = QApplication::focusWidget();
        // An editable combo box passes its focus on to its own line edit.
        if (focus && focus->parentWidget() && qobject_cast<QComboBox *>(focus->parentWidget()))
            focus = focus->parentWidget();
        QVERIFY(focus);
        QCOMPARE(focus->objectName(), field);
        shown->hide();
    });
}

void TestCustomerForm::addMode()
{
    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *shown) {
        QCOMPARE(control<QLabel>(form.get(), "lblCommand")->text(),
                 QStringLiteral("Add New Customer Info"));
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(form.get(), "txtLastName"));
        shown->hide();
    });
}

void TestCustomerForm::addModeClearsWhatAnEarlierUseLeft()
{
    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *) {
        QTest::keyClicks(control<QLineEdit>(form.get(), "txtLastName"), QStringLiteral("Smith"));
        control<QLineEdit>(form.get(), "txtZipCode")->setText(QStringLiteral("01234"));
        control<QLineEdit>(form.get(), "txtExpirationDate")->setText(QStringLiteral("12/31/04"));
        control<QComboBox>(form.get(), "cboCatalog")->setEditText(QStringLiteral("Spiegel"));
        form->cmdDisplay()->click();
        QCOMPARE(control<QLabel>(form.get(), "lblAccountNumber")->text(), SampleAccountNumber);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    });
    // Cancel keeps what was typed until the next use clears it.
    QCOMPARE(text("txtLastName"), QStringLiteral("Smith"));
    QCOMPARE(form->customers().Count(), 0);

    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *shown) {
        for (const char *box : {"txtLastName", "txtFirstName", "txtStreet", "txtCity", "txtState",
                                "txtZipCode", "txtExpirationDate"})
            QVERIFY2(text(box).isEmpty(), box);
        QVERIFY(control<QComboBox>(form.get(), "cboCatalog")->currentText().isEmpty());
        QVERIFY(control<QLabel>(form.get(), "lblAccountNumber")->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(form.get(), "txtLastName"));
        shown->hide();
    });
}

void TestCustomerForm::displayAndRemoveModesFillFromTheStoredCustomer_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("heading");
    QTest::newRow("display") << "D"
                             << "Customer Display";
    QTest::newRow("remove") << "R"
                            << "Remove this record?";
}

void TestCustomerForm::displayAndRemoveModesFillFromTheStoredCustomer()
{
    QFETCH(QString, action);
    QFETCH(QString, heading);

    addCustomer(
        {"Smith", "Ann", "1 Elm St", "Springfield", "IL", "01234", "12/31/04", "Mail Order Gifts"});
    addCustomer({"Lee", "", "", "", "", "12", "1/1/05", ""});
    QCOMPARE(form->customers().Count(), 2);
    QVERIFY(form->customers().Contains(QStringLiteral("LE121/1/05")));
    QVERIFY(form->customers().Contains(SampleAccountNumber));

    // Leave other text in the boxes, so that filling has something to overwrite.
    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *shown) {
        for (const char *box : {"txtFirstName", "txtStreet", "txtCity", "txtState"})
            control<QLineEdit>(form.get(), box)->setText(QStringLiteral("left over"));
        shown->hide();
    });

    form->setKey(QStringLiteral("LE121/1/05"));
    showIn(action, [&](frmMailingLabels *shown) {
        QCOMPARE(control<QLabel>(form.get(), "lblCommand")->text(), heading);
        QCOMPARE(control<QLabel>(form.get(), "lblAccountNumber")->text(),
                 QStringLiteral("LE121/1/05"));
        QCOMPARE(text("txtLastName"), QStringLiteral("Lee"));
        QCOMPARE(text("txtFirstName"), QString());
        QCOMPARE(text("txtStreet"), QString());
        QCOMPARE(text("txtCity"), QString());
        QCOMPARE(text("txtState"), QString());
        shown->hide();
    });

    form->setKey(SampleAccountNumber);
    showIn(action, [&](frmMailingLabels *shown) {
        QCOMPARE(text("txtLastName"), QStringLiteral("Smith"));
        QCOMPARE(text("txtFirstName"), QStringLiteral("Ann"));
        QCOMPARE(text("txtStreet"), QStringLiteral("1 Elm St"));
        QCOMPARE(text("txtCity"), QStringLiteral("Springfield"));
        QCOMPARE(text("txtState"), QStringLiteral("IL"));
        QCOMPARE(text("txtZipCode"), QStringLiteral("01234"));
        QCOMPARE(text("txtExpirationDate"), QStringLiteral("12/31/04"));
        // A catalogue that is not one of the list's items shows as it was stored.
        QCOMPARE(control<QComboBox>(form.get(), "cboCatalog")->currentText(),
                 QStringLiteral("Mail Order Gifts"));
        if (action == frmMailingLabels::DisplayAction)
            QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(form.get(), "txtLastName"));
        shown->hide();
    });
    QCOMPARE(form->customers().Count(), 2);
}

void TestCustomerForm::unknownActionsSelectNoMode_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("lower-case a") << "a";
    QTest::newRow("empty text") << "";
    QTest::newRow("two letters") << "AR";
    QTest::newRow("letter with a space") << "A ";
}

void TestCustomerForm::unknownActionsSelectNoMode()
{
    QFETCH(QString, action);

    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *shown) {
        control<QLineEdit>(form.get(), "txtCity")->setText(QStringLiteral("Springfield"));
        shown->hide();
    });
    showIn(action, [&](frmMailingLabels *shown) {
        QCOMPARE(control<QLabel>(form.get(), "lblCommand")->text(),
                 QStringLiteral("Add New Customer Info"));
        QCOMPARE(text("txtCity"), QStringLiteral("Springfield"));
        // Ok does nothing without an add or remove mode: the form stays up.
        form->cmdAction()->click();
        QVERIFY(shown->isVisible());
        control<QPushButton>(form.get(), "cmdCancel")->click();
    });
    QCOMPARE(form->customers().Count(), 0);
    QCOMPARE(list->count(), 0);
}

void TestCustomerForm::printAllHidesItselfAndReturns()
{
    addCustomer(SampleCustomer);
    QVERIFY(form->customers().Contains(SampleAccountNumber));
    form->setKey(SampleAccountNumber);
    showIn(frmMailingLabels::DisplayAction, [&](frmMailingLabels *shown) { shown->hide(); });

    // The mode runs and hides the form inside the showing: no event loop is
    // needed for showModal() to return.
    form->setAction(frmMailingLabels::PrintAllAction);
    form->showModal();
    QVERIFY(!form->isVisible());
    QVERIFY(text("txtLastName").isEmpty());
    QVERIFY(control<QLabel>(form.get(), "lblAccountNumber")->text().isEmpty());
    QCOMPARE(control<QLabel>(form.get(), "lblCommand")->text(), QStringLiteral("Customer Display"));
    QCOMPARE(printer->jobs.size(), 1);
}

void TestCustomerForm::leavingChangesNoCustomer_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("how"); // "Cancel", "frame" (its close control) or "Esc"
    for (const char *action : {"A", "D", "R"})
        for (const char *how : {"Cancel", "frame"})
            QTest::addRow("%s left by %s", action, how) << action << how;
    // Esc is bound to nothing: the form stays up.
    QTest::newRow("A, Esc does nothing") << "A"
                                         << "Esc";
}

void TestCustomerForm::leavingChangesNoCustomer()
{
    QFETCH(QString, action);
    QFETCH(QString, how);

    addCustomer(SampleCustomer);
    QVERIFY(form->customers().Contains(SampleAccountNumber));
    form->setKey(SampleAccountNumber);
    showIn(action, [&](frmMailingLabels *shown) {
        control<QLineEdit>(form.get(), "txtFirstName")->setText(QStringLiteral("Changed"));
        if (how == u"Cancel") {
            control<QPushButton>(form.get(), "cmdCancel")->click();
        } else if (how == u"frame") {
            QVERIFY(shown->close());
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(shown->isVisible());
            shown->hide();
        }
    });
    QCOMPARE(form->customers().Count(), 1);
    QVERIFY(form->customers().Contains(SampleAccountNumber));
    QCOMPARE(form->customers().Item(SampleAccountNumber)->FirstName(), QStringLiteral("Ann"));
    QCOMPARE(list->count(), 1);
    // What was typed stays until the next use clears or fills the boxes.
    QCOMPARE(text("txtFirstName"), QStringLiteral("Changed"));
}

void TestCustomerForm::enterInATextBoxCommits()
{
    const char *boxes[] = {"txtLastName", "txtFirstName", "txtStreet",
                           "txtCity",     "txtState",     "txtExpirationDate"};
    int customer = 0;
    for (const char *box : boxes) {
        showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *) {
            // A different last name each time keeps the account numbers apart.
            control<QLineEdit>(form.get(), "txtLastName")
                ->setText(QChar(u'A' + customer++) + QStringLiteral("x"));
            control<QLineEdit>(form.get(), "txtZipCode")->setText(QStringLiteral("01234"));
            control<QLineEdit>(form.get(), "txtExpirationDate")->setText(QStringLiteral("1/1/05"));
            control<QLineEdit>(form.get(), box)->setFocus();
            QTest::keyClick(control<QLineEdit>(form.get(), box), Qt::Key_Return);
        });
    }
    QCOMPARE(form->customers().Count(), 6);
    QCOMPARE(list->count(), 6);
}

void TestCustomerForm::enterDoesNotCommitWhileOkIsHidden()
{
    form->cmdAction()->setVisible(false);
    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *shown) {
        control<QLineEdit>(form.get(), "txtLastName")->setText(QStringLiteral("Smith"));
        control<QLineEdit>(form.get(), "txtZipCode")->setText(QStringLiteral("01234"));
        control<QLineEdit>(form.get(), "txtExpirationDate")->setText(QStringLiteral("1/1/05"));
        QTest::keyClick(control<QLineEdit>(form.get(), "txtLastName"), Qt::Key_Return);
        QVERIFY(shown->isVisible());
        shown->hide();
    });
    form->cmdAction()->setVisible(true);
    QCOMPARE(form->customers().Count(), 0);
}

void TestCustomerForm::messageBoxClosingDoesNotRerunTheMode()
{
    showIn(frmMailingLabels::AddAction, [&](frmMailingLabels *) {
        control<QLineEdit>(form.get(), "txtLastName")->setText(QStringLiteral("Smith"));
        control<QLineEdit>(form.get(), "txtCity")->setText(QStringLiteral("Springfield"));
        auto seen = expectMessage([&] {
            // Back on the form after the message: nothing was cleared.
            QTimer::singleShot(0, [&] {
                QCOMPARE(text("txtLastName"), QStringLiteral("Smith"));
                QCOMPARE(text("txtCity"), QStringLiteral("Springfield"));
                QCOMPARE(control<QLabel>(form.get(), "lblCommand")->text(),
                         QStringLiteral("Add New Customer Info"));
                control<QPushButton>(form.get(), "cmdCancel")->click();
            });
        });
        form->cmdAction()->click();
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, QStringLiteral("Enter Full Zip Code"));
    });
}

QTEST_MAIN(TestCustomerForm)
#include "tst_frmmailinglabels.moc"
