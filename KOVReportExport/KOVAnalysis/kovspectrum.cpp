#include "kovspectrum.h"

#include <QMutex>

#include <algorithm>
#include <cmath>

namespace {

QMutex& plannerLock()
{
    static QMutex lock;
    return lock;
}

struct HannTable
{
    float w[KOVSpectrum::kFrame];
    HannTable()
    {
        // Periodic: the denominator is the frame length, not length - 1.
        for (int i = 0; i < KOVSpectrum::kFrame; ++i)
            w[i] = float(0.5 * (1.0 - std::cos(2.0 * M_PI * i / KOVSpectrum::kFrame)));
    }
};

} // namespace

const float* KOVSpectrum::hann()
{
    static const HannTable table;
    return table.w;
}

KOVSpectrum::KOVSpectrum()
{
    m_in = static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * kFrame));
    m_out = static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * kFrame));
    QMutexLocker lock(&plannerLock());
    m_plan = fftwf_plan_dft_1d(kFrame, m_in, m_out, FFTW_FORWARD, FFTW_ESTIMATE);
}

KOVSpectrum::~KOVSpectrum()
{
    {
        QMutexLocker lock(&plannerLock());
        fftwf_destroy_plan(m_plan);
    }
    fftwf_free(m_in);
    fftwf_free(m_out);
}

void KOVSpectrum::row(const float* samples, float* out)
{
    const float* w = hann();
    for (int i = 0; i < kFrame; ++i) {
        m_in[i][0] = w[i] * samples[i];
        m_in[i][1] = 0.0f;
    }
    fftwf_execute(m_plan);
    for (int j = 0; j < kBins; ++j) {
        const float re = m_out[j][0];
        const float im = m_out[j][1];
        // The power, not the magnitude, goes into the logarithm.
        out[j] = 20.0f * log10f(re * re + im * im);
    }
}

void KOVSpectrum::rows(const float* samples, int n, float* out)
{
    const int count = rowCount(n);
    for (int r = 0; r < count; ++r)
        row(samples + qptrdiff(r) * kFrame, out + qptrdiff(r) * kBins);
}

double KOVSpectrum::axisLow(const float* values, int n)
{
    bool any = false;
    float low = 0.0f;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(values[i]))
            continue;
        any = true;
        low = std::min(low, values[i]);
    }
    if (!any)
        return -120.0;
    return 50.0 * std::floor(double(low) / 50.0);
}
