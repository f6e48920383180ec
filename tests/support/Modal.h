#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Runs fn on the first visible, active modal T, polling from the event loop
// that the modal showing runs; arm it before the click that opens the modal.
// Fails the test, and hides whatever modal is up so nothing hangs, if no T
// shows within ms.
template <typename T> void whenModal(std::function<void(T *)> fn, int ms = 3000, int pollMs = 10)
{
    auto *timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(pollMs);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, fn, ms] {
        auto *modal = qobject_cast<T *>(QApplication::activeModalWidget());
        // The offscreen platform activates a window only the first time it is
        // shown; a window manager activates every newly shown modal window.
        // QWidget::activateWindow() is no help: the platform already counts the
        // window as active, so it asks for nothing. Deprecated since Qt 6.5,
        // this call is still the one that makes the widget the active window.
        if (modal && modal->isVisible() && QApplication::activeWindow() != modal) {
            QT_WARNING_PUSH
            QT_WARNING_DISABLE_DEPRECATED
            QApplication::setActiveWindow(modal);
            QT_WARNING_POP
        }
        if (modal && modal->isVisible() && QApplication::activeWindow() == modal) {
            timer->stop();
            timer->deleteLater();
            fn(modal);
            return;
        }
        if (clock->elapsed() > ms) {
            timer->stop();
            timer->deleteLater();
            QWidget *stuck = QApplication::activeModalWidget();
            const QString message =
                QStringLiteral("expected a modal %1 within %2 ms; modal: %3, active window: %4")
                    .arg(QString::fromUtf8(T::staticMetaObject.className()))
                    .arg(ms)
                    .arg(stuck ? stuck->objectName() : QStringLiteral("none"))
                    .arg(QApplication::activeWindow() ? QApplication::activeWindow()->objectName()
                                                      : QStringLiteral("none"));
            if (stuck)
                stuck->hide();
            QFAIL(qPrintable(message));
        }
    });
    timer->start();
}

// What a message box showed before the test closed it.
struct SeenMessage
{
    bool shown = false;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QList<QAbstractButton *>::size_type buttonCount = 0;
    QWidget *focusBefore = nullptr; // focus in the window below when the box showed
};

// Arms a watcher for the next message box; it records what the box shows and
// presses its OK button. Then, if given, runs after() (for a chain of modals).
inline std::shared_ptr<SeenMessage> expectMessage(std::function<void()> after = {}, int ms = 3000,
                                                  int pollMs = 10)
{
    auto seen = std::make_shared<SeenMessage>();
    whenModal<QMessageBox>(
        [seen, after](QMessageBox *box) {
            seen->shown = true;
            seen->text = box->text();
            seen->title = box->windowTitle();
            seen->icon = box->icon();
            seen->format = box->textFormat();
            seen->buttonCount = box->buttons().size();
            if (QWidget *parent = box->parentWidget())
                seen->focusBefore = parent->focusWidget();
            QTest::keyClick(box, Qt::Key_Return);
            if (after)
                after();
        },
        ms, pollMs);
    return seen;
}

// Polls until the condition holds or ms pass; true when it held.
template <typename Condition> bool waitUntil(Condition condition, int ms = 3000)
{
    return QTest::qWaitFor(condition, ms);
}

// Records every message box that shows while it lives and closes it with OK;
// for flows that may show none, one or several, so that an unexpected message
// is seen rather than left waiting for a click.
class MessageLog
{
public:
    explicit MessageLog(int pollMs = 10)
    {
        QObject::connect(&mTimer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            SeenMessage seen;
            seen.shown = true;
            seen.text = box->text();
            seen.title = box->windowTitle();
            seen.icon = box->icon();
            seen.buttonCount = box->buttons().size();
            if (QWidget *parent = box->parentWidget())
                seen.focusBefore = parent->focusWidget();
            messages.append(seen);
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->close();
        });
        mTimer.start(pollMs);
    }

    QStringList texts() const
    {
        QStringList result;
        for (const SeenMessage &message : messages)
            result.append(message.text);
        return result;
    }

    QList<SeenMessage> messages;

private:
    QTimer mTimer;
};
