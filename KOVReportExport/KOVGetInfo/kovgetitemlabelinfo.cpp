#include "kovgetitemlabelinfo.h"

#include "kovinitext.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

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

    KOVIniText raw(path, "GBK");
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("GBK");

    const QVariant type = settings.value(QStringLiteral("/itemInfo/type"));
    m_labelType = type.isNull() ? -1 : type.toString().trimmed().toInt();

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
        const QString v = raw.value(settings, QLatin1String(k.key));
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
    // The file is created by Qt, never by a shell command built from the path:
    // item folder names come from the user and may hold quotes or ';'.
    if (!QFileInfo::exists(m_itemInfoPath)) {
        QFile f(m_itemInfoPath);
        if (!f.open(QIODevice::WriteOnly))
            return false;
    }
    QSettings settings(m_itemInfoPath, QSettings::IniFormat);
    settings.setValue(QStringLiteral("/itemInfo/type"), m_labelType);
    settings.setValue(QStringLiteral("/GasLeak/faultSite"), m_faultSite_gas);
    settings.setValue(QStringLiteral("/GasLeak/airPressure"), m_airPressure);
    settings.setValue(QStringLiteral("/GasLeak/airUnit"), m_airUnit);
    settings.setValue(QStringLiteral("/GasLeak/airType"), m_gasType);
    settings.setValue(QStringLiteral("/ElectricLeak/faultSite"), m_faultSite_elec);
    settings.setValue(QStringLiteral("/ElectricLeak/voltage"), m_voltage);
    settings.setValue(QStringLiteral("/ElectricLeak/elecUnit"), m_elecUnit);
    settings.setValue(QStringLiteral("/ElectricLeak/distance"), m_distance);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
