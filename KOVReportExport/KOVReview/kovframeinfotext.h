#ifndef KOVFRAMEINFOTEXT_H
#define KOVFRAMEINFOTEXT_H

#include "kovimageinfo.h"

#include <QDateTime>
#include <QString>

// The display texts of one frame's measurements. These texts also travel
// into the test-point record and from there into the exported workbook, so
// their shape ("20.0 - 40.0 kHz", "35.5 dB") is part of the report.
class KOVFrameInfoText
{
public:
    QString time;       // "yyyy-MM-dd hh:mm"
    QString bandwidth;  // kHz, one decimal each
    QString dynamic;    // dB, one decimal
    QString ultrasonic; // dB, one decimal
    QString level;      // leak level, one decimal, no unit
    QString leakValue;  // ml/s, two decimals, no unit

    static KOVFrameInfoText fromImageInfo(const KOVImageInfo& info, const QDateTime& time);

    // Hz in, kHz out; the division is in single precision as the file's
    // integers are small and the display has one decimal.
    static QString bandText(int lowHz, int highHz);
    static QString decibelText(float dB);
    static QString timeText(const QDateTime& time);
};

#endif // KOVFRAMEINFOTEXT_H
