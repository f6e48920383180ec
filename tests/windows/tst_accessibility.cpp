#include "Driver.h"
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
    void captions_data();
    void captions();

private:
    std::unique_ptr<Program<>> program;
    frmMain *window = nullptr;
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

// A control by object name, the window itself, or a part of the catalogue
// box that a screen reader meets as a control of its own.
QWidget *widgetNamed(QWidget *window, const QString &name)
{
    if (name == window->objectName())
        return window;
    if (name == QLatin1String("cboCatalog text"))
        return control<QComboBox>(window, "cboCatalog")->lineEdit();
    if (name == QLatin1String("cboCatalog list"))
        return control<QComboBox>(window, "cboCatalog")->view();
    return control<QWidget>(window, qPrintable(name));
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
    program = std::make_unique<Program<>>();
    window = &program->main;
    QVERIFY(program->show());
}

void TestAccessibility::mainWindow_data()
{
    addColumns();
    // The program's main window, though Enter's default button makes it a QDialog.
    addRow("frmMain", QAccessible::Window, "Customer Information");
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
    verifyAccessible(widgetNamed(window, name), role, spoken);
}

void TestAccessibility::customerForm_data()
{
    addColumns();
    addRow("frmMailingLabels", QAccessible::Dialog, "Generate Mailing Labels");
    addRow("txtLastName", QAccessible::EditableText, "Last Name:");
    addRow("txtFirstName", QAccessible::EditableText, "First Name:");
    addRow("txtStreet", QAccessible::EditableText, "Street");
    addRow("txtCity", QAccessible::EditableText, "City:");
    addRow("txtState", QAccessible::EditableText, "State:");
    addRow("txtZipCode", QAccessible::EditableText, "Zip Code:");
    addRow("txtExpirationDate", QAccessible::EditableText, "Expiration Date:");
    addRow("cboCatalog", QAccessible::ComboBox, "Catalog:");
    addRow("cboCatalog text", QAccessible::EditableText, "Catalog:");
    addRow("cboCatalog list", QAccessible::List, "Catalog:");
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
    Driver(*window).onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        verifyAccessible(widgetNamed(&form, name), role, spoken);
    });
}

// Which caption a screen reader reads with each field; the account number
// is one, though its caption has no access key.
void TestAccessibility::captions_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("caption");
    const char *const rows[][2] = {
        {"txtLastName", "Label1"},       {"txtFirstName", "Label2"}, {"txtStreet", "Label3"},
        {"txtCity", "Label4"},           {"txtState", "Label5"},     {"txtZipCode", "Label6"},
        {"txtExpirationDate", "Label7"}, {"cboCatalog", "Label11"},  {"lblAccountNumber", "Label9"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]);
}

void TestAccessibility::captions()
{
    QFETCH(QString, field);
    QFETCH(QString, caption);
    Driver(*window).onCustomerForm("cmdAdd", [&](frmMailingLabels &form) {
        QAccessibleInterface *accessible =
            QAccessible::queryAccessibleInterface(control<QWidget>(&form, qPrintable(field)));
        QVERIFY(accessible);
        QStringList labels;
        for (const auto &[label, relation] : accessible->relations(QAccessible::Label))
            labels << label->object()->objectName();
        QCOMPARE(labels, QStringList(caption));
    });
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
