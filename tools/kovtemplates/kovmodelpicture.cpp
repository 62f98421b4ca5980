#include "kovmodelpicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>

QImage KOVModelPicture::draw(int model)
{
    QImage img(400, 300, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = model == 4410 ? QColor(0x2E, 0x55, 0x8F) : model == 4420 ? QColor(0x3A, 0x3A, 0x3A) : QColor(0xC0, 0x5A, 0x10);
    const int rings = model == 4410 ? 2 : model == 4420 ? 3 : 4;

    // Grip.
    QPainterPath grip;
    grip.addRoundedRect(QRectF(160, 150, 80, 140), 18, 18);
    p.fillPath(grip, body.darker(130));
    // Head with the microphone array.
    QPainterPath head;
    head.addRoundedRect(QRectF(40, 20, 320, 150), 30, 30);
    p.fillPath(head, body);
    p.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 3));
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawEllipse(QPointF(200, 95), 62, 62);
    p.setBrush(QColor(0xD0, 0xD0, 0xD0));
    p.setPen(Qt::NoPen);
    for (int r = 1; r <= rings; ++r) {
        const int n = 6 * r;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n;
            p.drawEllipse(QPointF(200 + std::cos(a) * r * 52.0 / rings, 95 + std::sin(a) * r * 52.0 / rings), 3.5, 3.5);
        }
    }
    // Camera lens and trigger.
    p.setBrush(QColor(0x10, 0x60, 0xA0));
    p.drawEllipse(QPointF(310, 55), 14, 14);
    p.setBrush(body.lighter(150));
    p.drawRoundedRect(QRectF(140, 185, 20, 40), 6, 6);
    return img;
}
