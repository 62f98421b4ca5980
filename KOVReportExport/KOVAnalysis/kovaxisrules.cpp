#include "kovaxisrules.h"

#include <algorithm>
#include <cmath>

namespace KOVAxisRules {

namespace {
constexpr double kMinSpan = 1e-6;
}

Range within(Range r, double lo, double hi, double minSpan)
{
    if (!(hi > lo))
        return { lo, lo + minSpan };
    if (!(r.upper > r.lower))
        r.upper = r.lower + minSpan;
    const double span = r.upper - r.lower;
    if (span >= hi - lo)
        return { lo, hi };
    if (r.lower < lo)
        return { lo, lo + span };
    if (r.upper > hi)
        return { hi - span, hi };
    return r;
}

Range waveTime(Range r, double audioSeconds)
{
    r = within(r, 0.0, audioSeconds, 0.01);
    // At least 10 ms up from the start, however short the audio.
    if (r.upper <= 0.01)
        r.upper = 0.01;
    return r;
}

Range waveValue(Range r, double cap)
{
    const double m = std::max(std::fabs(r.lower), std::fabs(r.upper));
    if (m > cap)
        return { -cap, cap };
    if (!(m > 0.0))
        return { -1.0, 1.0 };
    return { -m, m };
}

Range spectrumFrequency(Range r)
{
    return within(r, 0.0, 48000.0, 1.0);
}

Range spectrogramTime(Range r, double audioSeconds)
{
    return within(r, 0.0, audioSeconds, 0.01);
}

Range spectrogramFrequency(Range r)
{
    return within(r, 0.0, 48.0, kMinSpan);
}

Range sliceTime(Range r, double frameStart)
{
    return within(r, frameStart, frameStart + 0.04, kMinSpan);
}

Range sliceValue(Range r, double max)
{
    if (!(max > 0.0))
        max = 1.0;
    return within(r, -max, max, kMinSpan);
}

Ticks timeTicks(double span)
{
    Ticks t;
    if (span >= 9.0) {
        t.format = QStringLiteral("mm:ss");
        return t;
    }
    t.format = QStringLiteral("mm:ss.zzz");
    for (int c = 1; c <= 11; ++c) {
        if (span < c * 0.001) {
            t.count = c;
            break;
        }
    }
    return t;
}

} // namespace KOVAxisRules
