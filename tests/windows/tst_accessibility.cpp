#include "MainWindowDriver.h"
#include "RecordingPrinter.h"

#include <QAccessible>
#include <QtTest>

// What a screen reader is told about each control: its role, and a name that
// is the caption a sighted user reads next to it or on it.
class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mainWindow_data();
    void mainWindow();
    void customerForm_data();
    void customerForm();

private:
    RecordingPrinter printer;
    std::unique_ptr<frmMain> window;
};

namespace {

void addColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("spoken");
}

void addRow(const char *name, QAccessible::Role role, const char *spoken)
{
    QTest::newRow(name) << QString::fromUtf8(name) << role << QString::fromUtf8(spoken);
}

void verifyAccessible(QWidget *widget, QAccessible::Role role, const QString &spoken)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), role);
    QCOMPARE(accessible->text(QAccessible::Name), spoken);
}

} // namespace

void TestAccessibility::initTestCase()
{
    window = std::make_unique<frmMain>(printer);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestAccessibility::mainWindow_data()
{
    addColumns();
    addRow("cmdAdd", QAccessible::Button, "Add Customer");
    addRow("cmdRemove", QAccessible::Button, "Remove Customer");
    addRow("cmdDisplay", QAccessible::Button, "Display Customer");
    addRow("cmdExit", QAccessible::Button, "Exit");
    addRow("cmdPrintAll", QAccessible::Button, "Print Labels for All Customers");
    addRow("lstCustomer", QAccessible::List, "Account Numbers");
}

void TestAccessibility::mainWindow()
{
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, spoken);
    verifyAccessible(control<QWidget>(window.get(), qPrintable(name)), role, spoken);
}

void TestAccessibility::customerForm_data()
{
    addColumns();
    addRow("txtLastName", QAccessible::EditableText, "Last Name:");
    addRow("txtFirstName", QAccessible::EditableText, "First Name:");
    addRow("txtStreet", QAccessible::EditableText, "Street");
    addRow("txtCity", QAccessible::EditableText, "City:");
    addRow("txtState", QAccessible::EditableText, "State:");
    addRow("txtZipCode", QAccessible::EditableText, "Zip Code:");
    addRow("txtExpirationDate", QAccessible::EditableText, "Expiration Date:");
    addRow("cboCatalog", QAccessible::ComboBox, "Catalog:");
    addRow("cmdAction", QAccessible::Button, "Ok");
    addRow("cmdCancel", QAccessible::Button, "Cancel");
    addRow("cmdDisplay", QAccessible::Button, "Display Acct. No.");
    addRow("cmdPrint", QAccessible::Button, "Print Label");
}

void TestAccessibility::customerForm()
{
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, spoken);
    onCustomerForm(*window, "cmdAdd", [&](frmMailingLabels &form) {
        verifyAccessible(control<QWidget>(&form, qPrintable(name)), role, spoken);
    });
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
