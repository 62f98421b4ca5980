#include "kovpdsynth.h"

#include <cmath>

namespace {
const double kTwoPi = 6.283185307179586;
}

// The generators are written out rather than taken from <random>'s
// distributions, whose output differs between standard libraries: the same
// seed must give the same bank everywhere.
KOVPdSynth::KOVPdSynth(uint32_t seed)
    : m_rng(seed)
{
}

double KOVPdSynth::uniform()
{
    return (static_cast<double>(m_rng() >> 5) + 0.5) / 134217728.0; // (0, 1)
}

double KOVPdSynth::normal()
{
    const double u = uniform(), v = uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(kTwoPi * v);
}

int KOVPdSynth::poisson(double mean)
{
    const double limit = std::exp(-mean);
    int k = 0;
    for (double p = uniform(); p > limit; p *= uniform())
        ++k;
    return k;
}

void KOVPdSynth::addNoise(std::vector<float>& x, double sigma)
{
    for (float& v : x)
        v += static_cast<float>(sigma * normal());
}

void KOVPdSynth::addBurst(std::vector<float>& x, double at, double amplitude, double freq, double decay)
{
    // A fast rise over 4 samples and an exponential ring-down.
    const int start = static_cast<int>(at);
    const int length = static_cast<int>(decay * 6.0) + 4;
    const double phase = uniform() * kTwoPi;
    for (int i = 0; i < length; ++i) {
        const int n = start + i;
        if (n < 0 || n >= static_cast<int>(x.size()))
            continue;
        const double env = (i < 4 ? (i + 1) / 4.0 : 1.0) * std::exp(-i / decay);
        x[static_cast<size_t>(n)] += static_cast<float>(amplitude * env * std::sin(kTwoPi * freq * i / SampleRate + phase));
    }
}

std::vector<float> KOVPdSynth::render(int cls, int periods)
{
    std::vector<float> x(static_cast<size_t>(periods) * PeriodSamples, 0.0f);
    const double noise = 0.0004 * std::exp(uniform() * 2.3); // 0.0004 .. 0.004
    const double freq = 32000.0 + 10000.0 * uniform();
    const double decay = 8.0 + 16.0 * uniform(); // samples
    const double gain = std::exp((uniform() - 0.5) * 2.4); // about x0.3 .. x3.3
    const double phase0 = uniform(); // of the period
    const double P = PeriodSamples;
    switch (cls) {
    case 1: { // corona
        const double height = 0.04 * gain;
        const double spread = (0.03 + 0.03 * uniform()) * P;
        const double rate = 8.0 + 10.0 * uniform();
        for (int p = 0; p < periods; ++p) {
            const int n = 2 + poisson(rate);
            for (int k = 0; k < n; ++k)
                addBurst(x, p * P + phase0 * P + spread * normal(), height * (1.0 + 0.08 * normal()), freq, decay);
        }
        addNoise(x, noise);
        break;
    }
    case 2: { // surface discharge
        const double height = 0.07 * gain;
        const double spread = (0.10 + 0.08 * uniform()) * P;
        const double weak = 0.35 + 0.3 * uniform(); // the second half-period's share
        const double rate = 3.0 + 5.0 * uniform();
        for (int p = 0; p < periods; ++p) {
            for (int half = 0; half < 2; ++half) {
                const double centre = p * P + (phase0 + 0.5 * half) * P;
                const double scale = half ? height * weak : height;
                const int n = poisson(half ? rate * weak : rate);
                for (int k = 0; k < n; ++k)
                    addBurst(x, centre + spread * normal(), scale * std::exp(0.7 * normal()), freq, decay);
            }
        }
        addNoise(x, noise);
        break;
    }
    case 3: { // free metal particles
        const double height = 0.08 * gain;
        const double rate = 0.8 + 1.5 * uniform();
        for (int p = 0; p < periods; ++p) {
            const int n = poisson(rate);
            for (int k = 0; k < n; ++k)
                addBurst(x, (p + uniform()) * P, height * std::exp(0.8 * normal()), freq, decay);
        }
        addNoise(x, noise);
        break;
    }
    default: // none: a quiet room, or steady noise of any level
        addNoise(x, uniform() < 0.2 ? 0.00001 : noise * std::exp(uniform() * 2.5));
        break;
    }
    return x;
}
