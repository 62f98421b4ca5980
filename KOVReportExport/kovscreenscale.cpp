#include "kovscreenscale.h"

#include <algorithm>
#include <cmath>

bool KOVScreenScale::isUsableDpi(double dpi)
{
    return std::isfinite(dpi) && dpi > 0.0;
}

QString KOVScreenScale::tabStyleSheet() const
{
    return QStringLiteral("QTabBar::tab {width: ") + number(200 * m_f) + QStringLiteral("; height: ")
        + number(30 * m_f)
        + QStringLiteral(";} QTabWidget QStackedWidget { background-color: rgb(243, 244, 248); }");
}

QString KOVScreenScale::menuBarStyleSheet() const
{
    return QStringLiteral("QMenuBar { width: ") + number(50 * m_f) + QStringLiteral("px;}");
}

QString KOVScreenScale::number(double v)
{
    return QString::number(v, 'g', 6);
}

QRect KOVScreenScale::windowPlacement(QSize stored, const QRect& available, const QMargins& frame) const
{
    const int frameWidth = frame.left() + frame.right(), frameHeight = frame.top() + frame.bottom();
    const QSize most = maximumWindowSize();
    // Rounded, not truncated: the size goes back to the settings divided by
    // the factor and rounded, and must come out the same at the next start.
    const QSize wanted(qRound(stored.width() * m_f), qRound(stored.height() * m_f));
    const int w = std::max(1, std::min({wanted.width(), most.width(), available.width() - frameWidth}));
    const int h = std::max(1, std::min({wanted.height(), most.height(), available.height() - frameHeight}));
    // Centred, but never before the area's top left: the title bar must stay
    // where it can be grabbed even on a screen smaller than any window.
    const int x = available.x() + std::max(0, (available.width() - w - frameWidth) / 2) + frame.left();
    const int y = available.y() + std::max(0, (available.height() - h - frameHeight) / 2) + frame.top();
    return QRect(x, y, w, h);
}
