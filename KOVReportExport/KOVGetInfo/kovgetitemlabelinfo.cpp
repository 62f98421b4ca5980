#include "kovgetitemlabelinfo.h"

#include "kovinifile.h"

#include <QDebug>
#include <QFileInfo>

QString KOVGetItemLabelInfo::checkIsEmpty(QString s)
{
    return s.isEmpty() ? QStringLiteral("/") : s;
}

void KOVGetItemLabelInfo::clear()
{
    const QString none = QStringLiteral("/");
    m_labelType = -1;
    m_faultSite_elec = none;
    m_distance = none;
    m_voltage = none;
    m_elecUnit.clear();
    m_gasType = none;
    m_airPressure = none;
    m_airUnit.clear();
    m_faultSite_gas = none;
}

bool KOVGetItemLabelInfo::readItemCfgInfo(QString path)
{
    m_itemInfoPath = path;
    clear();
    if (!QFileInfo(path).isFile())
        return false;

    KOVIniFile ini;
    ini.load(path, "GBK", KOVIniFile::TextOnly);
    const QString type = ini.text(QStringLiteral("/itemInfo/type"));
    m_labelType = type.isNull() ? -1 : type.trimmed().toInt();

    const struct { const char* key; QString* member; bool slashWhenEmpty; } keys[] = {
        { "/GasLeak/faultSite", &m_faultSite_gas, true },
        { "/GasLeak/airPressure", &m_airPressure, true },
        { "/GasLeak/airUnit", &m_airUnit, false },
        { "/GasLeak/airType", &m_gasType, true },
        { "/ElectricLeak/faultSite", &m_faultSite_elec, true },
        { "/ElectricLeak/voltage", &m_voltage, true },
        { "/ElectricLeak/elecUnit", &m_elecUnit, false },
        { "/ElectricLeak/distance", &m_distance, true },
    };
    for (const auto& k : keys) {
        const QString v = ini.text(QLatin1String(k.key));
        if (v.isNull())
            continue;
        *k.member = k.slashWhenEmpty ? checkIsEmpty(v) : v;
    }
    return true;
}

bool KOVGetItemLabelInfo::saveItemCfgInfo()
{
    if (m_itemInfoPath.isEmpty())
        return false;
    // The imager's other keys stay; the file is never handed to QSettings to
    // parse (see KOVIniFile).
    QString error;
    const bool ok = KOVIniFile::update(m_itemInfoPath, "GBK", KOVIniFile::TextOnly,
                                       {{QStringLiteral("/itemInfo/type"), m_labelType},
                                        {QStringLiteral("/GasLeak/faultSite"), m_faultSite_gas},
                                        {QStringLiteral("/GasLeak/airPressure"), m_airPressure},
                                        {QStringLiteral("/GasLeak/airUnit"), m_airUnit},
                                        {QStringLiteral("/GasLeak/airType"), m_gasType},
                                        {QStringLiteral("/ElectricLeak/faultSite"), m_faultSite_elec},
                                        {QStringLiteral("/ElectricLeak/voltage"), m_voltage},
                                        {QStringLiteral("/ElectricLeak/elecUnit"), m_elecUnit},
                                        {QStringLiteral("/ElectricLeak/distance"), m_distance}},
                                       &error);
    if (!ok)
        qWarning() << "label not saved:" << error;
    return ok;
}
