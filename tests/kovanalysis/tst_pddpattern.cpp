// The pattern picture of the last mains periods: the class vote, where each
// bin's dot lands, and the picture itself; the waveform envelope that keeps
// long recordings' graphs small without losing their extremes.
#include "kovpddpattern.h"
#include "kovplotreduce.h"

#include <QGuiApplication>
#include <QtTest>

#include <limits>

namespace {

PddBuffer period(float value, KOVPddPulseCapture::PddType type = KOVPddPulseCapture::PddTypeNone)
{
    PddBuffer p;
    std::fill(p.Data, p.Data + 240, value);
    p.max = value;
    p.pddType = type;
    return p;
}

bool isDot(QRgb c)
{
    return qRed(c) == 255 && qGreen(c) == 100 && qBlue(c) == 0;
}

} // namespace

class TestPddPattern : public QObject
{
    Q_OBJECT

private slots:
    void vote_data()
    {
        QTest::addColumn<int>("none");
        QTest::addColumn<int>("corona");
        QTest::addColumn<int>("surface");
        QTest::addColumn<int>("metal");
        QTest::addColumn<QString>("text");
        const QString surface = QStringLiteral("沿面放电、悬浮放电");
        const QString metal = QStringLiteral("自由金属放电");
        const QString corona = QStringLiteral("电晕，尖端放电");
        const QString nothing = QStringLiteral("未检测到放电");
        QTest::newRow("surface above none and corona") << 2 << 1 << 5 << 5 << surface;
        QTest::newRow("surface above, metal more") << 2 << 1 << 5 << 6 << metal;
        QTest::newRow("metal above none and corona") << 2 << 3 << 1 << 4 << metal;
        QTest::newRow("corona above none") << 3 << 4 << 0 << 0 << corona;
        QTest::newRow("mostly none, some surface") << 12 << 0 << 1 << 0 << surface;
        QTest::newRow("mostly none") << 12 << 0 << 0 << 0 << nothing;
        QTest::newRow("empty list") << 0 << 0 << 0 << 0 << nothing;
        QTest::newRow("mixed, surface beats corona") << 5 << 3 << 4 << 3 << surface;
        QTest::newRow("mixed, metal beats surface") << 6 << 1 << 2 << 3 << metal;
        QTest::newRow("mixed, metal beats corona") << 6 << 1 << 1 << 2 << metal;
        QTest::newRow("mixed, corona kept") << 6 << 2 << 2 << 2 << corona;
    }
    void vote()
    {
        QFETCH(int, none);
        QFETCH(int, corona);
        QFETCH(int, surface);
        QFETCH(int, metal);
        QFETCH(QString, text);
        QCOMPARE(QString::fromUtf8(KOVPddPattern::classText(none, corona, surface, metal)), text);
        // The same vote from a list of periods.
        QList<PddBuffer> list;
        const int counts[4] = { none, corona, surface, metal };
        for (int t = 0; t < 4; ++t)
            for (int i = 0; i < counts[t]; ++i)
                list.append(period(1, KOVPddPulseCapture::PddType(t)));
        QCOMPARE(QString::fromUtf8(KOVPddPattern::classText(list)), text);
    }

    void dots_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("scale");
        QTest::addColumn<int>("y");
        QTest::newRow("the maximum on the top line") << 0.5f << 0.5f << 30;
        QTest::newRow("zero on the bottom") << 0.0f << 0.5f << 215;
        QTest::newRow("half way") << 0.25f << 0.5f << 122;
        QTest::newRow("no scale: bottom line") << 0.0f << 0.0f << 215;
        QTest::newRow("NaN value: bottom line") << std::numeric_limits<float>::quiet_NaN() << 1.0f << 215;
    }
    void dots()
    {
        QFETCH(float, value);
        QFETCH(float, scale);
        QTEST(KOVPddPattern::dotY(value, scale), "y");
    }

    // The label keeps info.dat's count; the buffers hold 240 bins.
    void binsClamped_data()
    {
        QTest::addColumn<int>("pddLen");
        QTest::addColumn<int>("bins");
        QTest::newRow("more than held") << 300 << 240;
        QTest::newRow("zero") << 0 << 240;
        QTest::newRow("negative") << -7 << 240;
        QTest::newRow("one") << 1 << 1;
    }
    void binsClamped()
    {
        QFETCH(int, pddLen);
        QTEST(KOVPddPattern::usableBins(pddLen), "bins");
    }

    void pictureDrawsEveryBin()
    {
        // One period: a ramp; a second all zero under the same scale.
        PddBuffer ramp;
        for (int k = 0; k < 240; ++k)
            ramp.Data[k] = k / 239.0f;
        ramp.max = 1.0f;
        const QImage img = KOVPddPattern::picture({ ramp, period(0.0f) }, 240, QStringLiteral("x"));
        QCOMPARE(img.size(), QSize(530, 220));
        for (int k = 0; k < 240; k += 17) {
            const int x = KOVPddPattern::dotX(k, 240);
            const int y = KOVPddPattern::dotY(ramp.Data[k], 1.0f);
            QVERIFY2(isDot(img.pixel(x + 3, y + 1)), qPrintable(QString::number(k)));
            QVERIFY2(isDot(img.pixel(x + 3, 216)), qPrintable(QString::number(k)));
        }
        QVERIFY(!isDot(img.pixel(528, 100))); // nothing right of the last column
    }

    void envelopeKeepsExtremes()
    {
        QVector<float> x(96000, 0.0f);
        x[40000] = 0.9f;
        x[70001] = -0.8f;
        QVector<double> keys;
        QVector<double> values;
        KOVPlotReduce::envelope(x.constData(), x.size(), 0, x.size(), 100, keys, values);
        QVERIFY(keys.size() <= 202);
        QCOMPARE(keys.last(), 95999 / 96000.0);
        QVERIFY(values.contains(0.9f) && values.contains(double(-0.8f)) && keys.contains(40000 / 96000.0));
        QVERIFY(std::is_sorted(keys.begin(), keys.end()));
        // Few samples: every one, with a neighbour on each side.
        KOVPlotReduce::envelope(x.constData(), x.size(), 39990, 40010, 100, keys, values);
        QCOMPARE(keys.size(), 22);
        QCOMPARE(keys.first(), 39989 / 96000.0);
        // Out of range asks give nothing rather than reading outside.
        KOVPlotReduce::envelope(x.constData(), x.size(), 96000, 97000, 100, keys, values);
        QCOMPARE(keys.size(), 1);
    }
};

QTEST_MAIN(TestPddPattern)
#include "tst_pddpattern.moc"
