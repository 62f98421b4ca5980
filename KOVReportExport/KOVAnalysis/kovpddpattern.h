#ifndef KOVPDDPATTERN_H
#define KOVPDDPATTERN_H

#include "kovpddpulsecapture.h"

#include <QImage>
#include <QList>
#include <QString>

// The pattern of one mains period as the pulse capture gives it.
struct PddBuffer
{
    float Data[240] = {};
    float max = 0.0f; // largest of the bins in use
    KOVPddPulseCapture::PddType pddType = KOVPddPulseCapture::PddTypeNone;
};

// The phase-resolved pattern picture of the last periods and their class.
namespace KOVPddPattern {

constexpr int kBins = 240;
constexpr int kWidth = 530;
constexpr int kHeight = 220;

// Bins in use for a count read from info.dat: at most the 240 held; a count
// below 1 means the default 240.
int usableBins(int pddLen);

// The class vote over the listed periods (an untranslated source text of
// context QObject).
const char* classText(int none, int corona, int alongSurface, int freeMetal);
const char* classText(const QList<PddBuffer>& periods);

// Largest max of the periods: the first period's, replaced only by a strictly
// larger one.
float scaleOf(const QList<PddBuffer>& periods);
// Dot position of bin k of bins: x from 0 to 525, y from 30 (a value equal to
// the scale) to 215 (0, and every value when the scale is 0).
int dotX(int k, int bins);
int dotY(float value, float scale);

// The 530 x 220 picture: grid, class text, the dots of every period oldest
// first, frame.
QImage picture(const QList<PddBuffer>& periods, int bins, const QString& text);

} // namespace KOVPddPattern

#endif // KOVPDDPATTERN_H
