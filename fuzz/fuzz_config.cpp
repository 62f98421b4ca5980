// cfg/config.ini: read at start, saved, read again.
#include "kovconfig.h"
#include "kovfuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    QDir::setCurrent(KOVFuzz::scratch());
    KOVFuzz::writeInput(QStringLiteral("cfg/config.ini"), data, size);
    KOVConfig a;
    KOVFuzz::check(a.saveCfg() == 0, "the settings save");
    KOVConfig b;
    KOVFuzz::check(a.m_company == b.m_company && a.m_tester == b.m_tester && a.m_site == b.m_site
                       && a.m_dateTime == b.m_dateTime && a.m_type == b.m_type && a.m_Model == b.m_Model
                       && a.m_SN == b.m_SN && a.m_version == b.m_version && a.m_language == b.m_language
                       && a.m_importDirPath == b.m_importDirPath && a.m_mainwindow_width == b.m_mainwindow_width
                       && a.m_mainwindow_height == b.m_mainwindow_height && a.m_appTitle_ch == b.m_appTitle_ch
                       && a.m_appTitle_en == b.m_appTitle_en,
                   "saved settings read back as they were");
    return 0;
}
