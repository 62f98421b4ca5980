// Draws the application's icons. The PNGs are committed under
// KOVReportExport/style/ico; run this again after changing a drawing:
//   build/tools/kovicons KOVReportExport/style/ico
#include "kovgif.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
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


// Review page: playback, frame stepping, lock, clip, tag and drop-down
// drawings. The play button shows "pause.png" while stopped and "play.png"
// while playing, so pause.png carries the play triangle (the action a press
// starts) and play.png the pause bars.
const QColor kReviewBlue(0x1f, 0x6f, 0xc5);
const QColor kReviewGrey(0xb4, 0xb4, 0xb4);

void drawRoundBase(QPainter& p, int s, const QColor& c)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92));
}

void drawTriangle(QPainter& p, int s, double x0, double x1, bool right)
{
    QPainterPath path;
    const double tip = right ? x1 : x0;
    const double base = right ? x0 : x1;
    path.moveTo(base * s, s * 0.28);
    path.lineTo(tip * s, s * 0.5);
    path.lineTo(base * s, s * 0.72);
    path.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void drawPlayTriangle(QPainter& p, int s, const QColor& c)
{
    drawRoundBase(p, s, c);
    drawTriangle(p, s, 0.38, 0.74, true);
}

void drawPauseBars(QPainter& p, int s)
{
    drawRoundBase(p, s, kReviewBlue);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.34, s * 0.28, s * 0.11, s * 0.44));
    p.drawRect(QRectF(s * 0.55, s * 0.28, s * 0.11, s * 0.44));
}

void drawStep(QPainter& p, int s, const QColor& c, bool forward)
{
    drawRoundBase(p, s, c);
    if (forward) {
        drawTriangle(p, s, 0.3, 0.62, true);
        p.drawRect(QRectF(s * 0.63, s * 0.28, s * 0.08, s * 0.44));
    } else {
        drawTriangle(p, s, 0.38, 0.7, false);
        p.drawRect(QRectF(s * 0.29, s * 0.28, s * 0.08, s * 0.44));
    }
}

void drawPadlock(QPainter& p, int s, const QColor& c)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c, s * 0.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(s * 0.3, s * 0.12, s * 0.4, s * 0.46), 0, 180 * 16);
    p.drawLine(QPointF(s * 0.3, s * 0.35), QPointF(s * 0.3, s * 0.45));
    p.drawLine(QPointF(s * 0.7, s * 0.35), QPointF(s * 0.7, s * 0.45));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(s * 0.18, s * 0.44, s * 0.64, s * 0.46), s * 0.08, s * 0.08);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(s * 0.5, s * 0.62), s * 0.06, s * 0.06);
    p.drawRect(QRectF(s * 0.475, s * 0.64, s * 0.05, s * 0.14));
}

void drawScissors(QPainter& p, int s, const QColor& c)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c, s * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(s * 0.22, s * 0.12), QPointF(s * 0.62, s * 0.66));
    p.drawLine(QPointF(s * 0.78, s * 0.12), QPointF(s * 0.38, s * 0.66));
    p.drawEllipse(QPointF(s * 0.3, s * 0.76), s * 0.13, s * 0.13);
    p.drawEllipse(QPointF(s * 0.7, s * 0.76), s * 0.13, s * 0.13);
}

void drawCross(QPainter& p, int s, double cx, double cy, double r, const QColor& c)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(s * cx, s * cy), s * r, s * r);
    p.setPen(QPen(Qt::white, s * r * 0.28, Qt::SolidLine, Qt::RoundCap));
    const double d = r * 0.45;
    p.drawLine(QPointF(s * (cx - d), s * (cy - d)), QPointF(s * (cx + d), s * (cy + d)));
    p.drawLine(QPointF(s * (cx + d), s * (cy - d)), QPointF(s * (cx - d), s * (cy + d)));
}

