// An item's info.dat: frame records, device lines, discharge length, pressure.
#include "kovfuzzfile.h"
#include "koviteminfo.h"

#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    QDir::setCurrent(KOVFuzz::scratch());
    KOVItemInfo info;
    const int n = info.readItemInfo(KOVFuzz::writeInput(QStringLiteral("info.dat"), data, size));
    KOVFuzz::check(n >= 0 && n == info.imageCount(), "the count returned is the count kept");
    KOVImageInfo frame;
    for (const int i : {0, 1, n / 2, n, n + 1})
        KOVFuzz::check(info.getImageInfo(i, frame) == (i >= 1 && i <= n), "frames exist exactly in 1..count");
    info.getImageTime(n);
    QJsonObject cache;
    info.saveData(cache);
    KOVItemInfo back;
    back.restoreData(cache);
    return 0;
}
