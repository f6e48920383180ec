#include "data/CCustomers.h"

#include <QtTest>

// The customer record and the collection that files records by account number.
class TestCustomers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newRecordIsEmpty();
    void recordStoresTextsUnchanged_data();
    void recordStoresTextsUnchanged();
    void settingOnePropertyLeavesTheOthers();

    void newCollectionIsEmpty();
    void addFilesAllNineTexts();
    void enumeratesInOrderOfAddition();
    void itemSharesTheStoredRecord();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void keysAreExactAndCaseSensitive();
    void recordsLiveWhileReferenced();
    void manyCustomers();

private:
    static void addNamed(CCustomers &customers, const QString &key)
    {
        customers.Add(key, key + QStringLiteral(" last"), QString(), QString(), QString(),
                      QString(), QString(), QString(), QString());
    }
    static QStringList keys(const CCustomers &customers)
    {
        QStringList result;
        for (const auto &customer : customers)
            result << customer->AccountNumber();
        return result;
    }
};

using Getter = QString (CCustomer::*)() const;
using Setter = void (CCustomer::*)(QString);

struct Property
{
    const char *name;
    Getter get;
    Setter set;
};

const Property Properties[] = {
    {"AccountNumber", &CCustomer::AccountNumber, &CCustomer::setAccountNumber},
    {"LastName", &CCustomer::LastName, &CCustomer::setLastName},
    {"FirstName", &CCustomer::FirstName, &CCustomer::setFirstName},
    {"Street", &CCustomer::Street, &CCustomer::setStreet},
    {"City", &CCustomer::City, &CCustomer::setCity},
    {"State", &CCustomer::State, &CCustomer::setState},
    {"ZipCode", &CCustomer::ZipCode, &CCustomer::setZipCode},
    {"ExpirationDate", &CCustomer::ExpirationDate, &CCustomer::setExpirationDate},
    {"Catalog", &CCustomer::Catalog, &CCustomer::setCatalog},
};

void TestCustomers::newRecordIsEmpty()
{
    const CCustomer customer;
    for (const Property &property : Properties)
        QVERIFY2((customer.*property.get)().isEmpty(), property.name);
}

void TestCustomers::recordStoresTextsUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("leading and trailing spaces") << QStringLiteral("  Smith ");
    QTest::newRow("mixed case") << QStringLiteral("mcDONald");
    QTest::newRow("empty text") << QString();
    QTest::newRow("non-Latin with combining marks") << QStringLiteral("Ñu\u0301ñez 東京");
    QTest::newRow("control characters") << QStringLiteral("a\tb\nc") + QChar(u'\0') + u'd';
}

void TestCustomers::recordStoresTextsUnchanged()
{
    QFETCH(QString, text);
    for (const Property &property : Properties) {
        CCustomer customer;
        (customer.*property.set)(text);
        QCOMPARE((customer.*property.get)(), text);
    }
}

void TestCustomers::settingOnePropertyLeavesTheOthers()
{
    for (const Property &changed : Properties) {
        CCustomer customer;
        for (const Property &property : Properties)
            (customer.*property.set)(QString::fromUtf8(property.name));
        (customer.*changed.set)(QStringLiteral("changed"));
        for (const Property &property : Properties) {
            const QString expected = &property == &changed ? QStringLiteral("changed")
                                                           : QString::fromUtf8(property.name);
            QCOMPARE((customer.*property.get)(), expected);
        }
    }
}

void TestCustomers::newCollectionIsEmpty()
{
    const CCustomers customers;
    QCOMPARE(customers.Count(), 0);
    QVERIFY(customers.begin() == customers.end());
}

void TestCustomers::addFilesAllNineTexts()
{
    CCustomers customers;
    customers.Add(QStringLiteral("SM01212/31/04"), QStringLiteral("Smith"), QStringLiteral("Ann"),
                  QStringLiteral("1 Elm St"), QStringLiteral("Springfield"), QStringLiteral("IL"),
                  QStringLiteral("01234"), QStringLiteral("12/31/04"), QStringLiteral("Spiegel"));
    QCOMPARE(customers.Count(), 1);
    const auto customer = customers.Item(QStringLiteral("SM01212/31/04"));
    QCOMPARE(customer->AccountNumber(), QStringLiteral("SM01212/31/04"));
    QCOMPARE(customer->LastName(), QStringLiteral("Smith"));
    QCOMPARE(customer->FirstName(), QStringLiteral("Ann"));
    QCOMPARE(customer->Street(), QStringLiteral("1 Elm St"));
    QCOMPARE(customer->City(), QStringLiteral("Springfield"));
    QCOMPARE(customer->State(), QStringLiteral("IL"));
    QCOMPARE(customer->ZipCode(), QStringLiteral("01234"));
    QCOMPARE(customer->ExpirationDate(), QStringLiteral("12/31/04"));
    QCOMPARE(customer->Catalog(), QStringLiteral("Spiegel"));
}

