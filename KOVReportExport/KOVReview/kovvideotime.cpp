#include "kovvideotime.h"

#include <cmath>

float KOVVideoTime::seconds(int index)
{
    return float(index) * 0.04f;
}

QString KOVVideoTime::label(int frames)
{
    // In float, 1500 x 0.04 rounds to exactly 60 and so shows 01:00; in double
    // it would fall just short and show 00:59.
    const float t = seconds(frames);
    const int minutes = int(std::floor(t / 60.0f));
    const int secs = int(t - float(minutes) * 60.0f);
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(secs, 2, 10, QLatin1Char('0'));
}