// Main window: the batch-delete confirm button's waste bin.
void drawBin(QPainter& p, int s, const QColor& c)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(s * 0.16, s * 0.24), QPointF(s * 0.84, s * 0.24));
    p.drawLine(QPointF(s * 0.4, s * 0.12), QPointF(s * 0.6, s * 0.12));
    QPainterPath body;
    body.moveTo(s * 0.24, s * 0.3);
    body.lineTo(s * 0.3, s * 0.88);
    body.lineTo(s * 0.7, s * 0.88);
    body.lineTo(s * 0.76, s * 0.3);
    p.drawPath(body);
    for (double x : { 0.42, 0.58 })
        p.drawLine(QPointF(s * x, s * 0.42), QPointF(s * x, s * 0.76));
}

void drawTag(QPainter& p, int s)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(s * 0.1, s * 0.5);
    path.lineTo(s * 0.35, s * 0.2);
    path.lineTo(s * 0.9, s * 0.2);
    path.lineTo(s * 0.9, s * 0.8);
    path.lineTo(s * 0.35, s * 0.8);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x96, 0x46));
    p.drawPath(path);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(s * 0.33, s * 0.5), s * 0.07, s * 0.07);
}

void drawCaretDown(QPainter& p, int s)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(s * 0.3, s * 0.42);
    path.lineTo(s * 0.7, s * 0.42);
    path.lineTo(s * 0.5, s * 0.62);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x59, 0x59, 0x59));
    p.drawPath(path);
}

// The empty display: a faint picture frame with a mountain and a sun.
void drawNoImage(QPainter& p, int s)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c(0xd0, 0xd3, 0xda);
    p.setPen(QPen(c, s * 0.04));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(s * 0.1, s * 0.2, s * 0.8, s * 0.6), s * 0.05, s * 0.05);
    QPainterPath hill;
    hill.moveTo(s * 0.14, s * 0.76);
    hill.lineTo(s * 0.4, s * 0.46);
    hill.lineTo(s * 0.56, s * 0.62);
    hill.lineTo(s * 0.66, s * 0.52);
    hill.lineTo(s * 0.86, s * 0.76);
    hill.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(hill);
    p.drawEllipse(QPointF(s * 0.7, s * 0.35), s * 0.06, s * 0.06);
}

// Report page: a chevron folding the information box up or down, and a
// calendar leaf for the date button.
void drawChevron(QPainter& p, int s, bool up)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x59, 0x59, 0x59), s * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double yTip = up ? 0.36 : 0.64;
    const double yEnd = up ? 0.64 : 0.36;
    QPainterPath path;
    path.moveTo(s * 0.22, s * yEnd);
    path.lineTo(s * 0.5, s * yTip);
    path.lineTo(s * 0.78, s * yEnd);
    p.drawPath(path);
}

void drawCalendar(QPainter& p, int s)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kReviewBlue);
    p.drawRoundedRect(QRectF(s * 0.16, s * 0.2, s * 0.68, s * 0.64), s * 0.06, s * 0.06);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.22, s * 0.36, s * 0.56, s * 0.42));
    p.setBrush(kReviewBlue);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawRect(QRectF(s * (0.28 + 0.16 * c), s * (0.44 + 0.16 * r), s * 0.1, s * 0.1));
    p.drawRect(QRectF(s * 0.3, s * 0.12, s * 0.06, s * 0.14));
    p.drawRect(QRectF(s * 0.64, s * 0.12, s * 0.06, s * 0.14));
}

