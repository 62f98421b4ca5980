#include "kovslider.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

KOVSlider::KOVSlider(QWidget* parent)
    : QSlider(parent)
{
}

KOVSlider::~KOVSlider() = default;

bool KOVSlider::valueAt(int x, int width, int minimum, int maximum, int* value)
{
    if (width <= 0 || maximum <= minimum)
        return false;
    // (x + 1) so that the last pixel lands exactly on the maximum, which is then
    // deliberately left alone: a drag ending there keeps the value it set.
    const double fraction = double(x + 1) / double(width);
    const double candidate = double(minimum) + fraction * (double(maximum) - double(minimum));
    // Far outside the slider (a release after dragging off-screen) the double
    // would not fit an int; the base class clamps anything beyond the range.
    const double clamped = std::max(double(INT_MIN), std::min(double(INT_MAX), std::trunc(candidate)));
    const int v = int(clamped);
    if (v == maximum)
        return false;
    *value = v;
    return true;
}

void KOVSlider::mouseReleaseEvent(QMouseEvent* event)
{
    int v = 0;
    if (valueAt(qRound(event->localPos().x()), width(), minimum(), maximum(), &v))
        setValue(v);
    // The base class must still see the release to end a handle drag or the
    // step repeat a press on the groove started.
    QSlider::mouseReleaseEvent(event);
}

void KOVSlider::wheelEvent(QWheelEvent* event)
{
    // QWidget's handler ignores the event, so it travels on to the parent.
    QWidget::wheelEvent(event);
}
