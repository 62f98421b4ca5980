#ifndef KOVIIRDESIGNER_H
#define KOVIIRDESIGNER_H

#include "iircoef.h"

// Biquad designs of the Audio EQ Cookbook, normalised to a0 = 1. Arguments:
// centre or corner frequency (Hz), quality factor, gain (dB, shelves and peak
// only), sampling rate (Hz).
class KOVIIRDesigner
{
public:
    static IIRCoef_t createLowPass(float freq, float q, float gain, float fs);
    static IIRCoef_t createHighPass(float freq, float q, float gain, float fs);
    static IIRCoef_t createLowShift(float freq, float q, float gain, float fs);
    static IIRCoef_t createHighShift(float freq, float q, float gain, float fs);
    static IIRCoef_t createPeak(float freq, float q, float gain, float fs);
};

#endif // KOVIIRDESIGNER_H
