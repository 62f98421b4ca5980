#ifndef KOVCONFIG_H
#define KOVCONFIG_H

#include <QString>

// Application settings kept in "./cfg/config.ini" (relative to the working
// directory). Read once at construction; written whole by saveCfg.
class KOVConfig
{
public:
    KOVConfig();

    void readCfg();
    // Writes the twelve settings keys; the two OEM title keys are never written
    // so a title shows only when whoever installed the program put it there.
    // Returns 0 on success, -1 when the file could not be written.
    int saveCfg();

    static QString cfgPath();
    // The English title for any language id but 0.
    QString appTitle() const { return m_language != 0 ? m_appTitle_en : m_appTitle_ch; }

    QString m_company = QStringLiteral("Company");
    QString m_tester = QStringLiteral("Testers");
    QString m_site = QStringLiteral("Test Location");
    QString m_dateTime = QStringLiteral("Test Time");
    QString m_type = QStringLiteral("Report Type");
    QString m_Model = QStringLiteral("Device Model");
    QString m_SN = QStringLiteral("Serial Number");
    QString m_version = QStringLiteral("Software Version");
    int m_language = 0;
    QString m_importDirPath = QStringLiteral("../");
    int m_mainwindow_width = 1300;
    int m_mainwindow_height = 800;
    QString m_appTitle_ch;
    QString m_appTitle_en;
};

#endif // KOVCONFIG_H
