#include "kovpddpulsecapture.h"

#include "kov_pdclassifier.h"
#include "kovfilter.h"
#include "koviirdesigner.h"

#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
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

// Statistics steps per filter step in the fused loop. A filter step waits on
// four operations of the one before, a sum step on one addition: three sums
// leave the filter chain some slack and still cover the 4864 statistics
// samples within the 1920 filter steps of a period (measured: 4 was slower).
const int kSumStride = 3;

// One step of both high-pass sections (they share one design): the
// arithmetic of KOVFilter::filter.
inline float cascadeStep(const IIRCoef_t& c, float& p1, float& p2, float& q1, float& q2, float x)
{
    const float y = c.b0 * x + p1;
    p1 = c.b1 * x - c.a1 * y + p2;
    p2 = c.b2 * x - c.a2 * y;
    const float z = c.b0 * y + q1;
    q1 = c.b1 * y - c.a1 * z + q2;
    q2 = c.b2 * y - c.a2 * z;
    return z;
}

// Filtering in place from f to upTo while summing the squares and taking the
// largest of the statistics samples j to end, in index order. Kept out of
// line with every chain value in a local: inlined into a larger function,
// the compiler ran short of registers and kept the filter state and the sums
// in memory, which put a store and a load into every step of their chains.
struct StatsRun
{
    float* a;
    int f, upTo, j, end;
    float p1, p2, q1, q2; // the two sections' state
    float sum, best;
};

__attribute__((noinline)) void filterAndSum(StatsRun& r, const IIRCoef_t c)
{
    float* const a = r.a;
    int f = r.f, j = r.j;
    const int upTo = r.upTo, end = r.end;
    float p1 = r.p1, p2 = r.p2, q1 = r.q1, q2 = r.q2;
    float s = r.sum, best = r.best;
    for (; f < upTo; ++f) {
        a[f] = cascadeStep(c, p1, p2, q1, q2, a[f]);
        // A statistics sample is summed only once it has been filtered.
        if (j + kSumStride <= f + 1 && j + kSumStride <= end) {
            for (int k = j; k < j + kSumStride; ++k) {
                s += a[k] * a[k];
                if (a[k] > best)
                    best = a[k];
            }
            j += kSumStride;
        }
    }
    for (; j < end; ++j) {
        s += a[j] * a[j];
        if (a[j] > best)
            best = a[j];
    }
    r.f = f;
    r.j = j;
    r.p1 = p1;
    r.p2 = p2;
    r.q1 = q1;
    r.q2 = q2;
    r.sum = s;
    r.best = best;
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
    // The first m_filtered of the buffered samples have been through the
    // high-pass; the rest are as fed. Filtering waits for the period that
    // needs the samples, so that it runs alongside that period's statistics:
    // both are chains of dependent steps, and together they take the time
    // of the longer one.
    int m_filtered = 0;
    mutable QMutex m_bufferLock;
    KOVFilter* m_highPassPart1 = nullptr;
    KOVFilter* m_highPassPart2 = nullptr;
    IIRCoef_t m_highPass{}; // the design of both sections
    float m_NoiseFloorLast = 0.0f;
    bool m_lastPulse = false;

    float* at(int i) { return m_buffer.data() + m_start + i; }
    void consume(int n)
    {
        m_start += n;
        m_bufferIndex -= n;
        m_filtered = std::max(0, m_filtered - n);
    }
    void filterTo(int end)
    {
        if (end > m_filtered)
            KOVFilter::cascade(*m_highPassPart1, *m_highPassPart2, at(m_filtered), end - m_filtered);
        m_filtered = std::max(m_filtered, end);
    }
    void filterWithStats(const ModeTraits& t, float& rms, float& max);
};

