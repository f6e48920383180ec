#pragma once

#include "MainWindowDriver.h"
#include "Modal.h"
#include "customer_form/frmMailingLabels.h"
#include "data/CCustomers.h"
#include "main_window/frmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

// Drives the main window and its customer form as a user would.
namespace driver {

// The customer form's text boxes in the order tests give their fields.
inline const char *const FieldBoxes[] = {"txtLastName",      "txtFirstName", "txtStreet",
                                         "txtCity",          "txtState",     "txtZipCode",
                                         "txtExpirationDate"};

using ::control;

// Last, first, street, city, state, zip, date, then the catalogue.
inline void fillFields(frmMailingLabels *form, const QStringList &fields)
{
    for (int i = 0; i < 7; ++i)
        control<QLineEdit>(form, FieldBoxes[i])->setText(fields.value(i));
    control<QComboBox>(form, "cboCatalog")->setEditText(fields.value(7));
}

// Runs fn on the customer form that the main window's button opens; returns
// once the form is hidden again.
inline void inCustomerForm(frmMain &main, const char *button,
                           std::function<void(frmMailingLabels *)> fn)
{
    onCustomerForm(main, button, [fn](frmMailingLabels &form) { fn(&form); });
}

inline void addCustomer(frmMain &main, const QStringList &fields)
{
    inCustomerForm(main, "cmdAdd", [&](frmMailingLabels *form) {
        fillFields(form, fields);
        form->cmdAction()->click();
    });
}

inline void selectEntry(frmMain &main, const QString &accountNumber)
{
    auto *list = control<QListWidget>(&main, "lstCustomer");
    const QList<QListWidgetItem *> found = list->findItems(accountNumber, Qt::MatchExactly);
    if (found.isEmpty())
        qFatal("no entry %s", qPrintable(accountNumber));
    list->setCurrentItem(found.first());
}

inline void printAllLabels(frmMain &main)
{
    control<QPushButton>(&main, "cmdPrintAll")->click();
}

// Everything a print must leave as it was: every stored record, the list, the
// form's fields and its account-number label. One text per item, so that a
// comparison names what changed.
inline QStringList state(const frmMain &main)
{
    QStringList result;
    const auto *list = control<QListWidget>(&main, "lstCustomer");
    for (int i = 0; i < list->count(); ++i)
        result << QStringLiteral("list: ") + list->item(i)->text();
    const frmMailingLabels *form = main.customerForm();
    if (!form)
        return result;
    for (const auto &customer : form->customers())
        result << QStringList{QStringLiteral("customer:"), customer->AccountNumber(),
                              customer->LastName(),        customer->FirstName(),
                              customer->Street(),          customer->City(),
                              customer->State(),           customer->ZipCode(),
                              customer->ExpirationDate(),  customer->Catalog()}
                      .join(u'|');
    for (const char *box : FieldBoxes)
        result << QString::fromUtf8(box) + QStringLiteral(": ") +
                      control<QLineEdit>(form, box)->text();
    result << QStringLiteral("cboCatalog: ") +
                  control<QComboBox>(form, "cboCatalog")->currentText();
    result << QStringLiteral("form shown: %1").arg(form->isVisible() ? "yes" : "no");
    result << QStringLiteral("lblAccountNumber: ") +
                  control<QLabel>(form, "lblAccountNumber")->text();
    return result;
}

// The state just before and just after a print.
struct PrintRun
{
    QStringList before, after;
};

// Fills the add form, clicks "&Print Label", then cancels.
inline PrintRun printNewCustomersLabel(frmMain &main, const QStringList &fields)
{
    PrintRun run;
    inCustomerForm(main, "cmdAdd", [&](frmMailingLabels *form) {
        fillFields(form, fields);
        run.before = state(main);
        control<QPushButton>(form, "cmdPrint")->click();
        run.after = state(main);
        control<QPushButton>(form, "cmdCancel")->click();
    });
    return run;
}

inline PrintRun printAllLabelsOf(frmMain &main)
{
    PrintRun run;
    run.before = state(main);
    printAllLabels(main);
    run.after = state(main);
    return run;
}

// What a print, failed or not, leaves: print-all clears the form first; one
// label shows the account number derived for it. Nothing else changes.
inline QStringList leftByPrint(QStringList before, bool allLabels, const QString &derived = {})
{
    for (QString &item : before) {
        if (item.startsWith(u"list:") || item.startsWith(u"customer:") ||
            item.startsWith(u"form shown:"))
            continue;
        if (allLabels)
            item.truncate(item.indexOf(u':') + 2);
        else if (item.startsWith(u"lblAccountNumber:"))
            item = QStringLiteral("lblAccountNumber: ") + derived;
    }
    return before;
}

} // namespace driver
