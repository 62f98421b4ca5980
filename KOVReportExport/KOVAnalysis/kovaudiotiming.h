#ifndef KOVAUDIOTIMING_H
#define KOVAUDIOTIMING_H

// Where a video frame lies in the item's 96 kHz audio. Times are computed in
// single precision as the imager's software does, so frame 5 starts at sample
// 19199, not 19200; every caller goes through these functions to agree.
namespace KOVAudioTiming {

constexpr int kRate = 96000;
constexpr int kSliceSamples = 3840; // one 40 ms video frame
constexpr int kFeedWindow = 28799; // samples re-fed after a seek or jump

// Time of video frame index (from 0) in seconds; a negative index counts as 0.
float frameTime(int index);
// The sample at a time: truncated toward zero, at least 0.
int sampleAt(float seconds);

// The waveform slice of the frame at a time: samples start .. start + count - 1.
// valid is false when the time lies at or beyond the audio's length.
struct Slice
{
    bool valid = false;
    int start = 0;
    int count = 0;
};
Slice slice(float seconds, int length);

// Spectrum request for video frame n: k = ceil(n x 3.75), showing row
// max(k - 1, 0); the cursor stands at the frame's end, (n + 1) x 0.04 s.
// A negative frame counts as 0.
int spectrumIndex(int frame);
int spectrumRow(int k);
double cursorTime(int frame);

// The samples of a clip between two times, kept within the loaded length:
// first .. first + count - 1, count 0 when nothing of it is loaded.
struct Span
{
    int first = 0;
    int count = 0;
};
Span clipSpan(float start, float end, int length);

// What the pulse capture is fed to reach sample end after it was fed up to
// sample fed (exclusive): the new samples when playback moved forward by at
// most 28798 samples, else, after emptying the capture and the pattern list,
// the last 28799 samples before end (or all of them from 0).
struct Feed
{
    bool reset = false;
    int from = 0;
    int to = 0;
};
Feed feed(int fed, int end);

} // namespace KOVAudioTiming

#endif // KOVAUDIOTIMING_H
