// Windowless audio analysis: the smooth curve through a graph's points, what
// the capture is fed and how the plots keep their axes, the pattern picture's
// class vote and dots, and spectra of 1024-sample frames held to stored rows
// of one generated recording (KOV_REGEN_GOLDEN=1 rewrites them).
#include "kovaudiotiming.h"
#include "kovaxisrules.h"
#include "kovgen.h"
#include "kovgolden.h"
#include "kovmaplevels.h"
#include "kovpddpattern.h"
#include "kovplotreduce.h"
#include "kovspectrum.h"
#include "kovtable.h"
#include "smoothcurvegenerator.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>

using KOVAxisRules::Range;
Q_DECLARE_METATYPE(Range)
Q_DECLARE_METATYPE(QVector<QPointF>)
Q_DECLARE_METATYPE(KOVMapLevels::Span)

namespace {

using Clamp = Range (*)(Range);
Range waveTime1s(Range r) { return KOVAxisRules::waveTime(r, 1.0); }
Range waveTimeNone(Range r) { return KOVAxisRules::waveTime(r, 0.0); }
Range waveValue(Range r) { return KOVAxisRules::waveValue(r); }
Range spectrum(Range r) { return KOVAxisRules::spectrumFrequency(r); }
Range gramTime(Range r) { return KOVAxisRules::spectrogramTime(r, 2.0); }
Range gramFreq(Range r) { return KOVAxisRules::spectrogramFrequency(r); }
Range slice5(Range r) { return KOVAxisRules::sliceTime(r, 0.2); }
Range sliceValue(Range r) { return KOVAxisRules::sliceValue(r, 0.5); }
Range sliceSilent(Range r) { return KOVAxisRules::sliceValue(r, 0.0); }

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

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Segment
{
    QPointF p0, c1, c2, p1;
};

// The path's cubic segments, split into runs at each moveTo.
QVector<QVector<Segment>> runsOf(const QPainterPath& path)
{
    QVector<QVector<Segment>> runs;
    QPointF at;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            runs.append(QVector<Segment>());
            at = e;
        } else if (e.type == QPainterPath::CurveToElement) {
            runs.last().append({ at, e, path.elementAt(i + 1), path.elementAt(i + 2) });
            at = path.elementAt(i + 2);
            i += 2;
        }
    }
    return runs;
}

bool near(const QPointF& a, const QPointF& b, double eps = 1e-6)
{
    return std::fabs(a.x() - b.x()) <= eps && std::fabs(a.y() - b.y()) <= eps;
}

} // namespace
Q_DECLARE_METATYPE(Clamp)

