// Partial-discharge pulse capture: the pulse test, period boundaries, window
// alignment worked by hand, and every period of one generated recording fed in scripted
// blocks, held to a stored golden output.
#include "goldenrecording.h"
#include "kovtable.h"
#include "kovblas.h"
#include "kovgolden.h"
#include "kovpddpulsecapture.h"

#include <QDir>
#include <QtTest>
#include <random>

using Capture = KOVPddPulseCapture;

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
        KOVTable::columns<float, float, bool>({"peak", "floor", "pulse"});
        auto at = [](double level) { return static_cast<float>(std::pow(10.0, (level - 120.0) / 20.0)); };
        QTest::newRow("level 80 over 66") << 0.01f << 0.002f << true;
        QTest::newRow("level 40 over 26") << 0.0001f << 0.00002f << false;
        QTest::newRow("peak below 1e-6") << 0.0000005f << 0.001f << false;
        QTest::newRow("floor below 1e-6") << 0.00001f << 0.0000005f << true;
        QTest::newRow("both zero") << 0.0f << 0.0f << false;
        // Each level band needs its own margin over the floor: 0.1 dB either side.
        const double bands[][2] = {{40, 15}, {43, 13.5}, {46, 12}, {49, 10.5}, {52, 9}, {60, 7.5}};
        for (const auto& b : bands)
            for (double d : {0.1, -0.1})
                QTest::addRow("%g over %g dB", b[0], b[1] + d) << at(b[0]) << at(b[0] - b[1] - d) << (d > 0);
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
        KOVTable::columns<int, int, bool>({"mode", "fed", "period"});
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
        c.FeedAudio(nullptr, 100); // ignored
        // Canaries around the 240 values the caller provides.
        std::vector<float> out(242, -7.0f);
        Capture::PddType type = Capture::PddTypeCorona;
        QCOMPARE(c.getPdd(out.data() + 1, type), period);
        const int bins = mode ? 200 : 240;
        // Filled with the period's bins (all 0 here), or left alone.
        const int filled = period ? bins : 0;
        QVERIFY(std::all_of(out.begin() + 1, out.begin() + 1 + filled, [](float v) { return v == 0.0f; }));
        QVERIFY(std::all_of(out.begin() + 1 + filled, out.end(), [](float v) { return v == -7.0f; }));
        QCOMPARE(type, period ? Capture::PddTypeNone : Capture::PddTypeCorona);
        if (period)
            QCOMPARE(c.bufferedCount(), fed - (mode ? 1600 : 1920));
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
        QVERIFY(c.getPdd(out, type) && c.lastPeriodHadPulse());
        int bin;
        KOVBlas::findMax(out, 240, bin);
        QCOMPARE(QPoint(c.bufferedCount(), bin), QPoint(6000 - 1520, 50)); // bin (1024 - 624) / 8
    }

    // Blocks of random sizes, jumps, the ignored sizes (96001, negative),
    // released caches and a buffer filled to its 960000-sample limit: every
    // period, count and noise floor must stay as stored. Stretches of noise
    // alone let the floor fall.
    void generatedRecording_data()
    {
        // pullsPerBlock: periods taken after each block, at most
        KOVTable::columns<int, int>({"mode", "pullsPerBlock"});
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
        QVERIFY(loud.size() == size_t(4 * 96000) && quiet.size() == loud.size());
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
                lines << QStringLiteral("%1 %2 %3 %4 ").arg(step).arg(int(c.lastPeriodHadPulse())).arg(int(type)).arg(c.bufferedCount())
                             + QStringList{KOVGolden::number(c.lastNoiseFloor()), QString::number(peak), KOVGolden::number(max), KOVGolden::number(sum)}.join(' ');
            }
        }
        QVERIFY(lines.size() > (pullsPerBlock > 1 ? 400 : 80));
        QVERIFY(pulses > 50);
        KOV_GOLDEN(QStringLiteral("kovpdd/golden/capture_%1_%2.txt").arg(mode ? 60 : 50).arg(pullsPerBlock), lines);
    }
};

QTEST_GUILESS_MAIN(TestPddCapture)
#include "tst_pddcapture.moc"
