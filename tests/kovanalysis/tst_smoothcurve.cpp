// The smooth curve through a graph's points: it passes through every knot,
// its first and second derivatives agree where segments meet (so straight
// data stays straight), and it breaks where the data has gaps.
#include "smoothcurvegenerator.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {

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

class TestSmoothCurve : public QObject
{
    Q_OBJECT

private slots:
    void throughKnotsWithContinuousDerivatives_data()
    {
        QTest::addColumn<QVector<QPointF>>("knots");
        QTest::newRow("two points") << QVector<QPointF> { { 0, 0 }, { 3, 6 } };
        QTest::newRow("three collinear") << QVector<QPointF> { { 0, 0 }, { 1, 2 }, { 2, 4 } };
        QTest::newRow("waveform pixels, unequal spacing") << QVector<QPointF> { { 0, 100 }, { 1, 80 }, { 2, 130 },
            { 3, 90 }, { 5, 95 }, { 8, 40 }, { 9, 300 }, { 12, 100 } };
    }
    void throughKnotsWithContinuousDerivatives()
    {
        QFETCH(QVector<QPointF>, knots);
        const auto runs = runsOf(SmoothCurveGenerator::generateSmoothCurve(knots));
        QCOMPARE(runs.size(), 1);
        const QVector<Segment>& s = runs.first();
        QCOMPARE(s.size(), knots.size() - 1);
        for (int j = 0; j < s.size(); ++j)
            QVERIFY2(near(s[j].p0, knots[j], 1e-9) && near(s[j].p1, knots[j + 1], 1e-9), qPrintable(QString::number(j)));
        // Bezier derivatives at a joint: 3 (P - C2) before, 3 (C1 - P) after;
        // second derivatives P - 2 C2 + C1 before, C2 - 2 C1 + P after.
        for (int j = 1; j < s.size(); ++j) {
            QVERIFY2(near(s[j - 1].p1 - s[j - 1].c2, s[j].c1 - s[j].p0), qPrintable(QString::number(j)));
            QVERIFY2(near(s[j - 1].p1 - 2 * s[j - 1].c2 + s[j - 1].c1, s[j].c2 - 2 * s[j].c1 + s[j].p0),
                qPrintable(QString::number(j)));
        }
        // Natural ends: no curvature at the first and the last knot.
        QVERIFY(near(s.first().c2 - 2 * s.first().c1 + s.first().p0, QPointF()));
        QVERIFY(near(s.last().p1 - 2 * s.last().c2 + s.last().c1, QPointF()));
    }

    void gapsSplitTheCurve_data()
    {
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::addColumn<QVector<int>>("segmentsPerRun");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("empty") << QVector<QPointF>() << QVector<int>();
        QTest::newRow("one point") << QVector<QPointF> { { 1, 1 } } << QVector<int>();
        QTest::newRow("NaN y inside") << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, kNaN }, { 3, 1 }, { 4, 0 },
            { 5, 2 } } << QVector<int> { 1, 2 };
        QTest::newRow("NaN x inside") << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, 1 }, { kNaN, 1 }, { 4, 0 },
            { 5, 2 } } << QVector<int> { 2, 1 };
        QTest::newRow("infinite y") << QVector<QPointF> { { 0, 0 }, { 1, 1 }, { 2, inf }, { 3, 1 }, { 4, 0 } }
                                    << QVector<int> { 1, 1 };
        QTest::newRow("separators at the ends, in a row, around a lone point")
            << QVector<QPointF> { { 0, kNaN }, { 1, 1 }, { 2, 2 }, { 3, kNaN }, { 4, kNaN }, { 5, 4 }, { 6, kNaN },
                   { 7, 1 }, { 8, 2 }, { 9, 0 }, { 10, kNaN } }
            << QVector<int> { 1, 2 };
    }
    void gapsSplitTheCurve()
    {
        QFETCH(QVector<QPointF>, points);
        QFETCH(QVector<int>, segmentsPerRun);
        const QPainterPath path = SmoothCurveGenerator::generateSmoothCurve(points);
        QVector<int> got;
        for (const auto& r : runsOf(path)) {
            got.append(r.size());
            for (const Segment& s : r)
                QVERIFY(std::isfinite(s.c1.y()) && std::isfinite(s.c2.y()) && std::isfinite(s.p1.y()));
        }
        QCOMPARE(got, segmentsPerRun);
        QCOMPARE(path.isEmpty(), segmentsPerRun.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSmoothCurve)
#include "tst_smoothcurve.moc"
