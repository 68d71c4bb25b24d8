// Ends a benchmark's program once its window has painted for the first time: the event after
// the first paint event of the watched window writes the time (CLOCK_MONOTONIC, in
// nanoseconds) on standard output and quits the event loop. The time of the program's end
// would add the freeing of everything it made, which no user waits for.
#pragma once

#include <cstdio>
#include <time.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // Runs once the paint (and the copy to the screen) are done.
            QTimer::singleShot(0, QCoreApplication::instance(), [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("painted %lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};
