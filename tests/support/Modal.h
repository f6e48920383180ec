#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

// What a watch's act did with the modal window it was handed.
enum class Watched {
    Waiting, // not this one, or not yet
    Acted,   // acted on it; go on watching
    Done,    // acted on it; stop watching
};

// The one poll for modal windows. Every pollMs, from whatever event loop is
// running (a modal showing runs its own), it looks at the application's modal
// window. One that does not hold the keyboard yet is asked to take it: the
// offscreen platform gives a new modal window the keyboard only when asked, a
// window manager gives it by itself. Once it holds the keyboard it goes to
// act. When ms pass without act acting and with the same modal window up (or
// none), onTimeout gets that window, or null, and the clock starts again. A
// watch made with a parent deletes itself once act is done.
class ModalWatch : public QObject
{
public:
    using Act = std::function<Watched(QWidget *)>;
    using Timeout = std::function<void(ModalWatch &, QWidget *)>;

    explicit ModalWatch(Act act, Timeout onTimeout = {}, int ms = 3000, int pollMs = 10,
                        QObject *parent = nullptr)
        : QObject(parent)
        , mAct(std::move(act))
        , mOnTimeout(std::move(onTimeout))
        , mMs(ms)
    {
        setObjectName(QStringLiteral("modalWatch"));
        mClock.start();
        QObject::connect(&mTimer, &QTimer::timeout, this, &ModalWatch::poll);
        mTimer.start(pollMs);
    }

    void restartClock() { mClock.start(); }

    // From now on every modal window is hidden as soon as it shows, whether
    // or not it takes the keyboard: a case that has failed then runs to its
    // end instead of waiting for a click that will not come.
    void hideEveryModal() { mHiding = true; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && !modal->isVisible())
            modal = nullptr;
        if (modal != mSeen) {
            mSeen = modal;
            mClock.start();
        }
        if (mHiding) {
            if (modal)
                modal->hide();
            return;
        }
        if (modal && !holdsKeyboard(modal)) {
            modal->activateWindow();
        } else if (modal) {
            switch (mAct(modal)) {
            case Watched::Waiting:
                break;
            case Watched::Acted:
                mClock.start();
                break;
            case Watched::Done:
                mTimer.stop();
                if (parent())
                    deleteLater();
                return;
            }
        }
        if (mOnTimeout && mClock.elapsed() > mMs) {
            mClock.start();
            mOnTimeout(*this, mSeen);
        }
    }

    static bool holdsKeyboard(QWidget *modal)
    {
        return QApplication::activeWindow() == modal && modal->windowHandle() &&
               modal->windowHandle()->isActive();
    }

    Act mAct;
    Timeout mOnTimeout;
    int mMs;
    bool mHiding = false;
    QPointer<QWidget> mSeen;
    QElapsedTimer mClock;
    QTimer mTimer;
};

// Hides every modal window that shows from now until the case's cleanup: for
// a case that failed while a modal window was up or about to show.
inline void hideModalsFromNowOn()
{
    auto *watch = new ModalWatch({}, {}, 0, 10, qApp);
    watch->hideEveryModal();
}

// Stops every watch armed for the case that just ran, and closes whatever
// windows it left open, so that the next case starts alone. For cleanup().
inline void closeEveryWindow()
{
    // By name: without a meta-object of its own a watch cannot be told by type.
    qDeleteAll(
        qApp->findChildren<QObject *>(QStringLiteral("modalWatch"), Qt::FindDirectChildrenOnly));
    // Closing one window may delete another (the main window deletes the
    // customer form).
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        windows << window;
    for (const QPointer<QWidget> &window : std::as_const(windows)) {
        if (window && window->isVisible() && !window->close() && window)
            window->hide();
    }
}

