#include "kovxlsximageinfo.h"

namespace {

quint32 be16(const QByteArray& d, int at) { return (quint32(quint8(d[at])) << 8) | quint8(d[at + 1]); }
quint32 be32(const QByteArray& d, int at) { return (be16(d, at) << 16) | be16(d, at + 2); }
quint32 le16(const QByteArray& d, int at) { return (quint32(quint8(d[at + 1])) << 8) | quint8(d[at]); }
qint32 le32(const QByteArray& d, int at) { return qint32((quint32(le16(d, at + 2)) << 16) | le16(d, at)); }

// Pictures beyond this edge length are refused rather than trusted.
const quint32 kMaxEdge = 65535;

bool plausible(quint32 w, quint32 h) { return w > 0 && h > 0 && w <= kMaxEdge && h <= kMaxEdge; }

} // namespace

KOVXlsxImageInfo KOVXlsxImageInfo::probe(const QByteArray& data)
{
    KOVXlsxImageInfo info;
    QSize size;
    if (probeJpeg(data, &size)) {
        info.extension = QStringLiteral("jpeg");
    } else if (probePng(data, &size)) {
        info.extension = QStringLiteral("png");
    } else if (probeGif(data, &size)) {
        info.extension = QStringLiteral("gif");
    } else if (probeBmp(data, &size)) {
        info.extension = QStringLiteral("bmp");
    } else {
        return info;
    }
    info.contentType = QStringLiteral("image/") + info.extension;
    info.size = size;
    return info;
}

bool KOVXlsxImageInfo::probeJpeg(const QByteArray& d, QSize* size)
{
    if (d.size() < 4 || quint8(d[0]) != 0xFF || quint8(d[1]) != 0xD8)
        return false;
    int at = 2;
    while (at + 4 <= d.size()) {
        if (quint8(d[at]) != 0xFF)
            return false;
        const quint8 marker = quint8(d[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) // end of image or scan before any frame
            return false;
        const int len = int(be16(d, at + 2));
        if (len < 2)
            return false;
        // Start-of-frame markers are C0..CF except DHT (C4), JPG (C8), DAC (CC).
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (len < 7 || at + 9 > d.size())
                return false;
            const quint32 h = be16(d, at + 5);
            const quint32 w = be16(d, at + 7);
            if (!plausible(w, h))
                return false;
            *size = QSize(int(w), int(h));
            return true;
        }
        at += 2 + len;
    }
    return false;
}

bool KOVXlsxImageInfo::probePng(const QByteArray& d, QSize* size)
{
    static const char sig[] = "\x89PNG\r\n\x1a\n";
    if (d.size() < 24 || !d.startsWith(QByteArray(sig, 8)) || d.mid(12, 4) != "IHDR")
        return false;
    const quint32 w = be32(d, 16);
    const quint32 h = be32(d, 20);
    if (!plausible(w, h))
        return false;
    *size = QSize(int(w), int(h));
    return true;
}

bool KOVXlsxImageInfo::probeGif(const QByteArray& d, QSize* size)
{
    if (d.size() < 10 || !(d.startsWith("GIF87a") || d.startsWith("GIF89a")))
        return false;
    const quint32 w = le16(d, 6);
    const quint32 h = le16(d, 8);
    if (!plausible(w, h))
        return false;
    *size = QSize(int(w), int(h));
    return true;
}

bool KOVXlsxImageInfo::probeBmp(const QByteArray& d, QSize* size)
{
    if (d.size() < 26 || !d.startsWith("BM") || le32(d, 14) < 40)
        return false;
    const qint32 w = le32(d, 18);
    const qint32 h = le32(d, 22); // negative for top-down pictures
    const quint32 ah = h < 0 ? quint32(-qint64(h)) : quint32(h);
    if (w <= 0 || !plausible(quint32(w), ah))
        return false;
    *size = QSize(w, int(ah));
    return true;
}
