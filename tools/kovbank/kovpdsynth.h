#ifndef KOVPDSYNTH_H
#define KOVPDSYNTH_H

#include <cstdint>
#include <random>
#include <vector>

// Seeded synthesis of ultrasonic recordings (96 kHz, floats scaled to +-1,
// 50 Hz mains) of each discharge class, from the traits that tell the classes
// apart in the field:
//   none:          silence or steady broadband noise;
//   corona:        many small pulses of similar height, clustered at one phase
//                  of the period;
//   surface:       broader clusters in both half-periods, one stronger;
//   free metal:    a few pulses per period at any phase, heights spread over a
//                  wide range.
// A discharge pulse reaches the sensor as a short decaying burst at its
// resonance (32 to 42 kHz here), above the 25 kHz high-pass of the capture.
// Every recording draws its own level, noise floor, burst frequency and
// phase, so the classes overlap as they would between measurements.
class KOVPdSynth
{
public:
    enum { SampleRate = 96000, PeriodSamples = 1920 };

    explicit KOVPdSynth(uint32_t seed);

    // A recording of `periods` mains periods of class cls (0 to 3).
    std::vector<float> render(int cls, int periods);

private:
    double uniform();
    double normal();
    int poisson(double mean);
    void addNoise(std::vector<float>& x, double sigma);
    void addBurst(std::vector<float>& x, double at, double amplitude, double freq, double decay);

    std::mt19937 m_rng;
};

#endif // KOVPDSYNTH_H
