#include "kovsmoothgraph.h"

#include "smoothcurvegenerator.h"

KOVSmoothGraph::KOVSmoothGraph(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPGraph(keyAxis, valueAxis)
{
}

void KOVSmoothGraph::drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const
{
    if (!mSmooth || mLineStyle != lsLine) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    if (painter->pen().style() == Qt::NoPen || painter->pen().color().alpha() == 0)
        return;
    applyDefaultAntialiasingHint(painter);
    // The brush is already none here: the path is stroked, not filled.
    painter->drawPath(SmoothCurveGenerator::generateSmoothCurve(lines));
}
