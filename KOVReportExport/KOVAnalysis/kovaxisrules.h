#ifndef KOVAXISRULES_H
#define KOVAXISRULES_H

#include <QString>

// How the analysis plots keep their axes in bounds. Every clamp returns a
// range with lower < upper and is a fixed point: clamping its own result
// changes nothing, so the range-changed signal that a clamp raises settles at
// once. A range dragged past a bound keeps its span and stops at the bound.
namespace KOVAxisRules {

struct Range
{
    double lower = 0.0;
    double upper = 0.0;
    bool operator==(const Range& o) const { return lower == o.lower && upper == o.upper; }
    bool operator!=(const Range& o) const { return !(*this == o); }
};

// Within lo..hi, span kept where it fits, else lo..hi; hi <= lo gives
// lo..lo + minSpan.
Range within(Range r, double lo, double hi, double minSpan);

// Waveform window, time axis: 0..audio length, upper bound at least 0.01 s.
Range waveTime(Range r, double audioSeconds);
// Waveform window, value axis: symmetric about 0, at most +-cap; a zero range
// becomes -1..1.
Range waveValue(Range r, double cap = 10000.0);
// Spectrum, frequency axis: 0..48000 Hz.
Range spectrumFrequency(Range r);
// Spectrogram: time 0..audio length, frequency 0..48 kHz.
Range spectrogramTime(Range r, double audioSeconds);
Range spectrogramFrequency(Range r);
// The review page's waveform slice: the shown frame's 40 ms from frameStart,
// and values within +-max (a max of 0 or less allows -1..1).
Range sliceTime(Range r, double frameStart);
Range sliceValue(Range r, double max);

// Date-time ticks for a visible time span in seconds.
struct Ticks
{
    QString format;
    int count = 12;
};
Ticks timeTicks(double span);

} // namespace KOVAxisRules

#endif // KOVAXISRULES_H
