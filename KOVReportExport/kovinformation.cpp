#include "kovinformation.h"

#include <QObject>
#include <QWidget>

KOVInformation* KOVInformation::Instance()
{
    // A function-local static is created exactly once, race-free, and the
    // object is deliberately never destroyed: worker threads and the crash
    // handler may still reach it while the process exits.
    static KOVInformation* const instance = new KOVInformation();
    return instance;
}

KOVInformation::KOVInformation()
    : m_runLanguage(m_cfg.m_language)
{
}

bool KOVInformation::setLanguageId(int id)
{
    m_cfg.m_language = id;
    return m_cfg.saveCfg() == 0;
}

bool KOVInformation::setcustomPath(QString path)
{
    m_cfg.m_importDirPath = path;
    return m_cfg.saveCfg() == 0;
}

QSize KOVInformation::getMainwindowSize() const
{
    return QSize(m_cfg.m_mainwindow_width, m_cfg.m_mainwindow_height);
}

bool KOVInformation::setMainwindowSize(QSize size)
{
    m_cfg.m_mainwindow_width = size.width();
    m_cfg.m_mainwindow_height = size.height();
    return m_cfg.saveCfg() == 0;
}

QString KOVInformation::AppTitle() const
{
    return m_runLanguage != 0 ? m_cfg.m_appTitle_en : m_cfg.m_appTitle_ch;
}

void KOVInformation::setUsrPath(QString path)
{
    m_usrPath = path;
    m_getReportInfo.readUsrCfgInfo(path + QStringLiteral("usrInfo.ini"));
}

void KOVInformation::setItemPath(QString dir)
{
    m_getItemLabelInfo.readItemCfgInfo(dir + QStringLiteral("/itemInfo.ini"));
}

void KOVInformation::changeObjectSize(const QObject& parent, double rate)
{
    // children() is re-read every step: a resize may create or drop children.
    for (int i = 0; i < parent.children().size(); ++i) {
        QObject* child = parent.children().at(i);
        QWidget* w = qobject_cast<QWidget*>(child);
        if (!w)
            continue;
        const QRect g = w->geometry();
        w->setGeometry(static_cast<int>(g.x() * rate), static_cast<int>(g.y() * rate),
                       static_cast<int>(g.width() * rate), static_cast<int>(g.height() * rate));
        changeObjectSize(*w, rate);
    }
}
