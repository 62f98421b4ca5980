#include "kovgif.h"

#include <limits>

namespace {

void put16(QByteArray& out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

int nearest(QRgb c, const QVector<QColor>& palette)
{
    int best = 0;
    int bestDist = std::numeric_limits<int>::max();
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(c) - palette[i].red();
        const int dg = qGreen(c) - palette[i].green();
        const int db = qBlue(c) - palette[i].blue();
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return best;
}

// Minimum code size 3: clear 8, end 9, codes 4 bits wide. A clear after
// every six pixels keeps the decoder's table below 16 entries, so the width
// never grows.
QByteArray lzwUncompressed(const QVector<quint8>& indexes)
{
    QByteArray bytes;
    quint32 acc = 0;
    int bits = 0;
    auto put = [&](int code) {
        acc |= quint32(code) << bits;
        bits += 4;
        while (bits >= 8) {
            bytes.append(char(acc & 0xff));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (int i = 0; i < indexes.size(); ++i) {
        if (i % 6 == 0)
            put(8);
        put(indexes[i]);
    }
    put(9);
    if (bits > 0)
        bytes.append(char(acc & 0xff));
    QByteArray blocks;
    for (int pos = 0; pos < bytes.size(); pos += 255) {
        const QByteArray chunk = bytes.mid(pos, 255);
        blocks.append(char(chunk.size()));
        blocks.append(chunk);
    }
    blocks.append(char(0));
    return blocks;
}

} // namespace

QByteArray kovGifAnimation(const QVector<QImage>& frames, const QVector<QColor>& palette, int delayCs)
{
    if (frames.isEmpty() || palette.isEmpty() || palette.size() > 8)
        return QByteArray();
    const int w = frames[0].width();
    const int h = frames[0].height();
    QByteArray out("GIF89a");
    put16(out, w);
    put16(out, h);
    out.append(char(0xa2)); // global table of 8 colours, 3 bits per primary
    out.append(char(0));
    out.append(char(0));
    for (int i = 0; i < 8; ++i) {
        const QColor c = palette.value(i, palette.last());
        out.append(char(c.red()));
        out.append(char(c.green()));
        out.append(char(c.blue()));
    }
    out.append(QByteArray("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19));
    for (const QImage& frame : frames) {
        const QImage f = frame.convertToFormat(QImage::Format_RGB32);
        out.append(QByteArray("\x21\xf9\x04\x04", 4)); // no transparency, keep the frame
        put16(out, delayCs);
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2c));
        put16(out, 0);
        put16(out, 0);
        put16(out, w);
        put16(out, h);
        out.append(char(0));
        out.append(char(3));
        QVector<quint8> idx;
        idx.reserve(w * h);
        for (int y = 0; y < h; ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(f.constScanLine(y));
            for (int x = 0; x < w; ++x)
                idx.append(quint8(nearest(x < f.width() ? row[x] : qRgb(0, 0, 0), palette)));
        }
        out.append(lzwUncompressed(idx));
    }
    out.append(char(0x3b));
    return out;
}
