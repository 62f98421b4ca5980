// Vector statistics and biquads: the high-pass design the pulse capture
// depends on, block continuity, and 16-bit conversion at the rails.
#include "kovblas.h"
#include "kovfilter.h"
#include "koviirdesigner.h"
#include "kovmediafixtures.h"

#include <QtTest>
#include <complex>
#include <random>

namespace {

// |H(e^jw)| of one section, in dB.
double responseDb(const IIRCoef_t& c, double freq, double fs = 96000.0)
{
    const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * freq / fs);
    const std::complex<double> z2 = z1 * z1;
    const std::complex<double> h = (double(c.b0) + double(c.b1) * z1 + double(c.b2) * z2)
                                   / (1.0 + double(c.a1) * z1 + double(c.a2) * z2);
    return 20.0 * std::log10(std::abs(h));
}

std::vector<float> noise(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<float> v(n);
    for (float& x : v)
        x = static_cast<float>(static_cast<int>(rng() % 20001) - 10000) / 10000.0f;
    return v;
}

IIRCoef_t captureHighPass()
{
    return KOVIIRDesigner::createHighPass(25000.0f, 0.707f, 1.0f, 96000.0f);
}

} // namespace

class TestFilters : public QObject
{
    Q_OBJECT

private slots:
    void statistics_data()
    {
        QTest::addColumn<QVector<float>>("a");
        QTest::addColumn<float>("max");
        QTest::addColumn<int>("maxAt");
        QTest::addColumn<float>("min");
        QTest::addColumn<int>("minAt");
        QTest::newRow("one element") << QVector<float>{-2.5f} << -2.5f << 0 << -2.5f << 0;
        QTest::newRow("first of equal maxima") << QVector<float>{1, 3, 3, 2} << 3.0f << 1 << 1.0f << 0;
        QTest::newRow("first of equal minima") << QVector<float>{4, 2, 5, 2} << 5.0f << 2 << 2.0f << 1;
        QTest::newRow("all negative") << QVector<float>{-4, -1, -9} << -1.0f << 1 << -9.0f << 2;
    }
    void statistics()
    {
        QFETCH(QVector<float>, a);
        QFETCH(float, max);
        QFETCH(int, maxAt);
        QFETCH(float, min);
        QFETCH(int, minAt);
        int at = -1;
        QCOMPARE(KOVBlas::findMax(a.constData(), a.size()), max);
        QCOMPARE(KOVBlas::findMax(a.constData(), a.size(), at), max);
        QCOMPARE(at, maxAt);
        QCOMPARE(KOVBlas::findMin(a.constData(), a.size()), min);
        QCOMPARE(KOVBlas::findMin(a.constData(), a.size(), at), min);
        QCOMPARE(at, minAt);
    }

    void sumsAndDecibels()
    {
        const float a[] = {3.0f, 4.0f};
        QCOMPARE(KOVBlas::sumSqr(a, 2), 25.0f);
        QCOMPARE(KOVBlas::sumSqr(a, 0), 0.0f);
        QCOMPARE(KOVBlas::Rms(a, 2), std::sqrt(12.5f));
        QCOMPARE(KOVBlas::Rms(a, 0), 0.0f); // no division by zero
        QCOMPARE(KOVBlas::getDecible(0.0f), -120.0f);
        QCOMPARE(KOVBlas::getDecible(0.0000009f), -120.0f);
        QCOMPARE(KOVBlas::getDecible(-1.0f), 0.0f);
        QCOMPARE(KOVBlas::getDecible(10.0f), 20.0f);
        QVERIFY(qAbs(KOVBlas::getDecible(-0.5f) + 6.0206f) < 1e-4f);
    }

    void captureHighPassCoefficients()
    {
        const IIRCoef_t c = captureHighPass();
        const float w = static_cast<float>(2.0 * M_PI * 25000.0 / 96000.0);
        const float cw = std::cos(w), alpha = std::sin(w) / 1.414f;
        const float b0 = (1 + cw) / 2 / (1 + alpha);
        QCOMPARE(c.a0, 1.0f);
        QVERIFY(qAbs(c.b0 - b0) < 1e-6f);
        QCOMPARE(c.b2, c.b0);
        QCOMPARE(c.b1, -2.0f * c.b0);
        QVERIFY(qAbs(c.a1 - (-2 * cw / (1 + alpha))) < 1e-6f);
        QVERIFY(qAbs(c.a2 - (1 - alpha) / (1 + alpha)) < 1e-6f);
    }

    void captureHighPassResponse_data()
    {
        QTest::addColumn<double>("freq");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        // Two identical sections: -3 dB each at the corner.
        QTest::newRow("corner 25 kHz") << 25000.0 << -6.1 << -5.9;
        QTest::newRow("burst band 38 kHz") << 38000.0 << -1.0 << 1.5;
        QTest::newRow("audible 5 kHz") << 5000.0 << -200.0 << -40.0;
        QTest::newRow("mains hum 50 Hz") << 50.0 << -400.0 << -100.0;
    }
    void captureHighPassResponse()
    {
        QFETCH(double, freq);
        QFETCH(double, low);
        QFETCH(double, high);
        const double analytic = 2.0 * responseDb(captureHighPass(), freq);
        QVERIFY2(analytic > low && analytic < high, qPrintable(QString::number(analytic)));
        if (freq < 1000.0)
            return;
        // The same through the filters themselves: steady-state RMS ratio.
        KOVFilter f1(captureHighPass()), f2(captureHighPass());
        std::vector<float> x = KOVMediaFixture::sine(96000, freq, 0.5);
        const std::vector<float> in = x;
        f1.filter(x.data(), x.data(), 96000);
        f2.filter(x.data(), x.data(), 96000);
        const double measured = 20.0 * std::log10(KOVBlas::Rms(x.data() + 48000, 48000) / KOVBlas::Rms(in.data() + 48000, 48000));
        QVERIFY2(qAbs(measured - analytic) < 0.1, qPrintable(QStringLiteral("%1 vs %2").arg(measured).arg(analytic)));
    }

