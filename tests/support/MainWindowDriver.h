#pragma once

#include "Modal.h"
#include "RecordingPrinter.h"
#include "customer_form/frmMailingLabels.h"
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

// Clicks the main-window command and runs fn on the customer form once it is
// up. A form that fn leaves open is cancelled, so a failed check inside fn
// cannot leave the test waiting on the modal form.
inline void onCustomerForm(frmMain &mainWindow, const char *command,
                           std::function<void(frmMailingLabels &)> fn, int pollMs = 10)
{
    whenModal<frmMailingLabels>(
        [fn](frmMailingLabels *form) {
            const auto cancel = qScopeGuard([form] {
                if (form->isVisible())
                    control<QPushButton>(form, "cmdCancel")->click();
            });
            // Key presses go to the window with the platform's focus; the
            // offscreen platform moves it to a modal form only when asked.
            form->activateWindow();
            QCoreApplication::processEvents();
            QVERIFY(QTest::qWaitFor([form] { return form->windowHandle()->isActive(); }));
            fn(*form);
        },
        3000, pollMs);
    control<QPushButton>(&mainWindow, command)->click();
}

// A customer as typed into the customer form.
struct Fields
{
    QString lastName, firstName, street, city, state, zipCode, expirationDate, catalog;
};

// Finds the controls of the main window and its customer form by name.
class MainWindowDriver
{
public:
    explicit MainWindowDriver(frmMain &main)
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

    void select(const QString &entry) const
    {
        const auto matches = list()->findItems(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        QVERIFY(!matches.isEmpty());
        list()->setCurrentItem(matches.first());
    }

    void fill(const Fields &fields) const
    {
        box("txtLastName")->setText(fields.lastName);
        box("txtFirstName")->setText(fields.firstName);
        box("txtStreet")->setText(fields.street);
        box("txtCity")->setText(fields.city);
        box("txtState")->setText(fields.state);
        box("txtZipCode")->setText(fields.zipCode);
        box("txtExpirationDate")->setText(fields.expirationDate);
        formControl<QComboBox>("cboCatalog")->setEditText(fields.catalog);
    }

    // Adds a customer whose required fields are filled and whose number is new.
    void add(const Fields &fields, int pollMs = 10) const
    {
        whenModal<frmMailingLabels>(
            [this, fields](frmMailingLabels *shown) {
                fill(fields);
                shown->cmdAction()->click();
            },
            3000, pollMs);
        button("cmdAdd")->click();
    }

private:
    frmMain &main;
};
