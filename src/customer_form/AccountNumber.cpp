#include "AccountNumber.h"

#include "customer_form/Text.h"

std::optional<RequiredField> firstMissing(const QString &lastName, const QString &zipCode,
                                          const QString &expirationDate)
{
    if (lastName.isEmpty())
        return RequiredField::LastName;
    if (zipCode.isEmpty())
        return RequiredField::ZipCode;
    if (expirationDate.isEmpty())
        return RequiredField::ExpirationDate;
    return std::nullopt;
}

QString missingPrompt(RequiredField field)
{
    switch (field) {
    case RequiredField::LastName:
        return QStringLiteral("Enter Last Name");
    case RequiredField::ZipCode:
        return QStringLiteral("Enter Full Zip Code");
    case RequiredField::ExpirationDate:
        return QStringLiteral("Enter Expiration Date");
    }
    return QString();
}

QString accountNumber(const QString &lastName, const QString &zipCode,
                      const QString &expirationDate)
{
    // Upper-case before cutting: full case mapping can lengthen the name.
    return leftmost(upperCase(lastName), 2) + leftmost(zipCode, 3) + expirationDate;
}
