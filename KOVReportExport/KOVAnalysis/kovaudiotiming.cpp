#include "kovaudiotiming.h"

#include <algorithm>
#include <cmath>

namespace KOVAudioTiming {

float frameTime(int index)
{
    return float(std::max(index, 0)) * 0.04f;
}

int sampleAt(float seconds)
{
    const float s = seconds * float(kRate);
    if (!(s > 0.0f))
        return 0;
    if (s >= 2147483520.0f)
        return 2147483520;
    return int(s);
}

Slice slice(float seconds, int length)
{
    Slice sl;
    const int s = sampleAt(seconds);
    if (s >= length)
        return sl;
    sl.valid = true;
    sl.start = s;
    sl.count = std::min(s + kSliceSamples, length) - s;
    return sl;
}

int spectrumIndex(int frame)
{
    return int(std::ceil(std::max(frame, 0) * 3.75));
}

int spectrumRow(int k)
{
    return std::max(k - 1, 0);
}

double cursorTime(int frame)
{
    return (std::max(frame, 0) + 1) * 0.04;
}

Span clipSpan(float start, float end, int length)
{
    Span sp;
    const int s0 = std::min(sampleAt(start), std::max(length, 0));
    const int s1 = std::min(sampleAt(end), std::max(length, 0));
    sp.first = s0;
    sp.count = std::max(s1 - s0, 0);
    return sp;
}

Feed feed(int fed, int end)
{
    Feed f;
    f.to = end;
    if (fed < end && end - fed <= kFeedWindow - 1) {
        f.from = fed;
        return f;
    }
    f.reset = true;
    f.from = std::max(end - kFeedWindow, 0);
    return f;
}

} // namespace KOVAudioTiming
