#ifndef KOVSMOOTHGRAPH_H
#define KOVSMOOTHGRAPH_H

#include <qcustomplot.h>

// A line graph that can draw its line as a smooth curve through its points
// (SmoothCurveGenerator) instead of a polyline. Only the line changes; fills,
// scatters, selection and data handling stay the library's. Created on a
// plot's axes it registers with that plot, as the library's graphs do.
class KOVSmoothGraph : public QCPGraph
{
    Q_OBJECT
public:
    KOVSmoothGraph(QCPAxis* keyAxis, QCPAxis* valueAxis);

    // Takes effect at the next replot; only the line style lsLine is smoothed.
    void setSmooth(bool smooth) { mSmooth = smooth; }
    bool smooth() const { return mSmooth; }

protected:
    void drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const override;

private:
    bool mSmooth = false;
};

#endif // KOVSMOOTHGRAPH_H
