#ifndef SMOOTHCURVEGENERATOR_H
#define SMOOTHCURVEGENERATOR_H

#include <QPainterPath>
#include <QPointF>
#include <QVector>

// A natural cubic spline through points, as a chain of cubic Bezier segments:
// the curve passes through every point with continuous first and second
// derivatives. Points whose y or x is NaN, or whose y is infinite, split the
// curve into runs drawn separately (gaps where they stand, as a polyline).
class SmoothCurveGenerator
{
public:
    static QPainterPath generateSmoothCurve(const QVector<QPointF>& points);
    // One first and one second control point per segment of the knots,
    // appended to the two (empty) outputs.
    static void calculateControlPoints(const QVector<QPointF>& knots, QVector<QPointF>* firstControlPoints,
        QVector<QPointF>* secondControlPoints);

private:
    static QPainterPath runPath(const QPointF* points, int count);
};

#endif // SMOOTHCURVEGENERATOR_H
