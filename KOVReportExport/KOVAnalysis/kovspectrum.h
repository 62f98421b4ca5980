#ifndef KOVSPECTRUM_H
#define KOVSPECTRUM_H

#include <fftw3.h>

// Spectra of 96 kHz audio in frames of 1024 samples without overlap: a
// periodic Hann window, a single-precision complex transform and, per bin
// 0..511, 20 log10 of the unnormalised power (so a full-scale sine at a bin
// frequency reads about +96.3 dB).
//
// The transform is planned once per object; FFTW's planner is not
// thread-safe, so plans are made under a lock shared by every object.
class KOVSpectrum
{
public:
    static constexpr int kFrame = 1024;
    static constexpr int kBins = 512;
    static constexpr double kBinHz = 48000.0 / 512;

    KOVSpectrum();
    ~KOVSpectrum();
    KOVSpectrum(const KOVSpectrum&) = delete;
    KOVSpectrum& operator=(const KOVSpectrum&) = delete;

    // w[i] = 0.5 (1 - cos(2 pi i / 1024)): w[0] = 0, w[512] = 1, w[1023] = w[1].
    static const float* hann();

    // Rows of the whole frames of n samples: n / 1024.
    static int rowCount(int n) { return n > 0 ? n / kFrame : 0; }
    // One row: kBins dB values of the frame at samples (1024 values).
    void row(const float* samples, float* out);
    // rowCount(n) rows of kBins values each, one after the other, into out.
    void rows(const float* samples, int n, float* out);

    // Lower bound of the spectrum's dB axis, in steps of 50 below 0, from the
    // finite values only; -120 when none is finite (digital silence).
    static double axisLow(const float* values, int n);

private:
    fftwf_complex* m_in = nullptr;
    fftwf_complex* m_out = nullptr;
    fftwf_plan m_plan = nullptr;
};

#endif // KOVSPECTRUM_H
