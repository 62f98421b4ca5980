#pragma once
// The longest stretch the interface thread does not come back to its event
// loop while the probe lives: a 1 ms timer notes each gap between its ticks.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

struct BlockProbe
{
    QElapsedTimer gap;
    qint64 longest = 0;
    QTimer timer;
    BlockProbe()
    {
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            longest = qMax(longest, gap.nsecsElapsed());
            gap.restart();
        });
        gap.start();
        timer.start();
    }
    double ms() const { return qMax(longest, gap.nsecsElapsed()) / 1e6; }
};
