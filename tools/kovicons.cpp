// Draws the application's icons. The PNGs are committed under
// KOVReportExport/style/ico; run this again after changing a drawing:
//   build/tools/kovicons KOVReportExport/style/ico
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <map>

namespace {

QImage canvas(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

// The imager seen from the front: a dark body, a ring of microphones, a lens.
void drawApp(QPainter& p, int s)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88), s * 0.18, s * 0.18);
    p.setPen(QPen(QColor(0x9f, 0xd3, 0xff), s * 0.05));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        const double r = s * (0.12 + 0.1 * i);
        p.drawArc(QRectF(s * 0.5 - r, s * 0.5 - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
    }
    p.setBrush(QColor(0xff, 0x8c, 0x1a));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(s * 0.5, s * 0.58), s * 0.11, s * 0.11);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const std::map<QString, std::pair<int, std::function<void(QPainter&, int)>>> icons = {
        { QStringLiteral("app.png"), { 128, drawApp } },
    };
    for (const auto& [name, spec] : icons) {
        QImage img = canvas(spec.first);
        {
            QPainter p(&img);
            spec.second(p, spec.first);
        }
        if (!img.save(QDir(out).filePath(name)))
            return 1;
    }
    return 0;
}