    void otherDesigns_data()
    {
        QTest::addColumn<int>("design");
        QTest::addColumn<double>("freq");
        QTest::addColumn<double>("expectDb");
        QTest::newRow("low-pass passes DC") << 0 << 0.0 << 0.0;
        QTest::newRow("low-pass corner") << 0 << 10000.0 << -3.01;
        QTest::newRow("low shelf +6 dB at DC") << 1 << 0.0 << 6.0;
        QTest::newRow("high shelf +6 dB at Nyquist") << 2 << 48000.0 << 6.0;
        QTest::newRow("peak +6 dB at centre") << 3 << 10000.0 << 6.0;
    }
    void otherDesigns()
    {
        QFETCH(int, design);
        QFETCH(double, freq);
        QFETCH(double, expectDb);
        const float fs = 96000.0f;
        IIRCoef_t c;
        switch (design) {
        case 0: c = KOVIIRDesigner::createLowPass(10000.0f, 0.7071f, 0.0f, fs); break;
        case 1: c = KOVIIRDesigner::createLowShift(10000.0f, 0.7071f, 6.0f, fs); break;
        case 2: c = KOVIIRDesigner::createHighShift(10000.0f, 0.7071f, 6.0f, fs); break;
        default: c = KOVIIRDesigner::createPeak(10000.0f, 2.0f, 6.0f, fs); break;
        }
        QCOMPARE(c.a0, 1.0f);
        const double got = responseDb(c, freq);
        QVERIFY2(qAbs(got - expectDb) < 0.02, qPrintable(QString::number(got)));
    }

    void constantInputDecays()
    {
        KOVFilter f(captureHighPass());
        std::vector<float> x(4000, 1.0f);
        f.filter(x.data(), x.data(), 4000);
        QVERIFY(qAbs(x.back()) < 1e-6f);
    }

    void splitBlocksEqualOneBlock_data()
    {
        QTest::addColumn<int>("split");
        QTest::newRow("after one sample") << 1;
        QTest::newRow("in the middle") << 500;
        QTest::newRow("before the last") << 999;
        QTest::newRow("empty first block") << 0;
    }
    void splitBlocksEqualOneBlock()
    {
        QFETCH(int, split);
        const std::vector<float> in = noise(1000, 7);
        std::vector<float> whole(1000), parts(1000);
        KOVFilter a(captureHighPass()), b(captureHighPass());
        a.filter(in.data(), whole.data(), 1000);
        b.filter(in.data(), parts.data(), split);
        b.filter(in.data() + split, parts.data() + split, 1000 - split);
        QVERIFY(whole == parts);
        // In place gives the same as out of place.
        KOVFilter c(captureHighPass());
        std::vector<float> inPlace = in;
        c.filter(inPlace.data(), inPlace.data(), 1000);
        QVERIFY(inPlace == whole);
    }

    void resetBehavesAsNew()
    {
        const std::vector<float> in = noise(300, 3);
        std::vector<float> first(300), again(300);
        KOVFilter f(captureHighPass());
        f.filter(in.data(), first.data(), 300);
        f.reset();
        f.filter(in.data(), again.data(), 300);
        QVERIFY(first == again);
    }

    void writesExactlyN()
    {
        // Canaries on both sides of the output; nothing for n below 1.
        const std::vector<float> in = noise(64, 1);
        std::vector<float> out(66, 123.0f);
        KOVFilter f(captureHighPass());
        f.filter(in.data(), out.data() + 1, 0);
        f.filter(in.data(), out.data() + 1, -5);
        QVERIFY(std::all_of(out.begin(), out.end(), [](float v) { return v == 123.0f; }));
        f.filter(in.data(), out.data() + 1, 64);
        QCOMPARE(out.front(), 123.0f);
        QCOMPARE(out.back(), 123.0f);
    }

    void sixteenBitOutputs_data()
    {
        QTest::addColumn<float>("gain");
        QTest::addColumn<float>("in");
        QTest::addColumn<short>("out");
        QTest::newRow("1.5 steps truncate to 1") << 1.0f << 1.5f / 32767.0f << short(1);
        QTest::newRow("-1.5 steps truncate to -1") << 1.0f << -1.5f / 32767.0f << short(-1);
        QTest::newRow("full scale") << 1.0f << 1.0f << short(32767);
        QTest::newRow("beyond saturates high") << 1.0f << 2.0f << short(32767);
        QTest::newRow("beyond saturates low") << 1.0f << -2.0f << short(-32768);
        QTest::newRow("gain 3 saturates") << 3.0f << 0.5f << short(32767);
        QTest::newRow("not a number gives 0") << 1.0f << std::numeric_limits<float>::quiet_NaN() << short(0);
    }
    void sixteenBitOutputs()
    {
        QFETCH(float, gain);
        QFETCH(float, in);
        QFETCH(short, out);
        KOVFilter f(IIRCoef_t{gain, 0, 0, 1, 0, 0});
        short s = 0;
        f.filter(&in, &s, 1);
        QCOMPARE(s, out);
        // Through 16-bit input as well: 20000 x 3 is beyond the range.
        if (gain == 3.0f) {
            const short loud[2] = {20000, -20000};
            short res[2];
            KOVFilter g(IIRCoef_t{gain, 0, 0, 1, 0, 0});
            g.filter(loud, res, 2);
            QCOMPARE(res[0], short(32767));
            QCOMPARE(res[1], short(-32768));
        }
    }

private:
};

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