class TestAnalysis : public QObject
{
    Q_OBJECT

private slots:
    // Within each run: through the knots, C1 and C2 at every joint, natural
    // ends; NaN and infinite points split the curve.
    void smoothCurve_data()
    {
        KOVTable::columns<QVector<QPointF>, QVector<int>>({"points", "segmentsPerRun"});
        QTest::newRow("empty") << QVector<QPointF>() << QVector<int>();
        QTest::newRow("one point") << QVector<QPointF> { { 1, 1 } } << QVector<int>();
        QTest::newRow("two points") << QVector<QPointF> { { 0, 0 }, { 3, 6 } } << QVector<int> { 1 };
        QTest::newRow("waveform pixels, unequal spacing") << QVector<QPointF> { { 0, 100 }, { 1, 80 }, { 2, 130 },
            { 3, 90 }, { 5, 95 }, { 8, 40 }, { 9, 300 }, { 12, 100 } } << QVector<int> { 7 };
        QTest::newRow("NaN y inside") << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, kNaN }, { 3, 1 }, { 4, 0 },
            { 5, 2 } } << QVector<int> { 1, 2 };
        QTest::newRow("NaN x inside, infinite y") << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, 1 }, { kNaN, 1 }, { 4, 0 },
            { 5, 2 }, { 6, std::numeric_limits<double>::infinity() }, { 7, 1 } } << QVector<int> { 2, 1 };
        QTest::newRow("separators at the ends, in a row, around a lone point")
            << QVector<QPointF> { { 0, kNaN }, { 1, 1 }, { 2, 2 }, { 3, kNaN }, { 4, kNaN }, { 5, 4 }, { 6, kNaN },
                   { 7, 1 }, { 8, 2 }, { 9, 0 }, { 10, kNaN } }
            << QVector<int> { 1, 2 };
    }
    void smoothCurve()
    {
        QFETCH(QVector<QPointF>, points);
        QFETCH(QVector<int>, segmentsPerRun);
        const QPainterPath path = SmoothCurveGenerator::generateSmoothCurve(points);
        QVector<int> got;
        for (const QVector<Segment>& s : runsOf(path)) {
            got.append(s.size());
            // Bezier derivatives at a joint: 3 (P - C2) before, 3 (C1 - P) after;
            // second derivatives P - 2 C2 + C1 before, C2 - 2 C1 + P after.
            for (int j = 1; j < s.size(); ++j)
                QVERIFY2(near(s[j - 1].p1 - s[j - 1].c2, s[j].c1 - s[j].p0)
                             && near(s[j - 1].p1 - 2 * s[j - 1].c2 + s[j - 1].c1, s[j].c2 - 2 * s[j].c1 + s[j].p0),
                         qPrintable(QString::number(j)));
            QVERIFY(near(s.first().c2 - 2 * s.first().c1 + s.first().p0, QPointF())
                    && near(s.last().p1 - 2 * s.last().c2 + s.last().c1, QPointF()));
        }
        QCOMPARE(got, segmentsPerRun);
        QCOMPARE(path.isEmpty(), segmentsPerRun.isEmpty());
        if (segmentsPerRun.size() == 1) { // unbroken: every knot on the curve
            const QVector<Segment> s = runsOf(path).first();
            for (int j = 0; j < s.size(); ++j)
                QVERIFY2(near(s[j].p0, points[j], 1e-9) && near(s[j].p1, points[j + 1], 1e-9), qPrintable(QString::number(j)));
        }
    }

    void feed_data()
    {
        KOVTable::columns<int, int, bool, int>({"fed", "end", "reset", "from"});
        QTest::newRow("first frame") << 0 << 3840 << false << 0;
        QTest::newRow("same time again") << 7680 << 7680 << true << 0;
        QTest::newRow("back") << 96000 << 50000 << true << 50000 - 28799;
        QTest::newRow("forward 28798") << 1000 << 29798 << false << 1000;
        QTest::newRow("forward 28799") << 1000 << 29799 << true << 1000;
        QTest::newRow("jump a second") << 3840 << 99840 << true << 99840 - 28799;
    }
    void feed()
    {
        QFETCH(int, fed);
        QFETCH(int, end);
        const KOVAudioTiming::Feed f = KOVAudioTiming::feed(fed, end);
        QTEST(f.reset, "reset");
        QTEST(f.from, "from");
        QCOMPARE(f.to, end);
    }

    // Single precision as the imager computes it: frame 5 starts at sample
    // 19199 (0.2f x 96000 is 19199.998), truncated, never rounded to 19200.
    void audioSpans_data()
    {
        // clip: first, count; slice: valid, start, count of the first frame's slice
        KOVTable::columns<int, int, int, QList<int>, QList<int>>({"firstFrame", "endFrame", "length", "clip", "slice"});
        QTest::newRow("frames 5 to 10") << 5 << 10 << 96000 << QList<int> { 19199, 19200 } << QList<int> { 1, 19199, 3840 };
        QTest::newRow("audio ends inside") << 5 << 10 << 20000 << QList<int> { 19199, 801 } << QList<int> { 1, 19199, 801 };
        QTest::newRow("audio ends before") << 10 << 26 << 30000 << QList<int> { 30000, 0 } << QList<int> { 0, 0, 0 };
        QTest::newRow("whole seconds") << 25 << 250 << 960000 << QList<int> { 96000, 864000 } << QList<int> { 1, 96000, 3840 };
        QTest::newRow("no audio") << 0 << 3 << -5 << QList<int> { 0, 0 } << QList<int> { 0, 0, 0 };
    }
    void audioSpans()
    {
        QFETCH(int, firstFrame);
        QFETCH(int, endFrame);
        QFETCH(int, length);
        const float from = KOVAudioTiming::frameTime(firstFrame);
        const KOVAudioTiming::Span sp = KOVAudioTiming::clipSpan(from, KOVAudioTiming::frameTime(endFrame), length);
        QTEST((QList<int> { sp.first, sp.count }), "clip");
        const KOVAudioTiming::Slice sl = KOVAudioTiming::slice(from, length);
        QTEST((QList<int> { sl.valid, sl.start, sl.count }), "slice");
    }

    // The periodic Hann window from its formula, and what it does to a
    // constant frame: all power in bins 0 and 1 (512 and 256), none leaking.
    void periodicWindow()
    {
        const float* w = KOVSpectrum::hann();
        for (int n = 0; n < 1024; ++n)
            QVERIFY2(std::fabs(w[n] - (0.5 - 0.5 * std::cos(2 * M_PI * n / 1024))) < 1e-7, qPrintable(QString::number(n)));
        const QVector<float> ones(1024, 1.0f);
        QVector<float> row(512);
        KOVSpectrum().row(ones.constData(), row.data());
        QVERIFY(std::fabs(row[0] - 40 * std::log10(512.0)) < 1e-3 && std::fabs(row[1] - 40 * std::log10(256.0)) < 1e-3);
        QVERIFY(*std::max_element(row.begin() + 2, row.end()) < -60);
    }

    void clamps_data()
    {
        KOVTable::columns<Clamp, Range, Range>({"clamp", "in", "out"});
        QTest::newRow("value dragged wide") << Clamp(waveValue) << Range { -20000, 5000 } << Range { -10000, 10000 };
        QTest::newRow("value made symmetric") << Clamp(waveValue) << Range { -0.3, 0.2 } << Range { -0.3, 0.3 };
        QTest::newRow("value of silence") << Clamp(waveValue) << Range { 0, 0 } << Range { -1, 1 };
        QTest::newRow("time dragged past the end") << Clamp(waveTime1s) << Range { 0.8, 1.3 } << Range { 0.5, 1.0 };
        QTest::newRow("time dragged before 0") << Clamp(waveTime1s) << Range { -0.2, 0.3 } << Range { 0, 0.5 };
        QTest::newRow("time below 10 ms") << Clamp(waveTime1s) << Range { 0, 0.004 } << Range { 0, 0.01 };
        QTest::newRow("time, no audio") << Clamp(waveTimeNone) << Range { 0, 5 } << Range { 0, 0.01 };
        QTest::newRow("spectrum past 48 kHz") << Clamp(spectrum) << Range { 40000, 50000 } << Range { 38000, 48000 };
        QTest::newRow("spectrogram time") << Clamp(gramTime) << Range { 1.5, 2.5 } << Range { 1.0, 2.0 };
        QTest::newRow("spectrogram kHz") << Clamp(gramFreq) << Range { -10, 60 } << Range { 0, 48 };
        QTest::newRow("slice before its frame") << Clamp(slice5) << Range { 0.19, 0.21 } << Range { 0.2, 0.22 };
        QTest::newRow("slice past its frame") << Clamp(slice5) << Range { 0.2, 0.3 } << Range { 0.2, 0.24 };
        QTest::newRow("slice values above max") << Clamp(sliceValue) << Range { 0.1, 0.7 } << Range { -0.1, 0.5 };
        QTest::newRow("slice of silence") << Clamp(sliceSilent) << Range { -3, 3 } << Range { -1, 1 };
    }
    void clamps()
    {
        QFETCH(Clamp, clamp);
        QFETCH(Range, in);
        QFETCH(Range, out);
        const Range got = clamp(in);
        QVERIFY2(qAbs(got.lower - out.lower) < 1e-9 && qAbs(got.upper - out.upper) < 1e-9,
            qPrintable(QStringLiteral("%1..%2").arg(got.lower).arg(got.upper)));
        QCOMPARE(clamp(got), got); // the clamp's own range-changed signal settles at once
    }

    void timeTicks_data()
    {
        KOVTable::columns<double, QString, int>({"span", "format", "count"});
        QTest::newRow("4.5 ms") << 0.0045 << "mm:ss.zzz" << 5;
        QTest::newRow("exactly 5 ms") << 0.005 << "mm:ss.zzz" << 6;
        QTest::newRow("11 ms") << 0.011 << "mm:ss.zzz" << 12;
        QTest::newRow("8.9 s") << 8.9 << "mm:ss.zzz" << 12;
        QTest::newRow("9 s") << 9.0 << "mm:ss" << 12;
    }
    void timeTicks()
    {
        QFETCH(double, span);
        QTEST(KOVAxisRules::timeTicks(span).format, "format");
        QTEST(KOVAxisRules::timeTicks(span).count, "count");
    }

    void vote_data()
    {
        KOVTable::columns<QVector<int>, QString>({"counts", "text"}); // none, corona, surface, metal
        const QString surface = QStringLiteral("沿面放电、悬浮放电");
        const QString metal = QStringLiteral("自由金属放电");
        const QString corona = QStringLiteral("电晕，尖端放电");
        const QString nothing = QStringLiteral("未检测到放电");
        QTest::newRow("surface above none and corona") << QVector<int> { 2, 1, 5, 5 } << surface;
        QTest::newRow("metal above none and corona") << QVector<int> { 2, 3, 1, 4 } << metal;
        QTest::newRow("corona above none") << QVector<int> { 3, 4, 0, 0 } << corona;
        QTest::newRow("mostly none, some surface") << QVector<int> { 12, 0, 1, 0 } << surface;
        QTest::newRow("mostly none") << QVector<int> { 12, 0, 0, 0 } << nothing;
        QTest::newRow("none exactly 80 %, metal after") << QVector<int> { 8, 0, 0, 2 } << nothing;
        QTest::newRow("none exactly 80 %, corona after") << QVector<int> { 8, 1, 0, 1 } << nothing;
        QTest::newRow("mixed, surface beats corona") << QVector<int> { 5, 3, 4, 3 } << surface;
        QTest::newRow("mixed, metal beats surface") << QVector<int> { 6, 1, 2, 3 } << metal;
        QTest::newRow("mixed, surface ties metal") << QVector<int> { 5, 1, 3, 3 } << surface;
        QTest::newRow("mixed, corona kept") << QVector<int> { 6, 2, 2, 2 } << corona;
    }
    void vote()
    {
        QFETCH(QVector<int>, counts);
        QFETCH(QString, text);
        QCOMPARE(QString::fromUtf8(KOVPddPattern::classText(counts[0], counts[1], counts[2], counts[3])), text);
        // The same vote from a list of periods.
        QList<PddBuffer> list;
        for (int t = 0; t < 4; ++t)
            for (int i = 0; i < counts[t]; ++i)
                list.append(period(1, KOVPddPulseCapture::PddType(t)));
        QCOMPARE(QString::fromUtf8(KOVPddPattern::classText(list)), text);
    }

    void dotsAndBins()
    {
        // The maximum on the top line; no scale, or no value, at the bottom.
        QCOMPARE((QList<int>{KOVPddPattern::dotY(0.5f, 0.5f), KOVPddPattern::dotY(0.25f, 0.5f), KOVPddPattern::dotY(0.0f, 0.5f),
                             KOVPddPattern::dotY(0.0f, 0.0f), KOVPddPattern::dotY(std::numeric_limits<float>::quiet_NaN(), 1.0f)}),
                 (QList<int>{30, 122, 215, 215, 215}));
        // The label keeps info.dat's count; the buffers hold 240 bins.
        QCOMPARE((QList<int>{KOVPddPattern::usableBins(300), KOVPddPattern::usableBins(-7), KOVPddPattern::usableBins(0),
                             KOVPddPattern::usableBins(1)}), (QList<int>{240, 240, 240, 1}));
        QCOMPARE(KOVPddPattern::dotX(239, 240), 522); // inside the 525-pixel plot
        // Video frame 5 asks for spectrum index ceil(18.75) and shows the row before it.
        QCOMPARE(KOVAudioTiming::spectrumRow(KOVAudioTiming::spectrumIndex(5)), 18);
    }

    void pictureDrawsEveryBin()
    {
        // One period: a ramp; a second all zero under the same scale.
        PddBuffer ramp;
        for (int k = 0; k < 240; ++k)
            ramp.Data[k] = k / 239.0f;
        ramp.max = 1.0f;
        const QImage img = KOVPddPattern::picture({ ramp, period(0.0f) }, 240, QStringLiteral("x"));
        for (int k = 0; k < 240; k += 17) {
            const int x = KOVPddPattern::dotX(k, 240);
            const int y = KOVPddPattern::dotY(ramp.Data[k], 1.0f);
            QVERIFY2(isDot(img.pixel(x + 3, y + 1)), qPrintable(QString::number(k)));
            QVERIFY2(isDot(img.pixel(x + 3, 216)), qPrintable(QString::number(k)));
        }
    }

    void envelopeKeepsExtremes()
    {
        QVector<float> x(96000, 0.0f);
        x[40000] = 0.9f;
        x[70001] = -0.8f;
        QVector<double> keys, values;
        KOVPlotReduce::envelope(x.constData(), x.size(), 0, x.size(), 100, keys, values);
        QCOMPARE(keys.last(), 95999 / 96000.0);
        QVERIFY(keys.size() <= 202 && std::is_sorted(keys.begin(), keys.end()));
        QVERIFY(values.contains(0.9f) && values.contains(double(-0.8f)) && keys.contains(40000 / 96000.0));
        // Out of range asks give nothing rather than reading outside.
        KOVPlotReduce::envelope(x.constData(), x.size(), 96000, 97000, 100, keys, values);
        QCOMPARE(keys.size(), 1);
    }

    void rowsOfRange_data()
    {
        KOVTable::columns<double, double, double, int, int, int>(
            {"from", "to", "rowSeconds", "rowCount", "first", "last"});
        const double frame = 1024 / 96000.0;
        QTest::newRow("within a row") << 1.1 << 1.2 << 0.5 << 10 << 2 << 3;
        QTest::newRow("on row edges") << 1.0 << 2.0 << 0.5 << 10 << 2 << 4;
        QTest::newRow("frame edges as products") << 937 * frame << 1032 * frame << frame << 2812 << 937 << 1032;
        QTest::newRow("a point on an edge: one row") << 1.0 << 1.0 << 0.5 << 10 << 2 << 3;
        QTest::newRow("from before the start") << -1.0 << 0.2 << 0.5 << 10 << 0 << 1;
        QTest::newRow("to past the end") << 4.2 << 9.0 << 0.5 << 10 << 8 << 10;
        QTest::newRow("wholly past the end: the last row") << 7.0 << 8.0 << 0.5 << 10 << 9 << 10;
        QTest::newRow("no rows") << 0.0 << 1.0 << 0.5 << 0 << 0 << 0;
    }
    void rowsOfRange()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, rowSeconds);
        QFETCH(int, rowCount);
        const KOVPlotReduce::RowSpan s = KOVPlotReduce::rowsOfRange(from, to, rowSeconds, rowCount);
        QTEST(s.first, "first");
        QTEST(s.last, "last");
    }

    // Rows r of two bins (r, -r): a column's first bin names the last row it
    // holds, its second the first.
    void mapLevelColumns_data()
    {
        KOVTable::columns<int, int, int, int, QVector<float>>({"rowCount", "level", "first", "last", "cells"});
        QTest::newRow("level 0: the rows") << 10 << 0 << 3 << 5 << QVector<float> { 3, -3, 4, -4 };
        QTest::newRow("level 1: pairs") << 10 << 1 << 0 << 3 << QVector<float> { 1, 0, 3, -2, 5, -4 };
        QTest::newRow("level 1: the last pair short") << 9 << 1 << 3 << 5 << QVector<float> { 7, -6, 8, -8 };
        QTest::newRow("level 2: kept level") << 10 << 2 << 0 << 3 << QVector<float> { 3, 0, 7, -4, 9, -8 };
        QTest::newRow("level 3: pairs of the kept level") << 20 << 3 << 1 << 3 << QVector<float> { 15, -8, 19, -16 };
        QTest::newRow("level 4: the kept level of the kept level") << 40 << 4 << 0 << 3
                                                                   << QVector<float> { 15, 0, 31, -16, 39, -32 };
        QTest::newRow("level 5 of fewer rows: one column") << 20 << 5 << 0 << 1 << QVector<float> { 19, 0 };
        QTest::newRow("span past the columns: cut") << 10 << 1 << 4 << 9 << QVector<float> { 9, -8 };
        QTest::newRow("empty span") << 10 << 0 << 4 << 4 << QVector<float>();
        QTest::newRow("no level") << 10 << -1 << 0 << 4 << QVector<float>();
        QTest::newRow("no rows") << 0 << 0 << 0 << 4 << QVector<float>();
    }
    void mapLevelColumns()
    {
        QFETCH(int, rowCount);
        QFETCH(int, level);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QVector<float>, cells);
        QVector<float> rows;
        for (int r = 0; r < rowCount; ++r)
            rows << float(r) << float(-r);
        KOVMapLevels levels;
        levels.reset(rows.constData(), rowCount, 2);
        QVector<float> out(3, 42.0f); // whatever was there goes
        const int n = levels.columns({ level, first, last }, out);
        QCOMPARE(out, cells);
        QCOMPARE(n, cells.size() / 2);
        // Asked again, from the levels kept, the same; a reset forgets them.
        QCOMPARE(levels.columns({ level, first, last }, out), n);
        QCOMPARE(out, cells);
        QCOMPARE(levels.keptBytes() > 0, rowCount > 0 && level >= 2);
        rows.fill(0.0f);
        levels.reset(rows.constData(), rowCount, 2);
        QCOMPARE(levels.keptBytes(), 0);
        levels.columns({ level, first, last }, out);
        QVERIFY(std::all_of(out.begin(), out.end(), [](float v) { return v == 0.0f; }));
    }

    void mapLevelFor_data()
    {
        KOVTable::columns<int, int>({"rows", "level"});
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("2048: a column each") << 2048 << 0;
        QTest::newRow("2049: pairs") << 2049 << 1;
        QTest::newRow("4096: pairs") << 4096 << 1;
        QTest::newRow("4097: fours") << 4097 << 2;
        QTest::newRow("the longest audio loaded") << 524287 << 8;
    }
    void mapLevelFor()
    {
        QFETCH(int, rows);
        QTEST(KOVMapLevels::levelFor(rows, 2048), "level");
    }

    // 10000 rows, maps of at most 2048 columns.
    void mapSpan_data()
    {
        using S = KOVMapLevels::Span;
        KOVTable::columns<int, int, S, S>({"first", "last", "shown", "span"});
        QTest::newRow("nothing shown: the view and half again each side") << 1000 << 1100 << S() << S { 0, 950, 1150 };
        QTest::newRow("cut at the start") << 10 << 110 << S() << S { 0, 0, 160 };
        QTest::newRow("cut at the end") << 9950 << 10000 << S() << S { 0, 9925, 10000 };
        QTest::newRow("2048 rows: each") << 0 << 2048 << S() << S { 0, 0, 3072 };
        QTest::newRow("pooled view: its columns") << 1001 << 5001 << S() << S { 1, 0, 3501 };
        QTest::newRow("within what is shown: kept") << 1000 << 1100 << S { 0, 950, 1150 } << S { 0, 950, 1150 };
        QTest::newRow("a row past it: anew") << 1000 << 1151 << S { 0, 950, 1150 } << S { 0, 925, 1226 };
        QTest::newRow("another level: anew") << 0 << 2049 << S { 0, 0, 3072 } << S { 1, 0, 1537 };
        QTest::newRow("zoomed far in: a smaller map") << 1000 << 1010 << S { 0, 0, 3072 } << S { 0, 995, 1015 };
        QTest::newRow("small maps kept however far in") << 1000 << 1001 << S { 0, 900, 1150 } << S { 0, 900, 1150 };
        QTest::newRow("no rows in view") << 5 << 5 << S { 0, 0, 10 } << S();
    }
    void mapSpan()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(KOVMapLevels::Span, shown);
        QFETCH(KOVMapLevels::Span, span);
        QVector<float> rows(10000, 0.0f);
        KOVMapLevels levels;
        levels.reset(rows.constData(), 10000, 1);
        const KOVMapLevels::Span s = levels.spanFor({ first, last }, 2048, shown);
        QCOMPARE(s.level, span.level);
        QCOMPARE(s.first, span.first);
        QCOMPARE(s.last, span.last);
    }

    void axisLow_data()
    {
        KOVTable::columns<QVector<float>, double>({"values", "low"});
        const float ninf = -std::numeric_limits<float>::infinity();
        QTest::newRow("all positive") << QVector<float> { 10, 96 } << 0.0;
        QTest::newRow("just below zero") << QVector<float> { -0.5f, 30 } << -50.0;
        QTest::newRow("on a step") << QVector<float> { -100, 20 } << -100.0;
        QTest::newRow("one silent bin") << QVector<float> { ninf, -73, 12 } << -100.0;
        QTest::newRow("no finite value") << QVector<float> { ninf, ninf } << -120.0;
    }
    void axisLow()
    {
        QFETCH(QVector<float>, values);
        QTEST(KOVSpectrum::axisLow(values.constData(), values.size()), "low");
    }

    void rowsOfWholeFramesOnly_data()
    {
        KOVTable::columns<int, int>({"samples", "rows"});
        QTest::newRow("shorter than a frame") << 1023 << 0;
        QTest::newRow("one frame") << 1024 << 1;
        QTest::newRow("tail belongs to no row") << 5 * 1024 + 1000 << 5;
    }
    void rowsOfWholeFramesOnly()
    {
        QFETCH(int, samples);
        QFETCH(int, rows);
        QCOMPARE(KOVSpectrum::rowCount(samples), rows);
        // A tone only in the tail must leave every row untouched, and nothing
        // is written past the rows.
        QVector<float> x(samples, 0.0f);
        for (int i = rows * 1024; i < samples; ++i)
            x[i] = 1.0f;
        QVector<float> out(rows * 512 + 1, 7.0f);
        KOVSpectrum().rows(x.constData(), samples, out.data());
        for (int i = 0; i < rows * 512; ++i)
            QVERIFY(std::isinf(out[i]));
        QCOMPARE(out.last(), 7.0f);
    }

    // Five frames of a partial-discharge recording from the generator.
    void generatedRecordingMatchesStoredRows()
    {
        KOVGen::WavOptions o;
        o.content = KOVGen::AudioContent::PdBursts;
        o.seconds = 5 * 1024 / 96000.0;
        o.seed = 11;
        const QVector<qint16> pcm = KOVGen::makeSamples(o);
        QVERIFY(pcm.size() >= 5 * 1024);
        QVector<float> x(5 * 1024);
        for (int i = 0; i < x.size(); ++i)
            x[i] = float(pcm[i]) * 3.051851e-5f;
        QVector<float> rows(5 * 512);
        KOVSpectrum().rows(x.constData(), x.size(), rows.data());

        // FFTW's kernels differ by machine in the last bits: 2e-4 of the value.
        QStringList lines;
        for (float v : rows)
            lines << QString::number(v, 'f', 3);
        const QString diff = KOVGolden::check(QStringLiteral("kovanalysis/golden/spectrum_rows.txt"), lines, 2e-4);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }
};

QTEST_MAIN(TestAnalysis)
#include "tst_analysis.moc"
