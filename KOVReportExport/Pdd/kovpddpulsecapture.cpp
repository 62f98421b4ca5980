#include "kovpddpulsecapture.h"

#include "kov_pdclassifier.h"
#include "kovblas.h"
#include "kovfilter.h"
#include "koviirdesigner.h"

#include <QMutex>
#include <QMutexLocker>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

const int kMaxBlock = 96000;
const int kCapacity = 960000; // 10 s at 96 kHz
// Samples that always stay buffered ahead of the period window.
const int kAhead = 1024;
// An aligned window starts this many samples before its pulse.
const int kLead = 400;
const int kBinSamples = 8;

struct ModeTraits
{
    int period;    // samples per mains period
    int bins;      // phase bins per period
    int threshold; // more samples than this must be buffered
    int statSpan;  // samples for noise floor and peak, from the buffer start
    int statAt;    // ... or from the period window when 0 span
};

ModeTraits traits(KOVPddPulseCapture::PddMode m)
{
    // 50 Hz takes its statistics over 4864 samples ahead of and around the
    // window; 60 Hz over the window itself.
    if (m == KOVPddPulseCapture::Pdd60Hz)
        return {1600, 200, 4223, 1600, kAhead};
    return {1920, 240, 4863, 4864, 0};
}

// KOVBlas::Rms and KOVBlas::findMax in one pass, with the same arithmetic:
// both are chains of dependent steps, and one pass lets them overlap.
void rmsAndMax(const float* a, int n, float& rms, float& max)
{
    float s = 0.0f;
    float best = a[0];
    for (int i = 0; i < n; ++i) {
        s += a[i] * a[i];
        if (a[i] > best)
            best = a[i];
    }
    rms = std::sqrt(s / static_cast<float>(n));
    max = best;
}

double level(double x)
{
    return x >= 0.000001 ? 20.0 * std::log10(x) + 120.0 : 0.0;
}

} // namespace

class KOVPddPulseCapturePrivate
{
public:
    KOVPddPulseCapture::PddMode m_pddMode = KOVPddPulseCapture::Pdd50Hz;
    KOV_PDClassifier* m_Pdclassifier = nullptr;
    // The buffer holds m_bufferIndex samples from m_start on. Consuming a
    // period moves m_start instead of the samples; they are moved to the
    // front only when an append would run past the end, which keeps the
    // outputs of the plain shifting buffer at a fraction of the copying.
    std::vector<float> m_buffer;
    int m_start = 0;
    int m_bufferIndex = 0;
    mutable QMutex m_bufferLock;
    KOVFilter* m_highPassPart1 = nullptr;
    KOVFilter* m_highPassPart2 = nullptr;
    float m_NoiseFloorLast = 0.0f;
    std::vector<float> m_scratch;
    bool m_lastPulse = false;

    float* at(int i) { return m_buffer.data() + m_start + i; }
    void consume(int n)
    {
        m_start += n;
        m_bufferIndex -= n;
    }
};

KOVPddPulseCapture::KOVPddPulseCapture(PddMode mode)
    : d(new KOVPddPulseCapturePrivate)
{
    d->m_buffer.assign(kCapacity + kMaxBlock, 0.0f);
    d->m_scratch.resize(kMaxBlock);
    const IIRCoef_t hp = KOVIIRDesigner::createHighPass(25000.0f, 0.707f, 1.0f, 96000.0f);
    d->m_highPassPart1 = new KOVFilter(hp);
    d->m_highPassPart2 = new KOVFilter(hp);
    d->m_highPassPart1->reset();
    d->m_highPassPart2->reset();
    setPddMode(mode);
}

KOVPddPulseCapture::~KOVPddPulseCapture()
{
    delete d->m_highPassPart1;
    delete d->m_highPassPart2;
    delete d->m_Pdclassifier;
    delete d;
}

void KOVPddPulseCapture::setPddMode(PddMode mode)
{
    d->m_pddMode = mode;
    delete d->m_Pdclassifier;
    d->m_Pdclassifier = new KOV_PDClassifier();
}

