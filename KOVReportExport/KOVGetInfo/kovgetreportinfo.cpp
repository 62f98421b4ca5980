#include "kovgetreportinfo.h"

#include "kovinifile.h"

#include <QFileInfo>

bool KOVGetReportInfo::readUsrCfgInfo(QString path)
{
    if (!QFileInfo(path).isFile())
        return false;

    KOVIniFile ini;
    ini.load(path, "GBK", KOVIniFile::TextOnly);
    const struct { const char* key; QString* member; } keys[] = {
        { "/TestInfo/company", &m_company },   { "/TestInfo/reportSN", &m_reportSN },
        { "/TestInfo/tester", &m_tester },     { "/TestInfo/site", &m_site },
        { "/TestInfo/datetime", &m_dateTime }, { "/DeviceInfo/model", &m_model },
        { "/DeviceInfo/version", &m_version }, { "/DeviceInfo/sn", &m_deviceSN },
    };
    for (const auto& k : keys) {
        const QString v = ini.text(QLatin1String(k.key));
        if (!v.isNull())
            *k.member = v;
    }
    return true;
}
