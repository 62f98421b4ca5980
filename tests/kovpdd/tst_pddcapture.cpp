// Partial-discharge pulse capture: the pulse test, period boundaries, window
// alignment, and a plain shifting-buffer model the capture must match exactly.
#include "kov_pdalg.h"
#include "kov_pdclassifier.h"
#include "kovblas.h"
#include "kovfilter.h"
#include "koviirdesigner.h"
#include "kovmediafixtures.h"
#include "kovpddpulsecapture.h"

#include <QDir>
#include <QtTest>
#include <cstring>
#include <random>

namespace {

using Capture = KOVPddPulseCapture;

IIRCoef_t highPass()
{
    return KOVIIRDesigner::createHighPass(25000.0f, 0.707f, 1.0f, 96000.0f);
}

// The capture as its description reads: a buffer that shifts its samples to
// the front after every period.
class Model
{
public:
    explicit Model(bool is60)
        : m_f1(highPass())
        , m_f2(highPass())
        , m_60(is60)
    {
    }
    void feed(const float* x, int n)
    {
        if (!x || n <= 0 || n > 96000)
            return;
        std::vector<float> s(x, x + n);
        m_f1.filter(s.data(), s.data(), n);
        m_f2.filter(s.data(), s.data(), n);
        if (m_buf.size() + static_cast<size_t>(n) > 960000)
            m_buf.erase(m_buf.begin(), m_buf.begin() + n);
        m_buf.insert(m_buf.end(), s.begin(), s.end());
    }
    void release() { m_buf.clear(); }
    // Uses the capture only for its pulse test and bins, tested on their own.
    bool get(Capture& helper, KOV_PDClassifier& cls, float* out, int& type, bool& pulse)
    {
        const int P = m_60 ? 1600 : 1920;
        if (static_cast<int>(m_buf.size()) <= (m_60 ? 4223 : 4863))
            return false;
        std::vector<float> w(m_buf.begin() + 1024, m_buf.begin() + 1024 + P);
        const float* s = m_60 ? w.data() : m_buf.data();
        const int sn = m_60 ? P : 4864;
        float nf = KOVBlas::Rms(s, sn);
        if (m_nf > nf)
            nf = (nf + m_nf) * 0.5f;
        m_nf = nf;
        const float peak = KOVBlas::findMax(s, sn);
        int i = -1;
        if (helper.checkPeak(peak, nf)) {
            const float t = (nf + peak) * 0.5f;
            for (int k = 0; k < P && i < 0; ++k)
                if (w[static_cast<size_t>(k)] > t)
                    i = k;
        }
        pulse = i >= 0;
        if (pulse) {
            w.assign(m_buf.begin() + i + 624, m_buf.begin() + i + 624 + P);
            m_buf.erase(m_buf.begin(), m_buf.begin() + i + 624 + P - 1024);
            helper.getPddData(w.data(), out);
            cls.GetPDInfo(out, m_60 ? 200 : 240, type);
        } else {
            helper.getPddData(w.data(), out);
            type = 0;
            m_buf.erase(m_buf.begin(), m_buf.begin() + P);
        }
        return true;
    }
    int size() const { return static_cast<int>(m_buf.size()); }
    float noiseFloor() const { return m_nf; }

private:
    KOVFilter m_f1, m_f2;
    bool m_60;
    std::vector<float> m_buf;
    float m_nf = 0.0f;
};

// A bank of hand-made patterns, so that pulse periods get real answers.
void writeBank()
{
    QVERIFY(QDir().mkpath(QStringLiteral("cfg/Data")));
    QFile f(QStringLiteral("cfg/Data/bank.txt"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QTextStream s(&f);
    s << "4 9\n";
    std::mt19937 rng(5);
    for (int r = 0; r < 40; ++r) {
        std::vector<float> bins(240, 0.0f);
        for (float& b : bins)
            b = static_cast<float>(rng() % 1000);
        for (int k = 0; k < (r % 4) * 5 + 1; ++k)
            bins[rng() % 240] += static_cast<float>(1e6 * (1 + r % 4));
        float row[KOV_ROW_LEN];
        KOV_FeatureExtraction(bins.data(), 240, row);
        s << (r % 4);
        for (int c = 1; c < KOV_ROW_LEN; ++c)
            s << ' ' << row[c];
        s << '\n';
    }
}

std::vector<float> bursts(size_t n, int every, int at, double amp, double noise, unsigned seed)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> g(0.0, noise);
    std::vector<float> x(n);
    for (size_t i = 0; i < n; ++i) {
        x[i] = static_cast<float>(g(rng));
        const long into = every > 0 ? static_cast<long>(i % static_cast<size_t>(every)) - at : -1;
        if (into >= 0 && into < 40)
            x[i] += static_cast<float>(amp * std::exp(-into / 8.0) * std::sin(2 * M_PI * 38000.0 * into / 96000.0));
    }
    return x;
}

} // namespace

class TestPddCapture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { writeBank(); }