void KOVPddPulseCapture::FeedAudio(const float* x, int n)
{
    if (!x || n <= 0 || n > kMaxBlock)
        return;
    float* s = d->m_scratch.data();
    std::memcpy(s, x, static_cast<size_t>(n) * sizeof(float));
    KOVFilter::cascade(*d->m_highPassPart1, *d->m_highPassPart2, s, n);
    QMutexLocker lock(&d->m_bufferLock);
    if (d->m_bufferIndex + n > kCapacity)
        d->consume(n); // the oldest n go, as many as arrive
    if (d->m_start + d->m_bufferIndex + n > static_cast<int>(d->m_buffer.size())) {
        std::memmove(d->m_buffer.data(), d->at(0), static_cast<size_t>(d->m_bufferIndex) * sizeof(float));
        d->m_start = 0;
    }
    std::memcpy(d->at(d->m_bufferIndex), s, static_cast<size_t>(n) * sizeof(float));
    d->m_bufferIndex += n;
}

bool KOVPddPulseCapture::getPdd(float* out, PddType& type)
{
    const ModeTraits t = traits(d->m_pddMode);
    float window[1920];
    float stats[4864];
    {
        QMutexLocker lock(&d->m_bufferLock);
        if (d->m_bufferIndex <= t.threshold)
            return false;
        std::memcpy(window, d->at(kAhead), static_cast<size_t>(t.period) * sizeof(float));
        std::memcpy(stats, d->at(t.statAt), static_cast<size_t>(t.statSpan) * sizeof(float));
    }
    float nf, peak;
    rmsAndMax(stats, t.statSpan, nf, peak);
    if (d->m_NoiseFloorLast > nf)
        nf = (nf + d->m_NoiseFloorLast) * 0.5f;
    d->m_NoiseFloorLast = nf;

    int i = -1;
    if (checkPeak(peak, nf))
        i = peakOffset(window, nf, peak);
    d->m_lastPulse = i >= 0;
    if (i >= 0) {
        {
            QMutexLocker lock(&d->m_bufferLock);
            const int from = i + kAhead - kLead;
            std::memcpy(window, d->at(from), static_cast<size_t>(t.period) * sizeof(float));
            d->consume(from + t.period - kAhead);
        }
        getPddData(window, out);
        int answer = 0;
        d->m_Pdclassifier->GetPDInfo(out, t.bins, answer);
        // Anything but a known class counts as none.
        type = (answer >= PddTypeNone && answer <= PddTypeFreeMetal) ? static_cast<PddType>(answer) : PddTypeNone;
        return true;
    }
    getPddData(window, out);
    type = PddTypeNone;
    QMutexLocker lock(&d->m_bufferLock);
    d->consume(t.period);
    return true;
}

void KOVPddPulseCapture::releaseCache()
{
    QMutexLocker lock(&d->m_bufferLock);
    d->m_bufferIndex = 0;
    d->m_start = 0;
}

bool KOVPddPulseCapture::checkPeak(float peak, float noiseFloor)
{
    if (peak < 0.000001 && noiseFloor < 0.000001)
        return false;
    const double l = level(peak);
    const double diff = l - level(noiseFloor);
    double margin = 7.5;
    if (l < 42)
        margin = 15;
    else if (l < 45)
        margin = 13.5;
    else if (l < 48)
        margin = 12;
    else if (l < 51)
        margin = 10.5;
    else if (l < 54)
        margin = 9;
    return diff > margin;
}

void KOVPddPulseCapture::getPddData(const float* in, float* out)
{
    const int bins = traits(d->m_pddMode).bins;
    for (int k = 0; k < bins; ++k)
        out[k] = KOVBlas::sumSqr(in + kBinSamples * k, kBinSamples) * 32767.0f * 32767.0f;
}

int KOVPddPulseCapture::peakOffset(const float* in, float a, float b)
{
    const int period = traits(d->m_pddMode).period;
    const float t = (a + b) * 0.5f;
    for (int i = 0; i < period; ++i)
        if (in[i] > t)
            return i;
    return -1;
}

int KOVPddPulseCapture::bufferedCount() const
{
    QMutexLocker lock(&d->m_bufferLock);
    return d->m_bufferIndex;
}

bool KOVPddPulseCapture::lastPeriodHadPulse() const
{
    return d->m_lastPulse;
}
