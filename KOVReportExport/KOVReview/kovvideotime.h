#ifndef KOVVIDEOTIME_H
#define KOVVIDEOTIME_H

#include <QString>

// The time base of playback: every video frame lasts 40 ms (25 frames per
// second), whatever the container claims.
class KOVVideoTime
{
public:
    // Start of frame index i in seconds. Single precision on purpose: the
    // waveform and pattern views are fed the same float the labels use.
    static float seconds(int index);
    // "mm:ss" of n frames; minutes run past 99 rather than wrap.
    static QString label(int frames);
};

#endif // KOVVIDEOTIME_H
