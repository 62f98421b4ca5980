#include "kovpddpattern.h"

#include <QGuiApplication>
#include <QPainter>

#include <cmath>

namespace KOVPddPattern {

int usableBins(int pddLen)
{
    if (pddLen < 1 || pddLen > kBins)
        return kBins;
    return pddLen;
}

const char* classText(int c0, int c1, int c2, int c3)
{
    const int total = c0 + c1 + c2 + c3;
    const int m = std::max(c0, c1);
    if (c2 > m)
        return c2 >= c3 ? "沿面放电、悬浮放电" : "自由金属放电";
    if (c3 > m)
        return "自由金属放电";
    if (c1 > c0)
        return "电晕，尖端放电";
    if (double(c0) >= 0.8 * double(total))
        return c2 > 0 ? "沿面放电、悬浮放电" : "未检测到放电";
    if (c2 > c1)
        return c3 > c2 ? "自由金属放电" : "沿面放电、悬浮放电";
    if (c3 > c1)
        return "自由金属放电";
    return "电晕，尖端放电";
}

const char* classText(const QList<PddBuffer>& periods)
{
    int c[4] = { 0, 0, 0, 0 };
    for (const PddBuffer& p : periods) {
        const int t = int(p.pddType);
        if (t >= 0 && t < 4)
            ++c[t];
    }
    return classText(c[0], c[1], c[2], c[3]);
}

float scaleOf(const QList<PddBuffer>& periods)
{
    if (periods.isEmpty())
        return 0.0f;
    float m = periods.first().max;
    for (const PddBuffer& p : periods)
        if (p.max > m)
            m = p.max;
    return m;
}

int dotX(int k, int bins)
{
    return bins > 0 ? (k * 525) / bins : 0;
}

int dotY(float value, float scale)
{
    // No scale (every value 0) or a broken one: the dots lie on the bottom line.
    if (!(scale > 0.0f) || !std::isfinite(scale) || !std::isfinite(value))
        return 215;
    const float y = 185.0f - value * 185.0f / scale + 30.0f;
    return int(y);
}

QImage picture(const QList<PddBuffer>& periods, int bins, const QString& text)
{
    bins = usableBins(bins);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(QColor(255, 255, 255));
    QPainter p(&img);

    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    for (int y : { 30, 93, 166 })
        p.drawLine(0, y, 530, y);
    for (int x : { 132, 265, 397 })
        p.drawLine(x, 30, x, 220);

    QFont font = QGuiApplication::font();
    font.setPointSize(13);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPoint(10, 21), text);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 100, 0));
    const float scale = scaleOf(periods);
    for (const PddBuffer& period : periods) {
        for (int k = 0; k < bins; ++k) {
            const int x = dotX(k, bins);
            const int y = dotY(period.Data[k], scale);
            p.drawEllipse(QRect(QPoint(x + 2, y), QPoint(x + 5, y + 3)));
        }
    }

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    p.drawRect(QRect(QPoint(0, 0), QPoint(528, 218)));
    p.end();
    return img;
}

} // namespace KOVPddPattern
