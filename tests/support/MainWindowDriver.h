#pragma once

#include "Modal.h"
#include "customer_form/frmMailingLabels.h"
#include "main_window/frmMain.h"

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
