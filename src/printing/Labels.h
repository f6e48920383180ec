#pragma once

#include "printing/Printer.h"

#include <QString>

class CCustomers;

// The three text lines of a mailing label, joined exactly as given: no
// trimming, no change of case.
QString nameLine(const QString &firstName, const QString &lastName, const QString &accountNumber);
QString cityLine(const QString &city, const QString &state, const QString &zipCode);

// One label of five lines as one print job.
PrintOutcome printLabel(Printer &printer, const QString &nameLine, const QString &streetLine,
                        const QString &cityLine);

// Seven lines for every customer, in order of addition, as one print job.
PrintOutcome printAllLabels(Printer &printer, const CCustomers &customers);
