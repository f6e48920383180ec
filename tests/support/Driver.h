#pragma once

#include "Modal.h"
#include "RecordingPrinter.h"
#include "customer_form/frmMailingLabels.h"
#include "data/CCustomers.h"
#include "main_window/frmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>

// The control of that object name on window; stops the test run if there is
// none, since every later step would act on nothing.
template <typename T> T *control(const QWidget *window, const char *name)
{
    auto *widget = window->findChild<T *>(QString::fromUtf8(name));
    if (!widget)
        qFatal("%s has no control %s", qPrintable(window->objectName()), name);
    return widget;
}

// A customer as typed into the customer form; the catalogue may be left out.
struct Fields
{
    QString lastName, firstName, street, city, state, zipCode, expirationDate;
    QString catalog = {};
};
Q_DECLARE_METATYPE(Fields)

// The customer the tests add when any customer will do, and the number it gets.
inline const Fields SampleCustomer{"Smith", "Ann",   "1 Elm St", "Springfield",
                                   "IL",    "01234", "12/31/04", "Spiegel"};
inline const QString SampleAccountNumber = QStringLiteral("SM01212/31/04");

// The form's boxes, with the field each one shows.
struct FieldBox
{
    const char *name;
    QString Fields::*field;
};
inline const FieldBox FieldBoxes[] = {
    {"txtLastName", &Fields::lastName},
    {"txtFirstName", &Fields::firstName},
    {"txtStreet", &Fields::street},
    {"txtCity", &Fields::city},
    {"txtState", &Fields::state},
    {"txtZipCode", &Fields::zipCode},
    {"txtExpirationDate", &Fields::expirationDate},
    {"cboCatalog", &Fields::catalog},
};

// Where the text of a box is typed: the catalogue's is its line edit.
inline QLineEdit *editor(const QWidget *form, const char *box)
{
    if (qstrcmp(box, "cboCatalog") == 0)
        return control<QComboBox>(form, box)->lineEdit();
    return control<QLineEdit>(form, box);
}

inline void fill(const QWidget *form, const Fields &fields)
{
    for (const FieldBox &box : FieldBoxes)
        editor(form, box.name)->setText(fields.*box.field);
}

// Runs act on the modal T that open() shows, once it is up and has the
// keyboard, and returns when it is hidden again. A T that act leaves open is
// closed, so a failed check inside act cannot leave the test waiting on it.
template <typename T>
void inModal(const std::function<void()> &open, std::function<void(T &)> act, int pollMs = 10)
{
    whenModal<T>(
        [act](T *modal) {
            const auto close = qScopeGuard([modal] {
                if (modal->isVisible())
                    modal->close();
            });
            act(*modal);
        },
        3000, pollMs);
    open();
}

// The main window and its customer form, driven as a user would.
class Driver
{
public:
    explicit Driver(frmMain &main)
        : main(main)
    {}

    QPushButton *button(const char *name) const { return control<QPushButton>(&main, name); }
    QListWidget *list() const { return control<QListWidget>(&main, "lstCustomer"); }
    frmMailingLabels *form() const { return main.customerForm(); }

    template <typename T> T *formControl(const char *name) const
    {
        return control<T>(form(), name);
    }
    QLineEdit *box(const char *name) const { return formControl<QLineEdit>(name); }
    QString accountLabel() const { return formControl<QLabel>("lblAccountNumber")->text(); }

    // Clicks the main window's command and runs act on the customer form it
    // shows; returns once the form is hidden again.
    void onCustomerForm(const char *command, std::function<void(frmMailingLabels &)> act,
                        int pollMs = 10) const
    {
        inModal<frmMailingLabels>([this, command] { button(command)->click(); }, std::move(act),
                                  pollMs);
    }

    // Adds a customer whose required fields are filled and whose number is new.
    void add(const Fields &fields, int pollMs = 10) const
    {
        onCustomerForm(
            "cmdAdd",
            [fields](frmMailingLabels &shown) {
                fill(&shown, fields);
                shown.cmdAction()->click();
            },
            pollMs);
    }

    // After a modal showing the main window takes the keyboard back a moment
    // later; keys sent before then would go nowhere.
    bool waitUntilActive() const
    {
        return QTest::qWaitFor([this] {
            return QGuiApplication::focusWindow() == main.windowHandle() &&
                   QApplication::focusWidget() && QApplication::focusWidget()->window() == &main;
        });
    }

    QStringList entries() const
    {
        QStringList result;
        for (int i = 0; i < list()->count(); ++i)
            result << list()->item(i)->text();
        return result;
    }

    // Selects the entry of that text; false when the list has none, which
    // fails the case rather than end the run.
    [[nodiscard]] bool select(const QString &entry) const
    {
        const auto matches = list()->findItems(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (matches.isEmpty()) {
            qWarning("no entry %s in the list", qPrintable(entry));
            return false;
        }
        list()->setCurrentItem(matches.first());
        return true;
    }

    // Everything a print must leave as it was: every stored record, the list,
    // the form's fields and its account-number label. One text per item, so
    // that a comparison names what changed.
    QStringList state() const
    {
        QStringList result;
        for (const QString &entry : entries())
            result << QStringLiteral("list: ") + entry;
        if (!form())
            return result;
        for (const auto &customer : form()->customers())
            result << QStringList{QStringLiteral("customer:"), customer->AccountNumber(),
                                  customer->LastName(),        customer->FirstName(),
                                  customer->Street(),          customer->City(),
                                  customer->State(),           customer->ZipCode(),
                                  customer->ExpirationDate(),  customer->Catalog()}
                          .join(u'|');
        for (const FieldBox &box : FieldBoxes)
            result << QString::fromUtf8(box.name) + QStringLiteral(": ") +
                          editor(form(), box.name)->text();
        result << QStringLiteral("form shown: %1").arg(form()->isVisible() ? "yes" : "no");
        result << QStringLiteral("lblAccountNumber: ") + accountLabel();
        return result;
    }

    // The state just before and just after a print.
    struct PrintRun
    {
        QStringList before, after;
    };

    // Fills the add form, clicks "&Print Label", then cancels.
    PrintRun printNewCustomersLabel(const Fields &fields) const
    {
        PrintRun run;
        onCustomerForm("cmdAdd", [&](frmMailingLabels &shown) {
            fill(&shown, fields);
            run.before = state();
            control<QPushButton>(&shown, "cmdPrint")->click();
            run.after = state();
            control<QPushButton>(&shown, "cmdCancel")->click();
        });
        return run;
    }

    PrintRun printAllLabels() const
    {
        PrintRun run;
        run.before = state();
        button("cmdPrintAll")->click();
        run.after = state();
        return run;
    }

    // What a print, failed or not, leaves: print-all clears the form first;
    // one label shows the account number derived for it. Nothing else changes.
    static QStringList leftByPrint(QStringList before, bool allLabels, const QString &derived = {})
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

private:
    frmMain &main;
};

// What a window test works on: the printer, the main window over it and the
// driver. show() puts the main window up and waits until it holds the keyboard.
// Going, it closes whatever the case left open, pass or fail.
template <typename P = RecordingPrinter> struct Program
{
    P printer;
    frmMain main{printer};
    Driver driver{main};

    Program() = default;
    ~Program() { closeEveryWindow(); }
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    bool show()
    {
        main.show();
        return QTest::qWaitForWindowActive(&main);
    }
};
