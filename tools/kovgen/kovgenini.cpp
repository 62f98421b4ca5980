// usrInfo.ini and itemInfo.ini as the imager writes them.
#include "kovgen.h"
#include "kovgenrandom.h"

#include <QFile>
#include <QTextCodec>

namespace KOVGen {

bool writeIni(const QString& path, const QVector<IniGroup>& groups, const char* codec, LineEnd lineEnd)
{
    const QString eol = lineEnd == LineEnd::CRLF ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (int g = 0; g < groups.size(); ++g) {
        if (g > 0)
            text += eol;
        text += QLatin1Char('[') + groups[g].name + QLatin1Char(']') + eol;
        for (const auto& kv : groups[g].keys)
            text += kv.first + QLatin1Char('=') + kv.second + eol;
    }
    QTextCodec* c = QTextCodec::codecForName(codec ? codec : "UTF-8");
    if (!c)
        return false;
    const QByteArray bytes = c->fromUnicode(text);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

UsrInfo demoUsrInfo(quint64 seed)
{
    KOVGenRandom r(seed);
    static const char* const companies[] = {"华东电力检测有限公司", "Northfield Gas Works, Ltd.", "星河化工;维修部"};
    static const char* const sites[] = {"1号变电站, 110kV区", "压缩空气站 B栋", "厂区东侧;管廊3段"};
    static const char* const testers[] = {"张伟", "李娜", "Chen Jie"};
    UsrInfo u;
    u.company = QString::fromUtf8(companies[r.range(0, 2)]);
    u.reportSN = QStringLiteral("RPT-2024-%1").arg(r.range(1, 9999), 4, 10, QLatin1Char('0'));
    u.tester = QString::fromUtf8(testers[r.range(0, 2)]);
    u.site = QString::fromUtf8(sites[r.range(0, 2)]);
    u.datetime = QStringLiteral("2024-03-15 10:%1:00").arg(r.range(0, 59), 2, 10, QLatin1Char('0'));
    u.model = QStringLiteral("KOV-U200");
    u.version = QStringLiteral("V2.1.%1").arg(r.range(0, 9));
    u.sn = QStringLiteral("KU%1").arg(r.range(10000000, 99999999));
    return u;
}

bool writeUsrInfo(const QString& path, const UsrInfo& u, const char* codec)
{
    IniGroup test{QStringLiteral("TestInfo"),
                  {{QStringLiteral("company"), u.company},
                   {QStringLiteral("reportSN"), u.reportSN},
                   {QStringLiteral("tester"), u.tester},
                   {QStringLiteral("site"), u.site},
                   {QStringLiteral("datetime"), u.datetime}}};
    IniGroup device{QStringLiteral("DeviceInfo"),
                    {{QStringLiteral("model"), u.model},
                     {QStringLiteral("version"), u.version},
                     {QStringLiteral("sn"), u.sn}}};
    return writeIni(path, {test, device}, codec);
}

ItemLabel gasLabel(quint64 seed)
{
    KOVGenRandom r(seed);
    static const char* const sites[] = {"阀门接口, 3号管线", "储气罐;出口法兰", "Compressor B, outlet"};
    static const char* const gases[] = {"压缩空气", "氮气", "天然气"};
    ItemLabel l;
    l.type = 0;
    l.faultSite = QString::fromUtf8(sites[r.range(0, 2)]);
    l.airPressure = QString::number(r.range(2, 12) / 10.0, 'f', 1);
    l.airUnit = QStringLiteral("MPa");
    l.airType = QString::fromUtf8(gases[r.range(0, 2)]);
    return l;
}

ItemLabel electricalLabel(quint64 seed)
{
    KOVGenRandom r(seed);
    static const char* const sites[] = {"变压器A相, 套管", "母线;B相 接头", "GIS 间隔 2"};
    static const int volts[] = {10, 35, 110, 220};
    ItemLabel l;
    l.type = 1;
    l.faultSiteElec = QString::fromUtf8(sites[r.range(0, 2)]);
    l.voltage = QString::number(volts[r.range(0, 3)]);
    l.elecUnit = QStringLiteral("kV");
    l.distance = QString::number(r.range(15, 80) / 10.0, 'f', 1);
    return l;
}

bool writeItemInfo(const QString& path, const ItemLabel& l, const char* codec)
{
    QVector<IniGroup> groups;
    groups.append({QStringLiteral("itemInfo"), {{QStringLiteral("type"), QString::number(l.type)}}});
    if (l.type == 1)
        groups.append({QStringLiteral("ElectricLeak"),
                       {{QStringLiteral("faultSite"), l.faultSiteElec},
                        {QStringLiteral("voltage"), l.voltage},
                        {QStringLiteral("elecUnit"), l.elecUnit},
                        {QStringLiteral("distance"), l.distance}}});
    else
        groups.append({QStringLiteral("GasLeak"),
                       {{QStringLiteral("faultSite"), l.faultSite},
                        {QStringLiteral("airPressure"), l.airPressure},
                        {QStringLiteral("airUnit"), l.airUnit},
                        {QStringLiteral("airType"), l.airType}}});
    return writeIni(path, groups, codec);
}

} // namespace KOVGen
