#include "koviirdesigner.h"

#include <cmath>

namespace {

struct Common
{
    float c;
    float s;
    float alpha;
};

Common common(float freq, float q, float fs)
{
    // w0 in double from the float arguments, then every step in float: the
    // stored coefficients of existing designs depend on this rounding.
    const float w0 = static_cast<float>(2.0 * M_PI * static_cast<double>(freq) / static_cast<double>(fs));
    Common r;
    r.c = std::cos(w0);
    r.s = std::sin(w0);
    r.alpha = r.s * 0.5f / q;
    return r;
}

float amplitude(float gain)
{
    return static_cast<float>(std::pow(10.0, static_cast<double>(gain / 40.0f)));
}

IIRCoef_t normalise(float b0, float b1, float b2, float a0, float a1, float a2)
{
    return IIRCoef_t{b0 / a0, b1 / a0, b2 / a0, 1.0f, a1 / a0, a2 / a0};
}

} // namespace

IIRCoef_t KOVIIRDesigner::createLowPass(float freq, float q, float, float fs)
{
    const Common k = common(freq, q, fs);
    const float b = (1.0f - k.c) / 2.0f;
    return normalise(b, 1.0f - k.c, b, 1.0f + k.alpha, -2.0f * k.c, 1.0f - k.alpha);
}

IIRCoef_t KOVIIRDesigner::createHighPass(float freq, float q, float, float fs)
{
    const Common k = common(freq, q, fs);
    const float b = (1.0f + k.c) / 2.0f;
    return normalise(b, -(1.0f + k.c), b, 1.0f + k.alpha, -2.0f * k.c, 1.0f - k.alpha);
}

IIRCoef_t KOVIIRDesigner::createLowShift(float freq, float q, float gain, float fs)
{
    const Common k = common(freq, q, fs);
    const float A = amplitude(gain);
    const float t = 2.0f * std::sqrt(A) * k.alpha;
    return normalise(A * ((A + 1) - (A - 1) * k.c + t), 2 * A * ((A - 1) - (A + 1) * k.c),
                     A * ((A + 1) - (A - 1) * k.c - t), (A + 1) + (A - 1) * k.c + t,
                     -2 * ((A - 1) + (A + 1) * k.c), (A + 1) + (A - 1) * k.c - t);
}

IIRCoef_t KOVIIRDesigner::createHighShift(float freq, float q, float gain, float fs)
{
    const Common k = common(freq, q, fs);
    const float A = amplitude(gain);
    const float t = 2.0f * std::sqrt(A) * k.alpha;
    return normalise(A * ((A + 1) + (A - 1) * k.c + t), -2 * A * ((A - 1) + (A + 1) * k.c),
                     A * ((A + 1) + (A - 1) * k.c - t), (A + 1) - (A - 1) * k.c + t,
                     2 * ((A - 1) - (A + 1) * k.c), (A + 1) - (A - 1) * k.c - t);
}

IIRCoef_t KOVIIRDesigner::createPeak(float freq, float q, float gain, float fs)
{
    const Common k = common(freq, q, fs);
    const float A = amplitude(gain);
    return normalise(1 + k.alpha * A, -2 * k.c, 1 - k.alpha * A, 1 + k.alpha / A, -2 * k.c, 1 - k.alpha / A);
}
