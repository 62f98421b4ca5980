// Vector statistics and biquads: the designs and the capture's high-pass on
// one generated recording held to a stored golden output, block continuity,
// and 16-bit conversion at the rails.
#include "goldenrecording.h"
#include "kovtable.h"
#include "kovblas.h"
#include "kovfilter.h"
#include "kovgolden.h"
#include "koviirdesigner.h"

#include <QtTest>
#include <random>

namespace {

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
        KOVTable::columns<QVector<float>, float, int, float, int>({"a", "max", "maxAt", "min", "minAt"});
        QTest::newRow("one element") << QVector<float>{-2.5f} << -2.5f << 0 << -2.5f << 0;
        QTest::newRow("first of equal maxima") << QVector<float>{1, 3, 3, 2} << 3.0f << 1 << 1.0f << 0;
        QTest::newRow("first of equal minima") << QVector<float>{4, 2, 5, 2} << 5.0f << 2 << 2.0f << 1;
        QTest::newRow("largest last") << QVector<float>{1, 2, 5} << 5.0f << 2 << 1.0f << 0;
        QTest::newRow("all negative") << QVector<float>{-4, -1, -9} << -1.0f << 1 << -9.0f << 2;
    }
    void statistics()
    {
        QFETCH(QVector<float>, a);
        int at = -1;
        QTEST(KOVBlas::findMax(a.constData(), a.size()), "max");
        QTEST(KOVBlas::findMax(a.constData(), a.size(), at), "max");
        QTEST(at, "maxAt");
        QTEST(KOVBlas::findMin(a.constData(), a.size()), "min");
        QTEST(KOVBlas::findMin(a.constData(), a.size(), at), "min");
        QTEST(at, "minAt");
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

    // Each design's coefficients, and the capture's two high-pass sections
    // over the recording: every 97th sample of the first tenth of a second
    // and the RMS of every mains period.
    void goldenOutputs()
    {
        const float fs = 96000.0f;
        const QList<QPair<const char*, IIRCoef_t>> designs{
            {"capture-high-pass", captureHighPass()},
            {"low-pass", KOVIIRDesigner::createLowPass(10000.0f, 0.7071f, 0.0f, fs)},
            {"low-shelf", KOVIIRDesigner::createLowShift(10000.0f, 0.7071f, 6.0f, fs)},
            {"high-shelf", KOVIIRDesigner::createHighShift(10000.0f, 0.7071f, 6.0f, fs)},
            {"peak", KOVIIRDesigner::createPeak(10000.0f, 2.0f, 6.0f, fs)}};
        QStringList lines;
        for (const auto& d : designs) {
            const IIRCoef_t& c = d.second;
            QString l = QLatin1String(d.first);
            for (float v : {c.b0, c.b1, c.b2, c.a0, c.a1, c.a2})
                l += QLatin1Char(' ') + KOVGolden::number(v);
            lines << l;
        }
        std::vector<float> x = KOVGoldenRecording::samples();
        QCOMPARE(x.size(), size_t(4 * 96000));
        KOVFilter f1(captureHighPass()), f2(captureHighPass());
        f1.filter(x.data(), x.data(), static_cast<int>(x.size()));
        f2.filter(x.data(), x.data(), static_cast<int>(x.size()));
        for (size_t i = 0; i < 9600; i += 97)
            lines << QStringLiteral("sample %1 %2").arg(i).arg(KOVGolden::number(x[i]));
        for (size_t at = 0; at + 1920 <= x.size(); at += 1920)
            lines << QStringLiteral("period-rms %1 %2").arg(at).arg(KOVGolden::number(KOVBlas::Rms(x.data() + at, 1920)));
        KOV_GOLDEN(QStringLiteral("kovfilters/golden/filters.txt"), lines);
    }

    void splitBlocksEqualOneBlock_data()
    {
        QTest::addColumn<int>("split");
        QTest::newRow("after one sample") << 1;
        QTest::newRow("in the middle") << 500;
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
        // In place, after a reset, gives the same as a new filter.
        std::vector<float> inPlace = in;
        b.reset();
        b.filter(inPlace.data(), inPlace.data(), 1000);
        QVERIFY(inPlace == whole);
    }

    void sixteenBitOutputs_data()
    {
        KOVTable::columns<float, float, short>({"gain", "in", "out"});
        QTest::newRow("1.5 steps truncate to 1") << 1.0f << 1.5f / 32767.0f << short(1);
        QTest::newRow("-1.5 steps truncate to -1") << 1.0f << -1.5f / 32767.0f << short(-1);
        QTest::newRow("full scale") << 1.0f << 1.0f << short(32767);
        QTest::newRow("beyond saturates low") << 1.0f << -2.0f << short(-32768);
        QTest::newRow("gain 3 saturates") << 3.0f << 0.5f << short(32767);
        QTest::newRow("not a number gives 0") << 1.0f << std::numeric_limits<float>::quiet_NaN() << short(0);
    }
    void sixteenBitOutputs()
    {
        QFETCH(float, gain);
        QFETCH(float, in);
        KOVFilter f(IIRCoef_t{gain, 0, 0, 1, 0, 0});
        short s = 0;
        f.filter(&in, &s, 1);
        QTEST(s, "out");
        // Through 16-bit input as well: 20000 x 3 is beyond the range.
        if (gain == 3.0f) {
            const short loud[2] = {20000, -20000};
            short res[2];
            KOVFilter(IIRCoef_t{gain, 0, 0, 1, 0, 0}).filter(loud, res, 2);
            QCOMPARE(QPoint(res[0], res[1]), QPoint(32767, -32768));
        }
    }
};

QTEST_GUILESS_MAIN(TestFilters)
#include "tst_filters.moc"
