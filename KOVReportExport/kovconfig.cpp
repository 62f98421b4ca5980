#include "kovconfig.h"

#include <QDebug>
#include <QFileInfo>
#include <QSettings>

KOVConfig::KOVConfig()
{
    readCfg();
}

QString KOVConfig::cfgPath()
{
    return QStringLiteral("./cfg/config.ini");
}

void KOVConfig::readCfg()
{
    if (!QFileInfo::exists(cfgPath()))
        return;
    QSettings settings(cfgPath(), QSettings::IniFormat);

    const struct { const char* key; QString* member; } texts[] = {
        { "/Report_Info/company", &m_company }, { "/Report_Info/tester", &m_tester },
        { "/Report_Info/site", &m_site },       { "/Report_Info/dateTime", &m_dateTime },
        { "/Report_Info/type", &m_type },       { "/Device_Info/model", &m_Model },
        { "/Device_Info/SN", &m_SN },           { "/Device_Info/version", &m_version },
    };
    for (const auto& t : texts) {
        const QVariant v = settings.value(QLatin1String(t.key), QString());
        if (!v.isNull())
            *t.member = v.toString();
    }
    const QVariant lang = settings.value(QStringLiteral("/Language/id"), QString());
    if (!lang.isNull())
        m_language = lang.toInt();
    const QVariant dir = settings.value(QStringLiteral("/Directory/path"), QString());
    if (!dir.isNull())
        m_importDirPath = dir.toString();

    // A size that is not a positive number would give an unusable window.
    const QVariant w = settings.value(QStringLiteral("/MainwindowSize/width"), QString());
    const QVariant h = settings.value(QStringLiteral("/MainwindowSize/height"), QString());
    if (!w.isNull() && w.toInt() > 0)
        m_mainwindow_width = w.toInt();
    if (!h.isNull() && h.toInt() > 0)
        m_mainwindow_height = h.toInt();

    const QVariant tch = settings.value(QStringLiteral("/OEM_Info/title_ch"), QString());
    if (!tch.isNull())
        m_appTitle_ch = tch.toString();
    const QVariant ten = settings.value(QStringLiteral("/OEM_Info/title_en"), QString());
    if (!ten.isNull())
        m_appTitle_en = ten.toString();
}

int KOVConfig::saveCfg()
{
    QSettings settings(cfgPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("/Report_Info/company"), m_company);
    settings.setValue(QStringLiteral("/Report_Info/tester"), m_tester);
    settings.setValue(QStringLiteral("/Report_Info/site"), m_site);
    settings.setValue(QStringLiteral("/Report_Info/dateTime"), m_dateTime);
    settings.setValue(QStringLiteral("/Report_Info/type"), m_type);
    settings.setValue(QStringLiteral("/Device_Info/model"), m_Model);
    settings.setValue(QStringLiteral("/Device_Info/SN"), m_SN);
    settings.setValue(QStringLiteral("/Device_Info/version"), m_version);
    settings.setValue(QStringLiteral("/Language/id"), m_language);
    settings.setValue(QStringLiteral("/Directory/path"), m_importDirPath);
    settings.setValue(QStringLiteral("/MainwindowSize/width"), m_mainwindow_width);
    settings.setValue(QStringLiteral("/MainwindowSize/height"), m_mainwindow_height);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        // The settings stay in effect for this run; the next start will not
        // see them.
        qWarning() << "config.ini not written" << cfgPath()
                   << (settings.status() == QSettings::AccessError ? "(access error)" : "(format error)");
        return -1;
    }
    return 0;
}
