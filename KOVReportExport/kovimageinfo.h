#ifndef KOVIMAGEINFO_H
#define KOVIMAGEINFO_H

#include <QPoint>

// One frame's measurements from an item's info.dat. Field names (typo in
// dynamivRange included) are the keys the review page and the cache use.
struct KOVImageInfo
{
    int seq = 0;
    int freqBandLow = 0;  // Hz
    int freqBandHigh = 0; // Hz
    float dynamivRange = 0.0f;
    float maxSPLdBValue = 0.0f;
    QPoint maxSPLPos;
    float ultrasonicSPLdBValue = 0.0f;
    // Only format 13 carries the leak figures; older files leave them 0.
    float leakDistance = 0.0f;
    float leakLevel = 0.0f;
    float leakPower = 0.0f;
    float leakValue = 0.0f; // the file's value / 60
};

typedef KOVImageInfo KOVImageInfo_t;

#endif // KOVIMAGEINFO_H
