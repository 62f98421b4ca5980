#include "smoothcurvegenerator.h"

#include <cmath>
#include <vector>

namespace {

bool separates(const QPointF& p)
{
    // An infinite x does not separate: the library clips such points itself.
    return std::isnan(p.y()) || std::isnan(p.x()) || std::isinf(p.y());
}

// The tridiagonal system of the first control points for one coordinate:
// diagonal 2, 4, ..., 4, 3.5 with ones beside it (Thomas algorithm).
void solve(const std::vector<double>& rhs, std::vector<double>& x)
{
    const size_t n = rhs.size();
    std::vector<double> t(n);
    x.assign(n, 0.0);
    double b = 2.0;
    x[0] = rhs[0] / b;
    for (size_t i = 1; i < n; ++i) {
        t[i] = 1.0 / b;
        b = (i < n - 1 ? 4.0 : 3.5) - t[i];
        x[i] = (rhs[i] - x[i - 1]) / b;
    }
    for (size_t i = 1; i < n; ++i)
        x[n - 1 - i] -= t[n - i] * x[n - i];
}

} // namespace

void SmoothCurveGenerator::calculateControlPoints(const QVector<QPointF>& knots,
    QVector<QPointF>* firstControlPoints, QVector<QPointF>* secondControlPoints)
{
    const int n = knots.size() - 1;
    if (n < 1)
        return;
    firstControlPoints->reserve(n);
    secondControlPoints->reserve(n);
    for (int i = 0; i < n; ++i) {
        firstControlPoints->append(QPointF());
        secondControlPoints->append(QPointF());
    }
    QVector<QPointF>& c1 = *firstControlPoints;
    QVector<QPointF>& c2 = *secondControlPoints;
    if (n == 1) {
        c1[0] = (2 * knots[0] + knots[1]) / 3;
        c2[0] = 2 * c1[0] - knots[0];
        return;
    }
    std::vector<double> rx(static_cast<size_t>(n));
    std::vector<double> ry(static_cast<size_t>(n));
    rx[0] = knots[0].x() + 2 * knots[1].x();
    ry[0] = knots[0].y() + 2 * knots[1].y();
    for (int i = 1; i < n - 1; ++i) {
        rx[size_t(i)] = 4 * knots[i].x() + 2 * knots[i + 1].x();
        ry[size_t(i)] = 4 * knots[i].y() + 2 * knots[i + 1].y();
    }
    rx[size_t(n - 1)] = (knots[n - 1].x() * 8.0 + knots[n].x()) * 0.5;
    ry[size_t(n - 1)] = (knots[n - 1].y() * 8.0 + knots[n].y()) * 0.5;
    std::vector<double> x;
    std::vector<double> y;
    solve(rx, x);
    solve(ry, y);
    for (int i = 0; i < n; ++i)
        c1[i] = QPointF(x[size_t(i)], y[size_t(i)]);
    for (int i = 0; i < n - 1; ++i)
        c2[i] = 2 * knots[i + 1] - c1[i + 1];
    c2[n - 1] = (knots[n] + c1[n - 1]) / 2;
}

QPainterPath SmoothCurveGenerator::runPath(const QPointF* points, int count)
{
    QPainterPath path;
    if (count < 2)
        return path;
    QVector<QPointF> knots(count);
    std::copy(points, points + count, knots.begin());
    QVector<QPointF> c1;
    QVector<QPointF> c2;
    calculateControlPoints(knots, &c1, &c2);
    path.moveTo(knots[0]);
    for (int j = 0; j < count - 1; ++j)
        path.cubicTo(c1[j], c2[j], knots[j + 1]);
    return path;
}

QPainterPath SmoothCurveGenerator::generateSmoothCurve(const QVector<QPointF>& points)
{
    QPainterPath result;
    int start = 0;
    for (int i = 0; i < points.size(); ++i) {
        if (!separates(points[i]))
            continue;
        if (i - start >= 2)
            result.addPath(runPath(points.constData() + start, i - start));
        start = i + 1;
    }
    if (points.size() - start >= 2)
        result.addPath(runPath(points.constData() + start, points.size() - start));
    return result;
}
