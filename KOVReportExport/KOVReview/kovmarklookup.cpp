#include "kovmarklookup.h"

int KOVMarkLookup::position(const QList<int>& marks, int frameNo)
{
    return marks.indexOf(frameNo);
}

bool KOVMarkLookup::heatSPL(const QList<int>& marks, const QList<KOVImgInfo>& infos, int frameNo, QString* out)
{
    const int pos = position(marks, frameNo);
    if (!valid(infos, pos))
        return false;
    *out = infos[pos].heatSPL;
    return true;
}

bool KOVMarkLookup::replace(const QList<int>& marks, QList<KOVImgInfo>& infos, int frameNo, const KOVImgInfo& info)
{
    const int pos = position(marks, frameNo);
    if (!valid(infos, pos))
        return false;
    infos[pos] = info;
    return true;
}
