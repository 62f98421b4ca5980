#ifndef KOVBLAS_H
#define KOVBLAS_H

// Statistics of float arrays. Every array holds at least one element; sums are
// accumulated in float in index order, so results match across callers.
class KOVBlas
{
public:
    static float findMax(const float* a, int n);
    static float findMax(const float* a, int n, int& index);
    static float findMin(const float* a, int n);
    static float findMin(const float* a, int n, int& index);
    // Callers pass n >= 1; n <= 0 gives 0 rather than a division by zero.
    static float Rms(const float* a, int n);
    static float sumSqr(const float* a, int n);
    // 20 log10 |x|, with -120 for |x| below 1e-6.
    static float getDecible(float x);
};

#endif // KOVBLAS_H
