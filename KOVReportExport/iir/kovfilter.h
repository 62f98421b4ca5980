#ifndef KOVFILTER_H
#define KOVFILTER_H

#include "iircoef.h"

class KOVFilterPrivate;

// One biquad section in transposed direct form II. The state carries over
// between calls, so consecutive blocks filter as one signal. In and out may be
// the same array.
class KOVFilter
{
public:
    explicit KOVFilter(IIRCoef_t coef);
    ~KOVFilter();
    KOVFilter(const KOVFilter&) = delete;
    KOVFilter& operator=(const KOVFilter&) = delete;

    void reset();
    void filter(const float* in, float* out, int n);
    // 16-bit samples are scaled by 1/32767 on the way in and by 32767 on the
    // way out; outputs beyond the 16-bit range saturate.
    void filter(const short* in, short* out, int n);
    void filter(const short* in, float* out, int n);
    void filter(const float* in, short* out, int n);
    // first then second over data in place, in one pass: the same samples as
    // two calls, but the two recurrences overlap instead of waiting on each
    // other.
    static void cascade(KOVFilter& first, KOVFilter& second, float* data, int n);
    // For loops that run the section step by step alongside other work: they
    // take the coefficients and state, and hand the state back when done.
    IIRCoef_t coef() const;
    void state(float& s1, float& s2) const;
    void setState(float s1, float s2);

private:
    KOVFilterPrivate* d;
};

#endif // KOVFILTER_H
