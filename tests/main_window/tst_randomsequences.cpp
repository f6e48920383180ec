#include "Driver.h"
#include "customer_form/AccountNumber.h"
#include "data/CCustomers.h"
#include "printing/Labels.h"

#include <QRandomGenerator>
#include <QtTest>

// Random sequences of main-window commands and customer-form actions, checked
// after every step against a simple model of which customers exist. The seed is
// printed; set LABLIST_SEED to replay a run and LABLIST_SEQUENCES to change
// how many sequences run.
class TestRandomSequences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listAndCollectionStayInStep();

private:
    enum class Leave { Ok, Cancel, Frame };

    void runSequence(int steps);
    void add();
    void display();
    void remove();
    void printAll();
    void checkAgreement(const QString &step);

    QString pick(std::initializer_list<const char *> choices)
    {
        const auto index = random.bounded(int(choices.size()));
        return QString::fromUtf8(*(choices.begin() + index));
    }
    Leave pickLeave(bool okAllowed)
    {
        const int choice = random.bounded(okAllowed ? 3 : 2);
        return okAllowed && choice == 2 ? Leave::Ok : choice == 0 ? Leave::Cancel : Leave::Frame;
    }
    // Selects a random entry, or none now and then; returns the selected text.
    QString selectSomething();
    void leave(frmMailingLabels &form, Leave how);

    QRandomGenerator random;
    frmMain *main = nullptr;
    RecordingPrinter *printer = nullptr;
    Driver *driver = nullptr;
    // The customers that should exist, in order of addition.
    QList<std::pair<QString, Fields>> model;
    static constexpr int PollMs = 1;
};

void TestRandomSequences::listAndCollectionStayInStep()
{
    const quint32 seed = qEnvironmentVariableIsSet("LABLIST_SEED")
                             ? quint32(qEnvironmentVariableIntValue("LABLIST_SEED"))
                             : QRandomGenerator::global()->generate();
    const int sequences = qEnvironmentVariableIsSet("LABLIST_SEQUENCES")
                              ? qEnvironmentVariableIntValue("LABLIST_SEQUENCES")
                              : 2000;
    qInfo("seed %u (replay with LABLIST_SEED=%u), %d sequences", seed, seed, sequences);
    random.seed(seed);

    for (int i = 0; i < sequences; ++i) {
        Program<> program;
        printer = &program.printer;
        main = &program.main;
        driver = &program.driver;
        model.clear();
        program.main.show();

        runSequence(1 + random.bounded(8));
        if (QTest::currentTestFailed()) {
            qInfo("failed in sequence %d of seed %u", i, seed);
            return;
        }
    }
}

void TestRandomSequences::runSequence(int steps)
{
    for (int step = 0; step < steps; ++step) {
        const int command = random.bounded(10);
        QString name;
        if (command < 5) {
            name = QStringLiteral("add");
            add();
        } else if (command < 7) {
            name = QStringLiteral("display");
            display();
        } else if (command < 9) {
            name = QStringLiteral("remove");
            remove();
        } else {
            name = QStringLiteral("print all");
            printAll();
        }
        checkAgreement(name);
        if (QTest::currentTestFailed())
            return;
    }
}

void TestRandomSequences::leave(frmMailingLabels &form, Leave how)
{
    if (how == Leave::Frame)
        form.close();
    else if (how == Leave::Cancel)
        driver->formControl<QPushButton>("cmdCancel")->click();
    else
        form.cmdAction()->click();
}

void TestRandomSequences::add()
{
    // Small pools make duplicate account numbers and empty required fields common.
    Fields fields{pick({"Smith", "smith", "Smythe", "Lee", "O", "", "  ", "Øster", "e\u0301lan"}),
                  pick({"Ann", "", "Bo"}),
                  pick({"1 Elm St", ""}),
                  pick({"Springfield", "", "Dover"}),
                  pick({"IL", "", "de"}),
                  pick({"01234", "01299", "12", "", "k1a 0b1"}),
                  pick({"12/31/04", "1/1/05", ""}),
                  pick({"Spiegel", "", "Not a catalogue"})};
    const Leave how = pickLeave(true);
    const bool pressDisplayFirst = random.bounded(2) == 0;

    bool shown = false;
    driver->onCustomerForm(
        "cmdAdd",
        [&](frmMailingLabels &form) {
            shown = true;
            QCOMPARE(driver->box("txtLastName")->text(), QString());
            fill(&form, fields);
            const auto missing =
                firstMissing(fields.lastName, fields.zipCode, fields.expirationDate);
            if (pressDisplayFirst) {
                std::shared_ptr<SeenMessage> seen;
                if (missing)
                    seen = expectMessage({}, 3000, PollMs);
                form.cmdDisplay()->click();
                if (missing) {
                    QVERIFY(seen->shown);
                    QCOMPARE(seen->text, missingPrompt(*missing));
                } else {
                    QCOMPARE(driver->accountLabel(),
                             accountNumber(fields.lastName, fields.zipCode, fields.expirationDate));
                }
            }
            if (how != Leave::Ok) {
                leave(form, how);
                return;
            }
            const QString key =
                accountNumber(fields.lastName, fields.zipCode, fields.expirationDate);
            const bool duplicate = std::any_of(model.cbegin(), model.cend(),
                                               [&](const auto &c) { return c.first == key; });
            if (!missing && !duplicate) {
                form.cmdAction()->click();
                QVERIFY(!form.isVisible());
                model.append({key, fields});
                return;
            }
            auto seen = expectMessage({}, 3000, PollMs);
            form.cmdAction()->click();
            QVERIFY(seen->shown);
            if (missing)
                QCOMPARE(seen->text, missingPrompt(*missing));
            else
                QCOMPARE(seen->title, QStringLiteral("Duplicate Account Number"));
            // Refused: the form is still up; leave it another way.
            QVERIFY(form.isVisible());
            leave(form, random.bounded(2) ? Leave::Cancel : Leave::Frame);
        },
        PollMs);
    QVERIFY(shown);
}

