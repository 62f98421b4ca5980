#ifndef KOVGIF_H
#define KOVGIF_H

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QVector>

// A looping GIF animation, for the one animated icon. Qt reads GIF but does
// not write it. Each pixel takes the nearest of at most eight palette
// colours; the data is LZW-framed without compression (a clear code every
// few pixels), which is valid and small enough for an icon.
QByteArray kovGifAnimation(const QVector<QImage>& frames, const QVector<QColor>& palette, int delayCs);

#endif // KOVGIF_H
