#pragma once

#include <QString>

// One catalogue customer: nine texts, stored exactly as given.
class CCustomer
{
public:
    QString AccountNumber() const { return mAccountNumber; }
    void setAccountNumber(QString strAccountNumber)
    {
        mAccountNumber = std::move(strAccountNumber);
    }
    QString LastName() const { return mLastName; }
    void setLastName(QString LastName) { mLastName = std::move(LastName); }
    QString FirstName() const { return mFirstName; }
    void setFirstName(QString FirstName) { mFirstName = std::move(FirstName); }
    QString Street() const { return mStreet; }
    void setStreet(QString strStreet) { mStreet = std::move(strStreet); }
    QString City() const { return mCity; }
    void setCity(QString strCity) { mCity = std::move(strCity); }
    QString State() const { return mState; }
    void setState(QString strState) { mState = std::move(strState); }
    QString ZipCode() const { return mZipCode; }
    void setZipCode(QString strZipCode) { mZipCode = std::move(strZipCode); }
    QString ExpirationDate() const { return mExpirationDate; }
    void setExpirationDate(QString strExpirationDate)
    {
        mExpirationDate = std::move(strExpirationDate);
    }
    QString Catalog() const { return mCatalog; }
    void setCatalog(QString strCatalog) { mCatalog = std::move(strCatalog); }

private:
    QString mAccountNumber;
    QString mLastName;
    QString mFirstName;
    QString mStreet;
    QString mCity;
    QString mState;
    QString mZipCode;
    QString mExpirationDate;
    QString mCatalog;
};
