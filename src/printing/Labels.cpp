#include "Labels.h"

#include "data/CCustomers.h"

QString nameLine(const QString &firstName, const QString &lastName, const QString &accountNumber)
{
    return firstName + u' ' + lastName + QStringLiteral("   ") + accountNumber;
}

QString cityLine(const QString &city, const QString &state, const QString &zipCode)
{
    return city + QStringLiteral(", ") + state + QStringLiteral("  ") + zipCode;
}

PrintOutcome printLabel(Printer &printer, const QString &nameLine, const QString &streetLine,
                        const QString &cityLine)
{
    printer.beginLabel();
    printer.printEmptyLine();
    printer.printLine(nameLine);
    printer.printLine(streetLine);
    printer.printLine(cityLine);
    printer.printEmptyLine();
    return printer.endDocument();
}

PrintOutcome printAllLabels(Printer &printer, const CCustomers &customers)
{
    for (const auto &customer : customers) {
        printer.beginLabel();
        printer.printEmptyLine();
        printer.printEmptyLine();
        printer.printLine(
            nameLine(customer->FirstName(), customer->LastName(), customer->AccountNumber()));
        printer.printLine(customer->Street());
        printer.printLine(cityLine(customer->City(), customer->State(), customer->ZipCode()));
        printer.printEmptyLine();
        printer.printEmptyLine();
    }
    return printer.endDocument();
}
