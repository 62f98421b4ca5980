// Partial-discharge pulse capture: the pulse test, period boundaries, window
// alignment, and every period of one generated recording fed in scripted
// blocks, held to a stored golden output.
#include "goldenrecording.h"
#include "kovblas.h"
#include "kovgolden.h"
#include "kovpddpulsecapture.h"

#include <QDir>
#include <QtTest>
#include <random>

namespace {

using Capture = KOVPddPulseCapture;

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
    void initTestCase()
    {
        // The shipped bank, so that pulse periods get real answers.
        QVERIFY(QDir().mkpath(QStringLiteral("cfg/Data")));
        QFile::remove(QStringLiteral("cfg/Data/bank.txt"));
        QVERIFY(QFile::copy(qEnvironmentVariable("KOV_BINARY_DIR") + QStringLiteral("/run/cfg/Data/bank.txt"),
                            QStringLiteral("cfg/Data/bank.txt")));
    }

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
        Capture c(Capture::Pdd50Hz);
        QTEST(c.checkPeak(peak, floor), "pulse");
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

    // Blocks of random sizes, jumps, the ignored sizes, released caches and a
    // buffer filled to its limit and kept near it: the buffer moves a start
    // index, filters late and drops its oldest samples, and every period,
    // count and noise floor must stay as stored. Stretches of the noise floor alone let the floor fall.
    void generatedRecording_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("pullsPerBlock"); // periods taken after each block, at most
        QTest::newRow("50 Hz, up to 40 periods per block") << 0 << 40;
        QTest::newRow("60 Hz, up to 40 periods per block") << 1 << 40;
        QTest::newRow("50 Hz, one period per block") << 0 << 1;
    }
    void generatedRecording()
    {
        QFETCH(int, mode);
        QFETCH(int, pullsPerBlock);
        const std::vector<float> loud = KOVGoldenRecording::samples();
        const std::vector<float> quiet = KOVGoldenRecording::samples(true);
        QCOMPARE(loud.size(), size_t(4 * 96000));
        QCOMPARE(quiet.size(), loud.size());
        std::mt19937 rng(11);
        Capture c(static_cast<Capture::PddMode>(mode));
        const int bins = mode ? 200 : 240;
        QStringList lines;
        int pulses = 0;
        for (int step = 0; step < 120; ++step) {
            const unsigned r = rng() % 100;
            int n = static_cast<int>(rng() % 6000);
            if (r < 3)
                n = 96000;
            else if (r < 4)
                n = 96001;
            else if (r < 5)
                n = -5;
            const float* p = ((step / 30) % 2 ? quiet : loud).data() + rng() % 280000;
            if (r >= 98) {
                c.releaseCache();
            } else if (r == 97) {
                for (int k = 0; k < 11; ++k)
                    c.FeedAudio(p, 90000);
            } else {
                c.FeedAudio(p, n);
            }
            float out[240];
            Capture::PddType type = Capture::PddTypeNone;
            for (int pull = 0; pull < pullsPerBlock && c.getPdd(out, type); ++pull) {
                int peak = 0;
                const float max = KOVBlas::findMax(out, bins, peak);
                double sum = 0;
                for (int k = 0; k < bins; ++k)
                    sum += out[k];
                pulses += c.lastPeriodHadPulse();
                lines << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                             .arg(step)
                             .arg(int(c.lastPeriodHadPulse()))
                             .arg(int(type))
                             .arg(c.bufferedCount())
                             .arg(KOVGolden::number(c.lastNoiseFloor()), QString::number(peak), KOVGolden::number(max),
                                  KOVGolden::number(sum));
            }
        }
        QVERIFY(lines.size() > (pullsPerBlock > 1 ? 400 : 80));
        QVERIFY(pulses > 50);
        KOV_GOLDEN(QStringLiteral("kovpdd/golden/capture_%1_%2.txt").arg(mode ? 60 : 50).arg(pullsPerBlock), lines);
    }
};

QTEST_GUILESS_MAIN(TestPddCapture)
#include "tst_pddcapture.moc"
