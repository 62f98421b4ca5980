#include "kovlockcheck.h"

#include <QFileInfo>
#include <QSet>

QString KOVLockCheck::check(const KOVLockState& s, bool files)
{
    const int n = s.marks.size();
    if (n > kMaxLocked)
        return QStringLiteral("%1 frames locked").arg(n);
    if (QSet<int>(s.marks.begin(), s.marks.end()).size() != n)
        return QStringLiteral("a frame is locked twice");
    for (int f : s.marks) {
        if (f < 1)
            return QStringLiteral("frame number %1 below 1").arg(f);
    }
    if (s.images.size() != n)
        return QStringLiteral("%1 images for %2 frames").arg(s.images.size()).arg(n);
    // The pattern lists grow only once pattern data exists: never longer.
    if (s.pddImages.size() != s.pddTypes.size())
        return QStringLiteral("%1 pattern pictures, %2 types").arg(s.pddImages.size()).arg(s.pddTypes.size());
    if (s.pddImages.size() > n)
        return QStringLiteral("%1 pattern pictures for %2 frames").arg(s.pddImages.size()).arg(n);
    if (s.record.type != ItemType::video)
        return QString();
    if (s.record.marked != (n > 0))
        return QStringLiteral("marked flag %1 with %2 frames").arg(s.record.marked).arg(n);
    if (s.record.videoImgPathList.size() != n)
        return QStringLiteral("%1 frame paths for %2 frames").arg(s.record.videoImgPathList.size()).arg(n);
    if (s.record.imgInfoList.size() != n)
        return QStringLiteral("%1 frame informations for %2 frames").arg(s.record.imgInfoList.size()).arg(n);
    if (s.record.pddImgPathList.size() > s.pddImages.size())
        return QStringLiteral("%1 pattern paths for %2 pictures")
            .arg(s.record.pddImgPathList.size())
            .arg(s.pddImages.size());
    // The workbook names each pattern picture's class from the record.
    if (s.record.prpdTypeList.size() != s.record.pddImgPathList.size())
        return QStringLiteral("%1 pattern classes for %2 pattern paths")
            .arg(s.record.prpdTypeList.size())
            .arg(s.record.pddImgPathList.size());
    if (files) {
        for (const QString& p : s.record.videoImgPathList + s.record.pddImgPathList) {
            if (!QFileInfo(p).isFile())
                return QStringLiteral("missing file %1").arg(p);
        }
    }
    return QString();
}
