#include "kovconfig.h"

#include "kovinifile.h"

#include <QDebug>
#include <QFileInfo>

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
    // Anyone may replace the file: it is read without letting QSettings
    // deserialise what it holds (see KOVIniFile).
    KOVIniFile settings;
    settings.load(cfgPath(), nullptr, KOVIniFile::PlainQtTypes);

    const struct { const char* key; QString* member; } texts[] = {
        { "/Report_Info/company", &m_company }, { "/Report_Info/tester", &m_tester },
        { "/Report_Info/site", &m_site },       { "/Report_Info/dateTime", &m_dateTime },
        { "/Report_Info/type", &m_type },       { "/Device_Info/model", &m_Model },
        { "/Device_Info/SN", &m_SN },           { "/Device_Info/version", &m_version },
    };
    for (const auto& t : texts) {
        const QVariant v = settings.value(QLatin1String(t.key));
        if (!v.isNull())
            *t.member = v.toString();
    }
    const QVariant lang = settings.value(QStringLiteral("/Language/id"));
    if (!lang.isNull())
        m_language = lang.toInt();
    const QVariant dir = settings.value(QStringLiteral("/Directory/path"));
    if (!dir.isNull())
        m_importDirPath = dir.toString();

    // A size that is not a positive number would give an unusable window.
    const QVariant w = settings.value(QStringLiteral("/MainwindowSize/width"));
    const QVariant h = settings.value(QStringLiteral("/MainwindowSize/height"));
    if (!w.isNull() && w.toInt() > 0)
        m_mainwindow_width = w.toInt();
    if (!h.isNull() && h.toInt() > 0)
        m_mainwindow_height = h.toInt();

    const QVariant tch = settings.value(QStringLiteral("/OEM_Info/title_ch"));
    if (!tch.isNull())
        m_appTitle_ch = tch.toString();
    const QVariant ten = settings.value(QStringLiteral("/OEM_Info/title_en"));
    if (!ten.isNull())
        m_appTitle_en = ten.toString();
}

int KOVConfig::saveCfg()
{
    QString error;
    const bool ok = KOVIniFile::update(cfgPath(), nullptr, KOVIniFile::PlainQtTypes,
                                       {{QStringLiteral("/Report_Info/company"), m_company},
                                        {QStringLiteral("/Report_Info/tester"), m_tester},
                                        {QStringLiteral("/Report_Info/site"), m_site},
                                        {QStringLiteral("/Report_Info/dateTime"), m_dateTime},
                                        {QStringLiteral("/Report_Info/type"), m_type},
                                        {QStringLiteral("/Device_Info/model"), m_Model},
                                        {QStringLiteral("/Device_Info/SN"), m_SN},
                                        {QStringLiteral("/Device_Info/version"), m_version},
                                        {QStringLiteral("/Language/id"), m_language},
                                        {QStringLiteral("/Directory/path"), m_importDirPath},
                                        {QStringLiteral("/MainwindowSize/width"), m_mainwindow_width},
                                        {QStringLiteral("/MainwindowSize/height"), m_mainwindow_height}},
                                       &error);
    if (!ok) {
        // The settings stay in effect for this run; the next start will not
        // see them.
        qWarning() << "config.ini not written:" << error;
        return -1;
    }
    return 0;
}
