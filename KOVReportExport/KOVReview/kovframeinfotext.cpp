#include "kovframeinfotext.h"

KOVFrameInfoText KOVFrameInfoText::fromImageInfo(const KOVImageInfo& info, const QDateTime& time)
{
    KOVFrameInfoText t;
    t.time = timeText(time);
    t.bandwidth = bandText(info.freqBandLow, info.freqBandHigh);
    t.dynamic = decibelText(info.dynamivRange);
    t.ultrasonic = decibelText(info.ultrasonicSPLdBValue);
    t.level = QString::number(double(info.leakLevel), 'f', 1);
    t.leakValue = QString::number(double(info.leakValue), 'f', 2);
    return t;
}

QString KOVFrameInfoText::bandText(int lowHz, int highHz)
{
    const float low = float(lowHz) / 1000.0f;
    const float high = float(highHz) / 1000.0f;
    return QString::number(double(low), 'f', 1) + QStringLiteral(" - ") + QString::number(double(high), 'f', 1)
        + QStringLiteral(" kHz");
}

QString KOVFrameInfoText::decibelText(float dB)
{
    return QString::number(double(dB), 'f', 1) + QStringLiteral(" dB");
}

QString KOVFrameInfoText::timeText(const QDateTime& time)
{
    // An info.dat with an unreadable base time still has frames; "/" then
    // stands for the unknown time as it does for every other missing value.
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd hh:mm")) : QStringLiteral("/");
}
