// The smooth curve through a graph's points: it passes through every knot,
// its first and second derivatives agree where segments meet, and it breaks
// where the data has gaps.
#include "smoothcurvegenerator.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

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
            const QPointF c1 = e;
            const QPointF c2 = path.elementAt(i + 1);
            const QPointF p1 = path.elementAt(i + 2);
            runs.last().append({ at, c1, c2, p1 });
            at = p1;
            i += 2;
        }
    }
    return runs;
}

bool near(const QPointF& a, const QPointF& b, double eps = 1e-9)
{
    return std::fabs(a.x() - b.x()) <= eps && std::fabs(a.y() - b.y()) <= eps;
}

} // namespace

class TestSmoothCurve : public QObject
{
    Q_OBJECT

private slots:
    void throughKnotsWithContinuousDerivatives_data()
    {
        QTest::addColumn<QVector<QPointF>>("knots");
        QTest::newRow("two points") << QVector<QPointF> { { 0, 0 }, { 3, 6 } };
        QTest::newRow("three collinear") << QVector<QPointF> { { 0, 0 }, { 1, 2 }, { 2, 4 } };
        QTest::newRow("three bent") << QVector<QPointF> { { 0, 5 }, { 10, -5 }, { 20, 5 } };
        QTest::newRow("waveform pixels") << QVector<QPointF> { { 0, 100 }, { 1, 80 }, { 2, 130 }, { 3, 90 },
            { 5, 95 }, { 8, 40 }, { 9, 300 }, { 12, 100 } };
        QTest::newRow("unequal spacing") << QVector<QPointF> { { 0, 0 }, { 0.5, 1 }, { 4, -2 }, { 4.1, 7 } };
    }
    void throughKnotsWithContinuousDerivatives()
    {
        QFETCH(QVector<QPointF>, knots);
        const auto runs = runsOf(SmoothCurveGenerator::generateSmoothCurve(knots));
        QCOMPARE(runs.size(), 1);
        const QVector<Segment>& s = runs.first();
        QCOMPARE(s.size(), knots.size() - 1);
        for (int j = 0; j < s.size(); ++j) {
            QVERIFY2(near(s[j].p0, knots[j]), qPrintable(QString::number(j)));
            QVERIFY2(near(s[j].p1, knots[j + 1]), qPrintable(QString::number(j)));
        }
        for (int j = 1; j < s.size(); ++j) {
            // Bezier derivatives at the joint: 3 (P - C2) before, 3 (C1 - P) after.
            const QPointF d1Before = s[j - 1].p1 - s[j - 1].c2;
            const QPointF d1After = s[j].c1 - s[j].p0;
            QVERIFY2(near(d1Before, d1After, 1e-6), qPrintable(QString::number(j)));
            const QPointF d2Before = s[j - 1].p1 - 2 * s[j - 1].c2 + s[j - 1].c1;
            const QPointF d2After = s[j].c2 - 2 * s[j].c1 + s[j].p0;
            QVERIFY2(near(d2Before, d2After, 1e-6), qPrintable(QString::number(j)));
        }
        // Natural ends: no curvature at the first and the last knot.
        if (s.size() >= 2) {
            QVERIFY(near(s.first().c2 - 2 * s.first().c1 + s.first().p0, QPointF(), 1e-6));
            QVERIFY(near(s.last().p1 - 2 * s.last().c2 + s.last().c1, QPointF(), 1e-6));
        }
    }

    void straightDataGivesStraightCurve_data()
    {
        QTest::addColumn<QVector<QPointF>>("knots");
        QTest::newRow("two points") << QVector<QPointF> { { 0, 0 }, { 3, 6 } };
        QTest::newRow("three equally spaced") << QVector<QPointF> { { 0, 1 }, { 1, 3 }, { 2, 5 } };
        QTest::newRow("five equally spaced") << QVector<QPointF> { { 0, 0 }, { 2, 1 }, { 4, 2 }, { 6, 3 },
            { 8, 4 } };
    }
    void straightDataGivesStraightCurve()
    {
        QFETCH(QVector<QPointF>, knots);
        const auto runs = runsOf(SmoothCurveGenerator::generateSmoothCurve(knots));
        for (const Segment& s : runs.first()) {
            // Control points at one and two thirds of the chord.
            QVERIFY(near(s.c1, s.p0 + (s.p1 - s.p0) / 3, 1e-9));
            QVERIFY(near(s.c2, s.p0 + 2 * (s.p1 - s.p0) / 3, 1e-9));
        }
    }

    void gapsSplitTheCurve_data()
    {
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::addColumn<QVector<int>>("segmentsPerRun");
        QTest::newRow("empty") << QVector<QPointF>() << QVector<int>();
        QTest::newRow("one point") << QVector<QPointF> { { 1, 1 } } << QVector<int>();
        QTest::newRow("NaN y inside") << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, kNaN }, { 3, 1 }, { 4, 0 },
            { 5, 2 } } << QVector<int> { 1, 2 };
        QTest::newRow("NaN x inside") << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, 1 }, { kNaN, 1 }, { 4, 0 },
            { 5, 2 } } << QVector<int> { 2, 1 };
        QTest::newRow("infinite y") << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, kInf }, { 3, 1 }, { 4, 0 } }
                                    << QVector<int> { 1, 1 };
        QTest::newRow("separators at both ends") << QVector<QPointF> { { 0, kNaN }, { 1, 1 }, { 2, 2 }, { 3, kNaN } }
                                                 << QVector<int> { 1 };
        QTest::newRow("consecutive separators, lone point")
            << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, kNaN }, { 3, kNaN }, { 4, 4 }, { 5, kNaN }, { 6, 1 },
                   { 7, 2 }, { 8, 0 } }
            << QVector<int> { 1, 2 };
    }
    void gapsSplitTheCurve()
    {
        QFETCH(QVector<QPointF>, points);
        QFETCH(QVector<int>, segmentsPerRun);
        const QPainterPath path = SmoothCurveGenerator::generateSmoothCurve(points);
        const auto runs = runsOf(path);
        QVector<int> got;
        for (const auto& r : runs)
            got.append(r.size());
        QCOMPARE(got, segmentsPerRun);
        for (const auto& r : runs)
            for (const Segment& s : r)
                QVERIFY(std::isfinite(s.c1.y()) && std::isfinite(s.c2.y()) && std::isfinite(s.p1.y()));
        if (segmentsPerRun.isEmpty())
            QVERIFY(path.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSmoothCurve)
#include "tst_smoothcurve.moc"
