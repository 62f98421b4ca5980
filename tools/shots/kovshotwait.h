#pragma once
// Lets the event loop run for a while, as a person would wait before a
// screenshot: timers fire, frames play, repaints land.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

inline void waitMs(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}
