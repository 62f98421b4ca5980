#include "kovblas.h"

#include <cmath>

float KOVBlas::findMax(const float* a, int n)
{
    float best = a[0];
    for (int i = 1; i < n; ++i)
        if (a[i] > best)
            best = a[i];
    return best;
}

float KOVBlas::findMax(const float* a, int n, int& index)
{
    float best = a[0];
    index = 0;
    for (int i = 1; i < n; ++i)
        if (a[i] > best) {
            best = a[i];
            index = i;
        }
    return best;
}

float KOVBlas::findMin(const float* a, int n)
{
    float best = a[0];
    for (int i = 1; i < n; ++i)
        if (a[i] < best)
            best = a[i];
    return best;
}

float KOVBlas::findMin(const float* a, int n, int& index)
{
    float best = a[0];
    index = 0;
    for (int i = 1; i < n; ++i)
        if (a[i] < best) {
            best = a[i];
            index = i;
        }
    return best;
}

float KOVBlas::Rms(const float* a, int n)
{
    if (n < 1)
        return 0.0f;
    return std::sqrt(sumSqr(a, n) / static_cast<float>(n));
}

float KOVBlas::sumSqr(const float* a, int n)
{
    float s = 0.0f;
    for (int i = 0; i < n; ++i)
        s += a[i] * a[i];
    return s;
}

float KOVBlas::getDecible(float x)
{
    const float m = std::fabs(x);
    if (m < 0.000001f)
        return -120.0f;
    return 20.0f * std::log10(m);
}
