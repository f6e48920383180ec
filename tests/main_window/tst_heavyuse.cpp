#include "Driver.h"
#include "RecordingPrinter.h"
#include "data/CCustomers.h"

#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

// A long session through the real windows: a thousand customers added, every
// second one removed, labels printed for the rest, then Exit. In the sanitizer
// build LeakSanitizer checks at the end of the process that Exit and the
// windows' destruction left nothing of ours behind.
class TestHeavyUse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void thousandCustomersAddedHalfRemovedPrintedAndExit();
};

namespace {

constexpr int Customers = 1000;

QString lastName(int i)
{
    return QStringLiteral("Name%1").arg(i);
}

// "NA", three digits of the zip code, then a date that differs for everyone.
QString accountNumber(int i)
{
    return QStringLiteral("NA%1").arg(i % 1000, 3, 10, QLatin1Char('0')) +
           QStringLiteral("12/%1").arg(i);
}

} // namespace

void TestHeavyUse::thousandCustomersAddedHalfRemovedPrintedAndExit()
{
    auto program = std::make_unique<Program<>>();
    QVERIFY(program->show());
    RecordingPrinter &printer = program->printer;
    frmMain *window = &program->main;
    auto *list = control<QListWidget>(window, "lstCustomer");

    const Driver &driver = program->driver;
    for (int i = 0; i < Customers; ++i)
        driver.add(
            {lastName(i), QStringLiteral("First"), QStringLiteral("%1 Elm St").arg(i),
             QStringLiteral("Springfield"), QStringLiteral("IL"),
             QStringLiteral("%1").arg(i % 1000, 3, 10, QLatin1Char('0')) + QStringLiteral("99"),
             QStringLiteral("12/%1").arg(i), QString()},
            0);
    QCOMPARE(list->count(), Customers);
    QVERIFY(window->customerForm());
    QCOMPARE(window->customerForm()->customers().Count(), Customers);

    for (int i = 0; i < Customers; i += 2) {
        const QList<QListWidgetItem *> found =
            list->findItems(accountNumber(i), Qt::MatchExactly | Qt::MatchCaseSensitive);
        QCOMPARE(found.size(), 1);
        list->setCurrentItem(found.first());
        driver.onCustomerForm(
            "cmdRemove", [](frmMailingLabels &form) { form.cmdAction()->click(); }, 0);
    }
    QCOMPARE(list->count(), Customers / 2);
    QCOMPARE(window->customerForm()->customers().Count(), Customers / 2);

    control<QPushButton>(window, "cmdPrintAll")->click();
    QCOMPARE(printer.jobs.size(), 1);
    const QStringList lines = printer.jobs.first();
    QCOMPARE(lines.size(), 7 * Customers / 2);
    // The survivors, in the order they were added.
    for (int i = 1, label = 0; i < Customers; i += 2, ++label)
        QCOMPARE(lines.at(7 * label + 2),
                 QStringLiteral("First ") + lastName(i) + QStringLiteral("   ") + accountNumber(i));

    QPointer<frmMailingLabels> form = window->customerForm();
    control<QPushButton>(window, "cmdExit")->click();
    QVERIFY(!window->isVisible());
    // Exit unloads the form, and its customers with it, before the window closes.
    QVERIFY(form.isNull());
}

QTEST_MAIN(TestHeavyUse)
#include "tst_heavyuse.moc"
