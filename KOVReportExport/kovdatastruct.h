#ifndef KOVDATASTRUCT_H
#define KOVDATASTRUCT_H

#include <QList>
#include <QString>
#include <QStringList>

// The kind of a recorded item. `null` is kept as the enumerator's name because
// it is written into the recovery cache and read back by value.
enum ItemType : int {
    null = 0,
    photo = 1,
    video = 2,
};

// Display texts of one picture or locked frame, units included.
struct KOVImgInfo
{
    QString bandwidth;
    QString dynamic;
    QString heatSPL;
    QString ultrasonic;
};

// One test point of a report. Field order matters to nobody but readers of
// this header; the names travel into the recovery cache and must not change.
struct KOVTestPointInfo
{
    QString name;
    ItemType type = ItemType::null;
    bool marked = false;
    QString photoImgPath;
    QStringList videoImgPathList;
    QList<KOVImgInfo> imgInfoList;
    bool pdd = false;
    bool wavform = false;
    QStringList pddImgPathList;
    QStringList prpdTypeList;
    QString wavformImgPath;
    QString markDir;
    bool saveClip = false;
    bool hasClip = false;
    QString clipVideo;
    QString clipAudio;
    QString faultLevel;
    QString advice;
    QString judgment;
    int labelType = -1;
    QString faultSite_gas;
    QString gasType;
    QString airPressure;
    QString distance;
    QString voltage;
    QString faultSite_elec;
    bool leakageData = false;
    QString leakage;
    QString leakageLevel;
    QString economicLosses;
};

// One report: 0 gas leak, 1 electricity (partial discharge).
struct KOVReportInfo
{
    int type = 0;
    QString name;
    QString company;
    QString tester;
    QString site;
    QString datetime;
    QString reportSN;
    QString deviceModel;
    QString deviceSN;
    QString deviceVersion;
    QList<KOVTestPointInfo> pointInfoList;
};

// Signal argument names. They are not registered with the meta-type system on
// purpose: connections carrying them must stay direct, on the interface thread.
typedef KOVTestPointInfo KOVTestPointInfo_t;
typedef KOVReportInfo KOVReportInfo_t;

#endif // KOVDATASTRUCT_H
