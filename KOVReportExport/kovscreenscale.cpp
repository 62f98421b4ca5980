#include "kovscreenscale.h"

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