// While it lives, a modal window other than the one it was made for that
// stays up for ms with nobody to close it (a message nobody expected) fails
// the case, and it and every modal window after it are hidden as they show:
// the case then ends at once instead of waiting for a click until CTest's
// time-out.
class UnexpectedModalGuard
{
public:
    explicit UnexpectedModalGuard(QWidget *expected, int ms = 2000)
        : mWatch([](QWidget *) { return Watched::Waiting; },
                 [expected = QPointer<QWidget>(expected), ms](ModalWatch &self, QWidget *stuck) {
                     if (!stuck || stuck == expected)
                         return;
                     const auto *box = qobject_cast<QMessageBox *>(stuck);
                     const QString message =
                         QStringLiteral("unexpected modal %1 \"%2\"%3 left up for %4 ms")
                             .arg(QString::fromUtf8(stuck->metaObject()->className()),
                                  stuck->windowTitle(),
                                  box ? QStringLiteral(": ") + box->text() : QString())
                             .arg(ms);
                     self.hideEveryModal();
                     QFAIL(qPrintable(message));
                 },
                 ms, 50)
    {}

private:
    ModalWatch mWatch;
};

// Runs fn on the first modal T once it holds the keyboard; arm it before the
// click that opens the modal. Fails the test if no T shows within ms, or if
// another modal window stays up unanswered while fn runs. After a failure,
// in fn or by a time-out, every modal window is hidden as it shows, so that
// the case ends within seconds rather than wait for a click.
template <typename T> void whenModal(std::function<void(T *)> fn, int ms = 3000, int pollMs = 10)
{
    const auto timeout = [ms](ModalWatch &self, QWidget *stuck) {
        const QWidget *active = QApplication::activeWindow();
        const QString message =
            QStringLiteral("expected a modal %1 within %2 ms; modal: %3, active window: %4")
                .arg(QString::fromUtf8(T::staticMetaObject.className()))
                .arg(ms)
                .arg(stuck ? stuck->objectName() : QStringLiteral("none"))
                .arg(active ? active->objectName() : QStringLiteral("none"));
        self.hideEveryModal();
        QFAIL(qPrintable(message));
    };
    new ModalWatch(
        [fn](QWidget *modal) {
            auto *expected = qobject_cast<T *>(modal);
            if (!expected)
                return Watched::Waiting;
            {
                const UnexpectedModalGuard guard(expected);
                fn(expected);
            }
            if (QTest::currentTestFailed()) {
                if (expected->isVisible())
                    expected->hide();
                hideModalsFromNowOn();
            }
            return Watched::Done;
        },
        timeout, ms, pollMs, qApp);
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

inline SeenMessage seenMessage(const QMessageBox &box)
{
    SeenMessage seen;
    seen.shown = true;
    seen.text = box.text();
    seen.title = box.windowTitle();
    seen.icon = box.icon();
    seen.format = box.textFormat();
    seen.buttonCount = box.buttons().size();
    if (QWidget *parent = box.parentWidget())
        seen.focusBefore = parent->focusWidget();
    return seen;
}

// Arms a watcher for the next message box; it records what the box shows and
// presses its OK button. Then, if given, runs after() (for a chain of modals).
inline std::shared_ptr<SeenMessage> expectMessage(std::function<void()> after = {}, int ms = 3000,
                                                  int pollMs = 10)
{
    auto seen = std::make_shared<SeenMessage>();
    whenModal<QMessageBox>(
        [seen, after](QMessageBox *box) {
            *seen = seenMessage(*box);
            QTest::keyClick(box, Qt::Key_Return);
            if (after)
                after();
        },
        ms, pollMs);
    return seen;
}

// Records every message box that shows while it lives and closes it with OK;
// for flows that may show none, one or several, so that an unexpected message
// is seen rather than left waiting for a click.
class MessageLog
{
public:
    explicit MessageLog(int pollMs = 10)
        : mWatch(
              [this](QWidget *modal) {
                  auto *box = qobject_cast<QMessageBox *>(modal);
                  if (!box)
                      return Watched::Waiting;
                  messages.append(seenMessage(*box));
                  if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                      ok->click();
                  else
                      box->close();
                  return Watched::Acted;
              },
              {}, 0, pollMs)
    {}

    QStringList texts() const
    {
        QStringList result;
        for (const SeenMessage &message : messages)
            result.append(message.text);
        return result;
    }

    QList<SeenMessage> messages;

private:
    ModalWatch mWatch;
};