// The audio tag's animation: bars of a sound wave rising and falling.
QVector<QImage> waveFrames()
{
    QVector<QImage> frames;
    const int w = 191;
    const int h = 41;
    for (int f = 0; f < 8; ++f) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(QColor(186, 186, 186));
        QPainter p(&img);
        p.setPen(Qt::NoPen);
        p.setBrush(kReviewBlue);
        for (int b = 0; b < 19; ++b) {
            const double phase = (b + f * 2.4) * 0.55;
            const int bar = int(6 + 15 * (0.5 + 0.5 * std::sin(phase)) * (0.6 + 0.4 * std::cos(b * 0.7)));
            p.drawRect(4 + b * 10, h / 2 - bar, 6, 2 * bar);
        }
        frames.append(img);
    }
    return frames;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const std::map<QString, std::pair<int, std::function<void(QPainter&, int)>>> icons = {
        { QStringLiteral("app.png"), { 128, drawApp } },
        { QStringLiteral("pause.png"), { 60, [](QPainter& p, int s) { drawPlayTriangle(p, s, kReviewBlue); } } },
        { QStringLiteral("pause_gray.png"), { 60, [](QPainter& p, int s) { drawPlayTriangle(p, s, kReviewGrey); } } },
        { QStringLiteral("play.png"), { 60, drawPauseBars } },
        { QStringLiteral("lastFrame_video.png"), { 60, [](QPainter& p, int s) { drawStep(p, s, kReviewBlue, false); } } },
        { QStringLiteral("lastFrame_video_gray.png"), { 60, [](QPainter& p, int s) { drawStep(p, s, kReviewGrey, false); } } },
        { QStringLiteral("nextFrame_video.png"), { 60, [](QPainter& p, int s) { drawStep(p, s, kReviewBlue, true); } } },
        { QStringLiteral("nextFrame_video_gray.png"), { 60, [](QPainter& p, int s) { drawStep(p, s, kReviewGrey, true); } } },
        { QStringLiteral("VideoWin/lockBtn.png"), { 60, [](QPainter& p, int s) { drawPadlock(p, s, kReviewBlue); } } },
        { QStringLiteral("VideoWin/lock.png"), { 32, [](QPainter& p, int s) { drawPadlock(p, s, QColor(0x59, 0x59, 0x59)); } } },
        { QStringLiteral("VideoWin/lockDel.png"), { 32, [](QPainter& p, int s) { drawCross(p, s, 0.5, 0.5, 0.36, QColor(0xd9, 0x3b, 0x3b)); } } },
        { QStringLiteral("VideoWin/cut.png"), { 32, [](QPainter& p, int s) { drawScissors(p, s, QColor(0x40, 0x40, 0x40)); } } },
        { QStringLiteral("VideoWin/cutDel.png"), { 50, [](QPainter& p, int s) {
              drawScissors(p, s, QColor(0x40, 0x40, 0x40));
              drawCross(p, s, 0.74, 0.3, 0.22, QColor(0xd9, 0x3b, 0x3b));
          } } },
        { QStringLiteral("VideoWin/tag.png"), { 32, drawTag } },
        { QStringLiteral("VideoWin/caret-down.png"), { 30, drawCaretDown } },
        { QStringLiteral("null.png"), { 256, drawNoImage } },
        { QStringLiteral("MainWin/del.png"), { 32, [](QPainter& p, int s) { drawBin(p, s, QColor(0xd9, 0x3b, 0x3b)); } } },
        { QStringLiteral("reportWin/up.png"), { 40, [](QPainter& p, int s) { drawChevron(p, s, true); } } },
        { QStringLiteral("reportWin/down.png"), { 40, [](QPainter& p, int s) { drawChevron(p, s, false); } } },
        { QStringLiteral("reportWin/date.png"), { 60, drawCalendar } },
    };
    for (const auto& [name, drawing] : icons) {
        QImage img = canvas(drawing.first);
        {
            QPainter p(&img);
            drawing.second(p, drawing.first);
        }
        QDir(out).mkpath(QFileInfo(name).path());
        if (!img.save(QDir(out).filePath(name)))
            return 1;
    }
    QFile gif(QDir(out).filePath(QStringLiteral("wav.gif")));
    const QByteArray bytes = kovGifAnimation(waveFrames(), { QColor(186, 186, 186), kReviewBlue }, 10);
    if (!gif.open(QIODevice::WriteOnly) || gif.write(bytes) != bytes.size())
        return 1;
    return 0;
}