QString TestRandomSequences::selectSomething()
{
    QListWidget *list = driver->list();
    if (list->count() == 0 || random.bounded(6) == 0) {
        list->clearSelection();
        return QString();
    }
    QListWidgetItem *item = list->item(random.bounded(list->count()));
    list->setCurrentItem(item);
    return item->text();
}

void TestRandomSequences::display()
{
    const QString key = selectSomething();
    if (key.isNull()) {
        auto seen = expectMessage({}, 3000, PollMs);
        driver->button("cmdDisplay")->click();
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, QStringLiteral("Please Select Item from list"));
        return;
    }
    const auto stored =
        std::find_if(model.cbegin(), model.cend(), [&](const auto &c) { return c.first == key; });
    QVERIFY(stored != model.cend());
    driver->onCustomerForm(
        "cmdDisplay",
        [&](frmMailingLabels &form) {
            QCOMPARE(driver->accountLabel(), key);
            QCOMPARE(driver->box("txtLastName")->text(), stored->second.lastName);
            QCOMPARE(driver->box("txtCity")->text(), stored->second.city);
            QCOMPARE(driver->formControl<QComboBox>("cboCatalog")->currentText(),
                     stored->second.catalog);
            QVERIFY(!form.cmdAction()->isVisible());
            leave(form, pickLeave(false));
        },
        PollMs);
}

void TestRandomSequences::remove()
{
    const QString key = selectSomething();
    if (key.isNull()) {
        auto seen = expectMessage({}, 3000, PollMs);
        driver->button("cmdRemove")->click();
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, QStringLiteral("Please Select Item from the list"));
        return;
    }
    const Leave how = pickLeave(true);
    driver->onCustomerForm(
        "cmdRemove",
        [&](frmMailingLabels &form) {
            QCOMPARE(driver->accountLabel(), key);
            leave(form, how);
        },
        PollMs);
    if (how == Leave::Ok)
        model.removeIf([&](const auto &c) { return c.first == key; });
}

void TestRandomSequences::printAll()
{
    const qsizetype jobsBefore = printer->jobs.size();
    if (model.isEmpty()) {
        auto seen = expectMessage({}, 3000, PollMs);
        driver->button("cmdPrintAll")->click();
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, QStringLiteral("No data to print"));
        QCOMPARE(printer->jobs.size(), jobsBefore);
        return;
    }
    driver->button("cmdPrintAll")->click();
    QCOMPARE(printer->jobs.size(), jobsBefore + 1);
    const QStringList job = printer->jobs.last();
    QCOMPARE(job.size(), 7 * model.size());
    for (qsizetype i = 0; i < model.size(); ++i) {
        const Fields &f = model.at(i).second;
        QCOMPARE(job.at(7 * i + 2), nameLine(f.firstName, f.lastName, model.at(i).first));
    }
}

void TestRandomSequences::checkAgreement(const QString &step)
{
    const QByteArray where = step.toUtf8();
    QStringList expected;
    for (const auto &customer : model)
        expected << customer.first;

    // The list is in ascending order by its own comparison, whatever the locale.
    const QListWidget *list = driver->list();
    for (int i = 1; i < list->count(); ++i)
        QVERIFY2(!(*list->item(i) < *list->item(i - 1)), where);
    QStringList listed = driver->entries();
    listed.sort();
    QStringList sortedExpected = expected;
    sortedExpected.sort();
    QVERIFY2(listed == sortedExpected, where);

    if (frmMailingLabels *form = main->customerForm()) {
        QStringList filed;
        for (const auto &customer : form->customers())
            filed << customer->AccountNumber();
        QVERIFY2(filed == expected, where);
        QVERIFY2(!form->isVisible(), where);
        QVERIFY2(form->cmdDisplay()->isHidden(), where);
        QVERIFY2(!form->cmdAction()->isHidden(), where);
    } else {
        QVERIFY2(expected.isEmpty(), where);
    }
}

QTEST_MAIN(TestRandomSequences)
#include "tst_randomsequences.moc"