void TestCustomers::enumeratesInOrderOfAddition()
{
    CCustomers customers;
    // Added out of alphabetical order: enumeration follows addition, not keys.
    for (const char *key : {"C", "A", "B"})
        addNamed(customers, QString::fromUtf8(key));
    QCOMPARE(keys(customers), QStringList({"C", "A", "B"}));

    customers.Remove(QStringLiteral("A"));
    QCOMPARE(keys(customers), QStringList({"C", "B"}));

    addNamed(customers, QStringLiteral("A"));
    QCOMPARE(keys(customers), QStringList({"C", "B", "A"}));
    QCOMPARE(customers.Count(), 3);
}

void TestCustomers::itemSharesTheStoredRecord()
{
    CCustomers customers;
    addNamed(customers, QStringLiteral("K"));
    const auto first = customers.Item(QStringLiteral("K"));
    const auto second = customers[QStringLiteral("K")];
    QCOMPARE(first.get(), second.get());

    first->setCity(QStringLiteral("Springfield"));
    QCOMPARE(second->City(), QStringLiteral("Springfield"));
    QCOMPARE((*customers.begin())->City(), QStringLiteral("Springfield"));
}

void TestCustomers::refusalsChangeNothing_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("key");
    QTest::newRow("add of a present key") << "Add"
                                          << "B";
    QTest::newRow("item of a key never added") << "Item"
                                               << "Z";
    QTest::newRow("remove of a key never added") << "Remove"
                                                 << "Z";
    QTest::newRow("item of a removed key") << "Item"
                                           << "gone";
    QTest::newRow("remove of a removed key") << "Remove"
                                             << "gone";
}

void TestCustomers::refusalsChangeNothing()
{
    QFETCH(QString, operation);
    QFETCH(QString, key);

    CCustomers customers;
    for (const char *name : {"A", "gone", "B", "C"})
        addNamed(customers, QString::fromUtf8(name));
    customers.Remove(QStringLiteral("gone"));
    const auto storedB = customers.Item(QStringLiteral("B"));

    try {
        if (operation == QStringLiteral("Add"))
            customers.Add(key, QStringLiteral("other"), {}, {}, {}, {}, {}, {}, {});
        else if (operation == QStringLiteral("Item"))
            customers.Item(key);
        else
            customers.Remove(key);
        QFAIL("the collection accepted the operation");
    } catch (const KeyError &error) {
        QCOMPARE(error.key(), key);
    }

    QCOMPARE(customers.Count(), 3);
    QCOMPARE(keys(customers), QStringList({"A", "B", "C"}));
    QCOMPARE(customers.Item(QStringLiteral("B")).get(), storedB.get());
    QCOMPARE(storedB->LastName(), QStringLiteral("B last"));
}

void TestCustomers::keysAreExactAndCaseSensitive()
{
    CCustomers customers;
    for (const char *key : {"SMk1a12/31/04", "SMK1A12/31/04", "SMk1a12/31/04 ", ""})
        addNamed(customers, QString::fromUtf8(key));
    QCOMPARE(customers.Count(), 4);
    QVERIFY(customers.Contains(QString()));
    QVERIFY(!customers.Contains(QStringLiteral("smk1a12/31/04")));
}

void TestCustomers::recordsLiveWhileReferenced()
{
    std::weak_ptr<CCustomer> watched;
    std::shared_ptr<CCustomer> held;
    {
        CCustomers customers;
        addNamed(customers, QStringLiteral("A"));
        addNamed(customers, QStringLiteral("B"));
        watched = customers.Item(QStringLiteral("A"));
        held = customers.Item(QStringLiteral("B"));
        customers.Remove(QStringLiteral("B"));
        QVERIFY(!watched.expired());
    }
    // The collection released its references; a caller's own one keeps its record.
    QVERIFY(watched.expired());
    QCOMPARE(held->AccountNumber(), QStringLiteral("B"));
}

void TestCustomers::manyCustomers()
{
    const int count = 100000;
    CCustomers customers;
    for (int i = 0; i < count; ++i)
        addNamed(customers, QString::number(i));
    QCOMPARE(customers.Count(), count);
    for (int i = 0; i < count; i += 2)
        customers.Remove(QString::number(i));
    QCOMPARE(customers.Count(), count / 2);
    QCOMPARE(customers.Item(QStringLiteral("99999"))->LastName(), QStringLiteral("99999 last"));
    int expected = 1;
    for (const auto &customer : customers) {
        QCOMPARE(customer->AccountNumber(), QString::number(expected));
        expected += 2;
    }
}

QTEST_GUILESS_MAIN(TestCustomers)
#include "tst_ccustomers.moc"