    void pulseTest_data()
    {
        QTest::addColumn<float>("peak");
        QTest::addColumn<float>("floor");
        QTest::addColumn<bool>("pulse");
        auto at = [](double level) { return static_cast<float>(std::pow(10.0, (level - 120.0) / 20.0)); };
        QTest::newRow("level 80 over 66") << 0.01f << 0.002f << true;
        QTest::newRow("level 40 over 26") << 0.0001f << 0.00002f << false;
        QTest::newRow("peak below 1e-6") << 0.0000005f << 0.001f << false;
        QTest::newRow("floor below 1e-6") << 0.00001f << 0.0000005f << true;
        QTest::newRow("both zero") << 0.0f << 0.0f << false;
        QTest::newRow("below 42: 15.1 dB") << at(40) << at(40 - 15.1) << true;
        QTest::newRow("below 42: 14.9 dB") << at(40) << at(40 - 14.9) << false;
        QTest::newRow("42-45: 13.6 dB") << at(43) << at(43 - 13.6) << true;
        QTest::newRow("42-45: 13.4 dB") << at(43) << at(43 - 13.4) << false;
        QTest::newRow("45-48: 12.1 dB") << at(46) << at(46 - 12.1) << true;
        QTest::newRow("45-48: 11.9 dB") << at(46) << at(46 - 11.9) << false;
        QTest::newRow("48-51: 10.6 dB") << at(49) << at(49 - 10.6) << true;
        QTest::newRow("48-51: 10.4 dB") << at(49) << at(49 - 10.4) << false;
        QTest::newRow("51-54: 9.1 dB") << at(52) << at(52 - 9.1) << true;
        QTest::newRow("51-54: 8.9 dB") << at(52) << at(52 - 8.9) << false;
        QTest::newRow("54 up: 7.6 dB") << at(60) << at(60 - 7.6) << true;
        QTest::newRow("54 up: 7.4 dB") << at(60) << at(60 - 7.4) << false;
    }
    void pulseTest()
    {
        QFETCH(float, peak);
        QFETCH(float, floor);
        QFETCH(bool, pulse);
        Capture c(Capture::Pdd50Hz);
        QCOMPARE(c.checkPeak(peak, floor), pulse);
    }

