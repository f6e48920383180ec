#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

// Watches a window and, when it has first been painted in full, prints the monotonic clock
// in nanoseconds on stdout and ends the event loop: the start-up benchmark
// reads that line to time the process from its start to its first paint.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget &window)
        : QObject(&window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !mSeen) {
            mSeen = true;
            // The window's own paint event comes before its children paint
            // theirs in the same pass; stamp once the whole frame is drawn.
            QTimer::singleShot(0, qApp, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("%lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool mSeen = false;
};
