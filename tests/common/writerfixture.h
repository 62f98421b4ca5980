#ifndef WRITERFIXTURE_H
#define WRITERFIXTURE_H

#include "kovdatastruct.h"
#include "kovlibxl.h"

#include <QString>
#include <QStringList>

// Records and the export sequence the report writer tests share.
namespace KOVWriterFixture {

const QString kFrame = QStringLiteral("pictures/frame.jpg");     // 1024 x 600
const QString kPattern = QStringLiteral("pictures/pattern.png"); // 530 x 220

inline KOVTestPointInfo photoPoint(int k)
{
    KOVTestPointInfo tp;
    tp.name = QStringLiteral("IMG_%1.jpg").arg(k);
    tp.type = ItemType::photo;
    tp.marked = true;
    tp.photoImgPath = kFrame;
    tp.imgInfoList << KOVImgInfo{QStringLiteral("20-40kHz"), QStringLiteral("12dB"), QStringLiteral("%1.5dB").arg(40 + k), QStringLiteral("31dB")};
    tp.faultLevel = QStringLiteral("一般");
    tp.advice = QStringLiteral("建议 %1 周内复查").arg(k);
    tp.labelType = 0;
    tp.faultSite_gas = QStringLiteral("阀门 %1").arg(k);
    tp.gasType = QStringLiteral("压缩空气");
    tp.airPressure = QStringLiteral("0.6MPa");
    tp.leakageData = true;
    tp.leakage = QStringLiteral("%1.25").arg(k);
    tp.leakageLevel = QStringLiteral("3.0");
    tp.economicLosses = QStringLiteral("1234.56 ¥/年");
    return tp;
}

inline KOVTestPointInfo videoPoint(int k, bool locked, bool pdd)
{
    KOVTestPointInfo tp = photoPoint(k);
    tp.name = QStringLiteral("VID_%1.mp4").arg(k);
    tp.type = ItemType::video;
    tp.marked = locked;
    tp.photoImgPath.clear();
    tp.videoImgPathList << kFrame;
    tp.pdd = pdd;
    tp.pddImgPathList << kPattern;
    tp.prpdTypeList << QStringLiteral("沿面放电");
    return tp;
}

inline KOVTestPointInfo elecPoint(int k)
{
    KOVTestPointInfo tp = videoPoint(k, true, true);
    tp.labelType = 1;
    tp.leakageData = false;
    tp.faultSite_elec = QStringLiteral("开关柜 %1").arg(k);
    tp.distance = QStringLiteral("15");
    tp.voltage = QStringLiteral("10kV");
    tp.faultLevel = QStringLiteral("严重");
    return tp;
}

inline KOVReportInfo report(int type, const QList<KOVTestPointInfo>& points)
{
    KOVReportInfo r;
    r.type = type;
    r.name = QStringLiteral("report");
    r.company = QStringLiteral("华东能源有限公司");
    r.tester = QStringLiteral("张工");
    r.site = QStringLiteral("一号车间");
    r.datetime = QStringLiteral("2024-05-06");
    r.reportSN = QStringLiteral("SN-2024-0042");
    r.deviceModel = QStringLiteral("KOV4420");
    r.deviceSN = QStringLiteral("D123456");
    r.deviceVersion = QStringLiteral("V1.8.0");
    r.pointInfoList = points;
    return r;
}

// The export's calling order; count is what CreateExcel is told.
inline bool exportReport(const KOVReportInfo& info, int language, const QString& path, int count = -1)
{
    if (count < 0)
        count = info.pointInfoList.size();
    KOVLibxl writer;
    if (!writer.CreateExcel(path, info.type, count, language))
        return false;
    writer.WriteHomePage(info, writer.GetSheet(0));
    for (int i = 0; i < count && i < info.pointInfoList.size(); ++i)
        writer.WritePoinInfo(info.pointInfoList.at(i), writer.GetSheet(i + 1), info.type);
    return writer.SaveExcel();
}

} // namespace KOVWriterFixture

#endif // WRITERFIXTURE_H