    void periodNeedsEnoughSamples_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("fed");
        QTest::addColumn<bool>("period");
        QTest::newRow("50 Hz: 4863") << 0 << 4863 << false;
        QTest::newRow("50 Hz: 4864") << 0 << 4864 << true;
        QTest::newRow("60 Hz: 4223") << 1 << 4223 << false;
        QTest::newRow("60 Hz: 4224") << 1 << 4224 << true;
    }
    void periodNeedsEnoughSamples()
    {
        QFETCH(int, mode);
        QFETCH(int, fed);
        QFETCH(bool, period);
        Capture c(static_cast<Capture::PddMode>(mode));
        const std::vector<float> zeros(static_cast<size_t>(fed), 0.0f);
        c.FeedAudio(zeros.data(), fed);
        // Canaries around the 240 values the caller provides.
        std::vector<float> out(242, -7.0f);
        Capture::PddType type = Capture::PddTypeCorona;
        QCOMPARE(c.getPdd(out.data() + 1, type), period);
        const int bins = mode ? 200 : 240;
        QCOMPARE(out.front(), -7.0f);
        QCOMPARE(out.back(), -7.0f);
        if (!period) {
            QVERIFY(std::all_of(out.begin(), out.end(), [](float v) { return v == -7.0f; }));
            QCOMPARE(type, Capture::PddTypeCorona);
            return;
        }
        QVERIFY(std::all_of(out.begin() + 1, out.begin() + 1 + bins, [](float v) { return v == 0.0f; }));
        QVERIFY(std::all_of(out.begin() + 1 + bins, out.end(), [](float v) { return v == -7.0f; }));
        QCOMPARE(type, Capture::PddTypeNone);
        QCOMPARE(c.bufferedCount(), fed - (mode ? 1600 : 1920));
    }

    void silenceGivesNoPulse()
    {
        Capture c(Capture::Pdd50Hz);
        const std::vector<float> zeros(96000, 0.0f);
        c.FeedAudio(zeros.data(), 96000);
        float out[240];
        Capture::PddType type;
        int periods = 0;
        while (c.getPdd(out, type)) {
            ++periods;
            QVERIFY(!c.lastPeriodHadPulse());
            QCOMPARE(type, Capture::PddTypeNone);
        }
        QCOMPARE(periods, 48); // (96000 - 4864) / 1920 + 1
    }

    void periodicBurstsOnePulsePerPeriod()
    {
        // One burst per mains period: after the first, every window starts
        // 400 samples (50 bins) before it.
        const std::vector<float> x = bursts(96000 * 2, 1920, 700, 0.3, 0.0005, 1);
        Capture c(Capture::Pdd50Hz);
        float out[240];
        Capture::PddType type;
        int periods = 0, pulses = 0;
        for (size_t at = 0; at < x.size(); at += 3840) {
            c.FeedAudio(x.data() + at, 3840);
            while (c.getPdd(out, type)) {
                ++periods;
                if (!c.lastPeriodHadPulse())
                    continue;
                ++pulses;
                int bin;
                KOVBlas::findMax(out, 240, bin);
                QVERIFY2(bin == 50 || bin == 51, qPrintable(QString::number(bin)));
            }
        }
        QCOMPARE(pulses, periods);
        QVERIFY(periods >= 95 && periods <= 98); // two seconds of 50 Hz, less what stays buffered
    }

    void pulseAtWindowStart()
    {
        // The filtered impulse peaks two samples after it: an impulse at 1022
        // puts the peak on W[0], the window at 624 and uses 1520 samples.
        std::vector<float> x(6000, 0.0f);
        x[1022] = 1.0f;
        Capture c(Capture::Pdd50Hz);
        c.FeedAudio(x.data(), 6000);
        float out[240];
        Capture::PddType type;
        QVERIFY(c.getPdd(out, type));
        QVERIFY(c.lastPeriodHadPulse());
        QCOMPARE(c.bufferedCount(), 6000 - 1520);
        int bin;
        KOVBlas::findMax(out, 240, bin);
        QCOMPARE(bin, 50); // (1024 - 624) / 8
    }

    void blockSizes_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("kept");
        QTest::newRow("96000 taken") << 96000 << 96000;
        QTest::newRow("96001 ignored") << 96001 << 0;
        QTest::newRow("zero ignored") << 0 << 0;
        QTest::newRow("negative ignored") << -1920 << 0;
    }
    void blockSizes()
    {
        QFETCH(int, n);
        QFETCH(int, kept);
        std::vector<float> x(96001, 0.1f);
        Capture c(Capture::Pdd50Hz);
        c.FeedAudio(x.data(), n);
        QCOMPARE(c.bufferedCount(), kept);
        c.FeedAudio(nullptr, 100);
        QCOMPARE(c.bufferedCount(), kept);
    }

    void fullBufferDropsOldest()
    {
        Capture c(Capture::Pdd50Hz);
        const std::vector<float> x(96000, 0.0f);
        for (int i = 0; i < 10; ++i)
            c.FeedAudio(x.data(), 96000);
        QCOMPARE(c.bufferedCount(), 960000);
        c.FeedAudio(x.data(), 1000);
        QCOMPARE(c.bufferedCount(), 960000);
    }

    void releaseCacheWaitsForNewSamples()
    {
        Capture c(Capture::Pdd50Hz);
        const std::vector<float> x(10000, 0.0f);
        c.FeedAudio(x.data(), 10000);
        c.releaseCache();
        float out[240];
        Capture::PddType type;
        QVERIFY(!c.getPdd(out, type));
        c.FeedAudio(x.data(), 4864);
        QVERIFY(c.getPdd(out, type));
    }

    // The buffer that moves a start index instead of its samples, and
    // filters them only when a period needs them, must give what the plain
    // shifting buffer that filters on arrival gives, in every output and every
    // count, over random block sizes, jumps and a full buffer. Pulling one
    // period per block leaves unfiltered samples waiting through jumps and
    // through the dropping of the oldest samples.
    void matchesShiftingBuffer_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("pullsPerBlock"); // 0: until none is left
        QTest::newRow("50 Hz") << 0 << 11u << 0;
        QTest::newRow("50 Hz, other seed") << 0 << 12u << 0;
        QTest::newRow("60 Hz") << 1 << 13u << 0;
        QTest::newRow("50 Hz, one period per block") << 0 << 14u << 1;
        QTest::newRow("60 Hz, two periods per block") << 1 << 15u << 2;
    }
    void matchesShiftingBuffer()
    {
        QFETCH(int, mode);
        QFETCH(unsigned, seed);
        QFETCH(int, pullsPerBlock);
        std::mt19937 rng(seed);
        Capture c(static_cast<Capture::PddMode>(mode));
        Model m(mode == 1);
        KOV_PDClassifier cls;
        QVERIFY(cls.isUsable());
        const std::vector<float> loud = bursts(400000, 1920, 300, 0.2, 0.001, seed);
        const std::vector<float> quiet = bursts(400000, 0, 0, 0.0, 0.0001, seed + 1);
        float a[240], b[240];
        int periods = 0, pulses = 0;
        for (int step = 0; step < 300; ++step) {
            const unsigned r = rng() % 100;
            int n = static_cast<int>(rng() % 6000);
            if (r < 3)
                n = 96000;
            else if (r < 4)
                n = 96001;
            else if (r < 5)
                n = -5;
            const std::vector<float>& src = (step / 50) % 2 ? quiet : loud;
            const float* p = src.data() + rng() % 300000;
            if (r >= 98) {
                c.releaseCache();
                m.release();
            } else if (r >= 96) {
                // Fill to the limit without pulling.
                for (int k = 0; k < 11; ++k) {
                    c.FeedAudio(p, 90000);
                    m.feed(p, 90000);
                }
            } else {
                c.FeedAudio(p, n);
                m.feed(p, n);
            }
            for (int pull = 0; pullsPerBlock == 0 || pull < pullsPerBlock; ++pull) {
                Capture::PddType ta = Capture::PddTypeNone;
                int tb = 0;
                bool pulse = false;
                const bool ga = c.getPdd(a, ta);
                const bool gb = m.get(c, cls, b, tb, pulse);
                QCOMPARE(ga, gb);
                if (!ga)
                    break;
                ++periods;
                pulses += pulse;
                QCOMPARE(c.lastPeriodHadPulse(), pulse);
                // Bit for bit: the statistics decide every later pulse.
                const float nfa = c.lastNoiseFloor(), nfb = m.noiseFloor();
                QVERIFY(std::memcmp(&nfa, &nfb, sizeof nfa) == 0);
                QCOMPARE(int(ta), tb);
                QVERIFY(std::memcmp(a, b, sizeof(float) * (mode ? 200 : 240)) == 0);
                QCOMPARE(c.bufferedCount(), m.size());
            }
            QCOMPARE(c.bufferedCount(), m.size());
        }
        QVERIFY(periods > (pullsPerBlock ? 200 : 500));
        QVERIFY(pulses > 50);
    }
};

QTEST_GUILESS_MAIN(TestPddCapture)
#include "tst_pddcapture.moc"
