#ifndef IIRCOEF_H
#define IIRCOEF_H

// Biquad coefficients: (b0 + b1 z^-1 + b2 z^-2) / (a0 + a1 z^-1 + a2 z^-2).
// Designs are normalised to a0 = 1; the filter never reads a0.
struct IIRCoef_t
{
    float b0;
    float b1;
    float b2;
    float a0;
    float a1;
    float a2;
};

#endif // IIRCOEF_H
