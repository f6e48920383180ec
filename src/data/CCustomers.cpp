#include "CCustomers.h"

void CCustomers::Add(QString strAccountNumber, QString strLastName, QString strFirstName,
                     QString strStreet, QString strCity, QString strState, QString strZipCode,
                     QString strExpirationDate, QString strCatalog)
{
    auto customer = std::make_shared<CCustomer>();
    customer->setAccountNumber(std::move(strAccountNumber));
    customer->setLastName(std::move(strLastName));
    customer->setFirstName(std::move(strFirstName));
    customer->setStreet(std::move(strStreet));
    customer->setCity(std::move(strCity));
    customer->setState(std::move(strState));
    customer->setZipCode(std::move(strZipCode));
    customer->setExpirationDate(std::move(strExpirationDate));
    customer->setCatalog(std::move(strCatalog));
    const QString key = customer->AccountNumber();
    mCol.add(key, std::move(customer));
}

void CCustomers::Remove(const QString &strKey)
{
    mCol.remove(strKey);
}

std::shared_ptr<CCustomer> CCustomers::Item(const QString &strKey) const
{
    return mCol.get(strKey);
}

qint32 CCustomers::Count() const
{
    return static_cast<qint32>(mCol.count());
}

bool CCustomers::Contains(const QString &strKey) const
{
    return mCol.contains(strKey);
}
