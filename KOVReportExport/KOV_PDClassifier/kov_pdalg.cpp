// Features of one period's phase bins. Each term is formed in double and the
// running sum rounded to float, as the stored banks were made. Powers are
// products: d*d of a float difference is exact in double and each longer
// product is rounded once, which is what a correctly rounded pow gives, at a
// fraction of its cost.
#include "kov_pdalg.h"

#include "kovblas.h"

#include <algorithm>
#include <cmath>

void KOV_Swap(float& a, float& b)
{
    const float t = a;
    a = b;
    b = t;
}

float KOV_FindMax(const float* a, int n, int& index)
{
    return KOVBlas::findMax(a, n, index);
}

float KOV_FindMin(const float* a, int n, int& index)
{
    return KOVBlas::findMin(a, n, index);
}

void KOV_FeatureMean(const float* a, int n, float& out)
{
    float s = 0.0f;
    for (int i = 0; i < n; ++i)
        s = static_cast<float>(static_cast<double>(s) + a[i]);
    out = s / static_cast<float>(n);
}

void KOV_FeatureVariance(const float* a, int n, float mean, float& out)
{
    float s = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double d = static_cast<double>(a[i]) - mean;
        s = static_cast<float>(s + d * d);
    }
    out = s / static_cast<float>(n);
}

void KOV_FeatureSkewness(const float* a, int n, float mean, float variance, float& out)
{
    float s = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double d = static_cast<double>(a[i]) - mean;
        s = static_cast<float>(s + d * d * d);
    }
    const double sd = std::sqrt(static_cast<double>(variance));
    out = static_cast<float>(s / (sd * sd * sd * n));
}

void KOV_FeatureKurtosis(const float* a, int n, float mean, float variance, float& out)
{
    float s = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double d = static_cast<double>(a[i]) - mean;
        const double d2 = d * d;
        s = static_cast<float>(s + d2 * d2);
    }
    const double sd = std::sqrt(static_cast<double>(variance));
    const double sd2 = sd * sd;
    out = static_cast<float>(s / (sd2 * sd2 * n) - 3.0);
}

void KOV_RMS(const float* a, int n, float& out)
{
    if (n < 1) {
        out = 0.0f;
        return;
    }
    float s = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double x = a[i];
        s = static_cast<float>(s + x * x);
    }
    out = std::sqrt(s / static_cast<float>(n));
}

void KOV_FeatureCrestFactor(const float* a, int n, float max, float& out)
{
    float rms;
    KOV_RMS(a, n, rms);
    out = max / rms;
}

void KOV_FeatureLatitudeFactor(const float* a, int n, float max, float& out)
{
    float s = 0.0f;
    for (int i = 0; i < n; ++i)
        s = static_cast<float>(s + std::sqrt(std::fabs(static_cast<double>(a[i]))));
    const double m = static_cast<double>(s) / n;
    out = static_cast<float>(max / (m * m));
}

void KOV_FeatureShapeFactor(const float* a, int n, float rms, float& out)
{
    float s = 0.0f;
    for (int i = 0; i < n; ++i)
        s = static_cast<float>(s + std::fabs(static_cast<double>(a[i])));
    out = rms / (s / static_cast<float>(n));
}

void KOV_FeatureDynamic(const float* a, int n, float& out)
{
    int i;
    out = KOV_FindMax(a, n, i) - KOV_FindMin(a, n, i);
}

// The separate feature functions fused into two passes: every sum sees the
// same terms in the same order, so the results are theirs bit for bit (a test
// holds them to it), with the independent sums overlapping.
void KOV_FeatureExtraction(const float* x, int n, float* row)
{
    if (n < 1) {
        for (int c = 1; c <= KOV_FEATURE_COUNT; ++c)
            row[c] = NAN;
        return;
    }
    float max = x[0], min = x[0];
    float sum = 0.0f, sumSq = 0.0f, sumRoot = 0.0f, sumAbs = 0.0f;
    for (int i = 0; i < n; ++i) {
        const float v = x[i];
        if (v > max)
            max = v;
        if (v < min)
            min = v;
        const double d = v;
        sum = static_cast<float>(static_cast<double>(sum) + d);
        sumSq = static_cast<float>(sumSq + d * d);
        sumRoot = static_cast<float>(sumRoot + std::sqrt(std::fabs(d)));
        sumAbs = static_cast<float>(sumAbs + std::fabs(d));
    }
    const float mean = sum / static_cast<float>(n);
    const float rms = std::sqrt(sumSq / static_cast<float>(n));
    float s2 = 0.0f, s3 = 0.0f, s4 = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double d = static_cast<double>(x[i]) - mean;
        const double d2 = d * d;
        s2 = static_cast<float>(s2 + d2);
        s3 = static_cast<float>(s3 + d2 * d);
        s4 = static_cast<float>(s4 + d2 * d2);
    }
    const float var = s2 / static_cast<float>(n);
    const double sd = std::sqrt(static_cast<double>(var));
    const double sd2 = sd * sd;
    const double rootMean = static_cast<double>(sumRoot) / n;
    row[1] = mean;
    row[2] = var;
    row[3] = static_cast<float>(s3 / (sd * sd * sd * n));
    row[4] = static_cast<float>(s4 / (sd2 * sd2 * n) - 3.0);
    row[5] = max / rms;
    row[6] = static_cast<float>(max / (rootMean * rootMean));
    row[7] = rms / (sumAbs / static_cast<float>(n));
    row[8] = max - min;
}

namespace {

bool marked(const float* a, int n, int& first)
{
    float mean, var;
    const float max = KOV_FindMax(a, n, first);
    KOV_FeatureMean(a, n, mean);
    KOV_FeatureVariance(a, n, mean, var);
    return max - mean > 8.0f && var > 10.0f;
}

} // namespace

int KOV_PRPDFitting(const float* a, int n, int& shift)
{
    shift = 0;
    const int half = n / 2;
    if (half < 1)
        return 0;
    int first1 = 0, first2 = 0;
    const bool m1 = marked(a, half, first1);
    const bool m2 = marked(a + half, half, first2);
    if (m2)
        shift = n / 4 - first2;
    else if (m1)
        shift = n / 2 + n / 4 - first1;
    return (m1 || m2) ? 1 : 0;
}

void KOV_Rotation(float*& a, int n, int shift)
{
    if (n < 1)
        return;
    shift %= n;
    if (shift < 0)
        shift += n;
    // A positive shift brings the last `shift` values to the front.
    std::rotate(a, a + n - shift, a + n);
}
