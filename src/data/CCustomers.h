#pragma once

#include "data/CCustomer.h"
#include "data/KeyedCollection.h"

#include <memory>

// All customers of a run, keyed by account number, in order of addition.
// Refusals (a key already present on Add, an absent key on Remove or Item)
// throw KeyError and leave the collection unchanged.
class CCustomers
{
public:
    using const_iterator = KeyedCollection<std::shared_ptr<CCustomer>>::const_iterator;

    void Add(QString strAccountNumber, QString strLastName, QString strFirstName, QString strStreet,
             QString strCity, QString strState, QString strZipCode, QString strExpirationDate,
             QString strCatalog);
    void Remove(const QString &strKey);
    // The stored record itself, shared: changes through it are seen by everyone.
    std::shared_ptr<CCustomer> Item(const QString &strKey) const;
    std::shared_ptr<CCustomer> operator[](const QString &strKey) const { return Item(strKey); }
    qint32 Count() const;
    bool Contains(const QString &strKey) const;

    // Enumeration in order of addition: for (const auto &customer : customers).
    const_iterator begin() const { return mCol.begin(); }
    const_iterator end() const { return mCol.end(); }

private:
    KeyedCollection<std::shared_ptr<CCustomer>> mCol;
};
