#ifndef KOVMARKLOOKUP_H
#define KOVMARKLOOKUP_H

#include "kovdatastruct.h"

#include <QList>

// Bounds-checked access to the parallel lists a review page keeps per locked
// frame (frame numbers, images, pattern pictures, pattern types, display
// texts). The lists are meant to be equally long, but a restored page can
// hold shorter ones and the pattern lists only grow while partial-discharge
// data exists, so no position found in one list is trusted in another.
class KOVMarkLookup
{
public:
    // Position of frame number frameNo (from 1) among the locked frames, or -1.
    static int position(const QList<int>& marks, int frameNo);

    // Stored reading of the locked frame frameNo; false when the frame is not
    // locked or the list has no entry for it.
    static bool heatSPL(const QList<int>& marks, const QList<KOVImgInfo>& infos, int frameNo, QString* out);

    // Replaces the entry of locked frame frameNo; false (nothing changed) when
    // the frame is not locked or the list has no entry at its position.
    static bool replace(const QList<int>& marks, QList<KOVImgInfo>& infos, int frameNo, const KOVImgInfo& info);

    template <typename T>
    static bool valid(const QList<T>& list, int pos)
    {
        return pos >= 0 && pos < list.size();
    }
};

#endif // KOVMARKLOOKUP_H