// Filters what a period reads (and one period more when it has arrived)
// while taking the root mean square and the largest value of the statistics
// window, in the order and arithmetic of KOVBlas::Rms and KOVBlas::findMax.
void KOVPddPulseCapturePrivate::filterWithStats(const ModeTraits& t, float& rms, float& max)
{
    StatsRun r{};
    r.a = at(0);
    r.f = m_filtered;
    r.upTo = std::min(m_bufferIndex, t.threshold + 1 + t.period);
    r.j = t.statAt;
    r.end = t.statAt + t.statSpan;
    m_highPassPart1->state(r.p1, r.p2);
    m_highPassPart2->state(r.q1, r.q2);
    // The largest value starts from the first statistics sample, filtered.
    for (; r.f <= r.j; ++r.f)
        r.a[r.f] = cascadeStep(m_highPass, r.p1, r.p2, r.q1, r.q2, r.a[r.f]);
    r.best = r.a[r.j];
    filterAndSum(r, m_highPass);
    m_highPassPart1->setState(r.p1, r.p2);
    m_highPassPart2->setState(r.q1, r.q2);
    m_filtered = std::max(m_filtered, r.f);
    rms = std::sqrt(r.sum / static_cast<float>(t.statSpan));
    max = r.best;
}

KOVPddPulseCapture::KOVPddPulseCapture(PddMode mode)
    : d(new KOVPddPulseCapturePrivate)
{
    d->m_buffer.assign(kCapacity + kMaxBlock, 0.0f);
    const IIRCoef_t hp = KOVIIRDesigner::createHighPass(25000.0f, 0.707f, 1.0f, 96000.0f);
    d->m_highPass = hp;
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
    QMutexLocker lock(&d->m_bufferLock);
    if (d->m_bufferIndex + n > kCapacity) {
        // Dropped samples still pass through the filters, whose state runs on.
        d->filterTo(d->m_bufferIndex);
        d->consume(n); // the oldest n go, as many as arrive
    }
    if (d->m_start + d->m_bufferIndex + n > static_cast<int>(d->m_buffer.size())) {
        std::memmove(d->m_buffer.data(), d->at(0), static_cast<size_t>(d->m_bufferIndex) * sizeof(float));
        d->m_start = 0;
    }
    std::memcpy(d->at(d->m_bufferIndex), x, static_cast<size_t>(n) * sizeof(float));
    d->m_bufferIndex += n;
}

bool KOVPddPulseCapture::getPdd(float* out, PddType& type)
{
    const ModeTraits t = traits(d->m_pddMode);
    {
        // The windows are read in place, so the lock is held until the
        // period is consumed; only the classification runs outside it.
        QMutexLocker lock(&d->m_bufferLock);
        if (d->m_bufferIndex <= t.threshold)
            return false;
        float nf, peak;
        d->filterWithStats(t, nf, peak);
        if (d->m_NoiseFloorLast > nf)
            nf = (nf + d->m_NoiseFloorLast) * 0.5f;
        d->m_NoiseFloorLast = nf;

        int i = -1;
        if (checkPeak(peak, nf))
            i = peakOffset(d->at(kAhead), nf, peak);
        d->m_lastPulse = i >= 0;
        // An aligned window starts kLead samples before its pulse.
        const int from = i >= 0 ? i + kAhead - kLead : kAhead;
        getPddData(d->at(from), out);
        d->consume(from + t.period - kAhead);
    }
    type = PddTypeNone;
    if (d->m_lastPulse) {
        int answer = 0;
        d->m_Pdclassifier->GetPDInfo(out, t.bins, answer);
        // Anything but a known class counts as none.
        if (answer >= PddTypeNone && answer <= PddTypeFreeMetal)
            type = static_cast<PddType>(answer);
    }
    return true;
}

void KOVPddPulseCapture::releaseCache()
{
    QMutexLocker lock(&d->m_bufferLock);
    // The forgotten samples still pass through the filters, as if each had
    // been filtered when it arrived.
    d->filterTo(d->m_bufferIndex);
    d->m_bufferIndex = 0;
    d->m_start = 0;
    d->m_filtered = 0;
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
    // KOVBlas::sumSqr written out, so that the bins' sums overlap.
    for (int k = 0; k < bins; ++k) {
        const float* b = in + kBinSamples * k;
        float s = 0.0f;
        for (int i = 0; i < kBinSamples; ++i)
            s += b[i] * b[i];
        out[k] = s * 32767.0f * 32767.0f;
    }
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

float KOVPddPulseCapture::lastNoiseFloor() const
{
    return d->m_NoiseFloorLast;
}
