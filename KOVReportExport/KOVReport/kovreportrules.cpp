#include "kovreportrules.h"

#include "kovclipnames.h"

#include <QDebug>
#include <QFile>

namespace KOVReportRules {

QQueue<int> rowsByPath(const QQueue<int>& rows, const QStringList& before, const QStringList& after)
{
    QQueue<int> out;
    for (int r : rows)
        out.enqueue(isRow(r, before.size()) ? after.indexOf(before.at(r)) : -1);
    return out;
}

void lowerRowsAbove(QQueue<int>& rows, int removed)
{
    for (int& r : rows)
        if (r > removed)
            --r;
}

static bool sameImgInfo(const QList<KOVImgInfo>& a, const QList<KOVImgInfo>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a[i].bandwidth != b[i].bandwidth || a[i].dynamic != b[i].dynamic || a[i].heatSPL != b[i].heatSPL
            || a[i].ultrasonic != b[i].ultrasonic)
            return false;
    }
    return true;
}

bool samePoint(const KOVTestPointInfo& a, const KOVTestPointInfo& b)
{
    return a.name == b.name && a.type == b.type && a.marked == b.marked && a.photoImgPath == b.photoImgPath
        && a.videoImgPathList == b.videoImgPathList && sameImgInfo(a.imgInfoList, b.imgInfoList) && a.pdd == b.pdd
        && a.wavform == b.wavform && a.pddImgPathList == b.pddImgPathList && a.prpdTypeList == b.prpdTypeList
        && a.wavformImgPath == b.wavformImgPath && a.markDir == b.markDir && a.saveClip == b.saveClip
        && a.hasClip == b.hasClip && a.clipVideo == b.clipVideo && a.clipAudio == b.clipAudio
        && a.faultLevel == b.faultLevel && a.advice == b.advice && a.judgment == b.judgment
        && a.labelType == b.labelType && a.faultSite_gas == b.faultSite_gas && a.gasType == b.gasType
        && a.airPressure == b.airPressure && a.distance == b.distance && a.voltage == b.voltage
        && a.faultSite_elec == b.faultSite_elec && a.leakageData == b.leakageData && a.leakage == b.leakage
        && a.leakageLevel == b.leakageLevel && a.economicLosses == b.economicLosses;
}

bool samePoints(const QList<KOVTestPointInfo>& a, const QList<KOVTestPointInfo>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (!samePoint(a[i], b[i]))
            return false;
    return true;
}

QStringList pointFiles(const KOVTestPointInfo& point)
{
    QStringList files;
    if (point.type != ItemType::video)
        return files;
    if (point.wavform)
        files << point.wavformImgPath;
    if (point.marked) {
        for (int j = 0; j < point.videoImgPathList.size(); ++j) {
            files << point.videoImgPathList.at(j);
            if (point.pdd && j < point.pddImgPathList.size())
                files << point.pddImgPathList.at(j);
        }
    }
    if (point.hasClip)
        files << point.clipAudio << point.clipVideo;
    return files;
}

QStringList reportPictures(const QList<KOVTestPointInfo>& points)
{
    QStringList files;
    for (const KOVTestPointInfo& p : points) {
        if (p.wavform)
            files << p.wavformImgPath;
        files << p.videoImgPathList;
        if (p.pdd)
            files << p.pddImgPathList;
    }
    return files;
}

QStringList removeFiles(const QStringList& files)
{
    QStringList failed;
    for (const QString& f : files) {
        // An empty path names no file; a missing one is already gone.
        if (f.isEmpty() || !QFile::exists(f))
            continue;
        // Records come back from the recovery cache: whatever path one
        // holds, only the program's own files in a working folder go.
        if (!KOVClipNames::inAWorkingFolder(f)) {
            qDebug() << "not removed, outside a working folder:" << f;
            failed << f;
            continue;
        }
        if (!QFile::remove(f)) {
            qDebug() << "remove failed:" << f;
            failed << f;
        }
    }
    return failed;
}

} // namespace KOVReportRules
