#ifndef KOVPDDPULSECAPTURE_H
#define KOVPDDPULSECAPTURE_H

class KOVPddPulseCapturePrivate;

// Turns 96 kHz ultrasound (floats scaled to +-1) into partial-discharge
// patterns one mains period at a time: high-pass, buffer, find whether a
// pulse stands out of the noise floor, align the period to the first pulse,
// reduce it to phase-bin energies and classify it.
class KOVPddPulseCapture
{
public:
    enum PddMode { Pdd50Hz = 0, Pdd60Hz = 1 };
    enum PddType { PddTypeNone = 0, PddTypeCorona = 1, PddTypeAlongSurface = 2, PddTypeFreeMetal = 3 };

    explicit KOVPddPulseCapture(PddMode mode);
    ~KOVPddPulseCapture();
    KOVPddPulseCapture(const KOVPddPulseCapture&) = delete;
    KOVPddPulseCapture& operator=(const KOVPddPulseCapture&) = delete;

    // Rebuilds the classifier, which reads the feature bank again.
    void setPddMode(PddMode mode);
    // Blocks of 1 to 96000 samples are taken; others are ignored.
    void FeedAudio(const float* x, int n);
    // One period into out (240 values at 50 Hz, 200 at 60 Hz; out holds 240)
    // and its class, when enough samples are buffered; else false and neither
    // is touched.
    bool getPdd(float* out, PddType& type);
    // Forgets the buffered samples; the noise floor and filter state stay.
    void releaseCache();

    bool checkPeak(float peak, float noiseFloor);
    void getPddData(const float* in, float* out);
    int peakOffset(const float* in, float a, float b);

    // Samples buffered, and whether the last period found a pulse (its window
    // was aligned to it). For tests and the bank generator.
    int bufferedCount() const;
    bool lastPeriodHadPulse() const;
    // The noise floor the last period was judged by (after smoothing).
    float lastNoiseFloor() const;

private:
    KOVPddPulseCapturePrivate* d;
};

#endif // KOVPDDPULSECAPTURE_H
