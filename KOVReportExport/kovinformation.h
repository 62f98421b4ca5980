#ifndef KOVINFORMATION_H
#define KOVINFORMATION_H

#include "kovconfig.h"
#include "kovgetitemlabelinfo.h"
#include "kovgetreportinfo.h"

#include <QQueue>
#include <QSize>
#include <QString>
#include <QStringList>

class QObject;

// The application-wide state shared by the main window, the report pages and
// the review pages, which never call each other for it. Interface thread only,
// apart from Instance(), which is safe from any thread.
class KOVInformation
{
public:
    static KOVInformation* Instance();

    // Settings. Each setter writes the settings file and returns false when
    // it could not (logged); the value holds for this run either way.
    // The stored choice; a choice made in the menu is stored at once but
    // waits for the next start.
    int getLanguageId() const { return m_cfg.m_language; }
    bool setLanguageId(int id);
    // The language this run started with: the catalogue, the workbook
    // templates, the calendars and the title follow it to the end of the run,
    // so one run never mixes two languages.
    int runLanguageId() const { return m_runLanguage; }
    QString getCustomPath() const { return m_cfg.m_importDirPath; }
    bool setcustomPath(QString path);
    QSize getMainwindowSize() const;
    bool setMainwindowSize(QSize size);
    QString AppTitle() const;

    // User directory; path must end in "/" (usrInfo.ini is appended to it).
    void setUsrPath(QString path);
    QString getUsrDirPath() const { return m_usrPath; }
    QString getCompany() const { return m_getReportInfo.m_company; }
    QString getTester() const { return m_getReportInfo.m_tester; }
    QString getSite() const { return m_getReportInfo.m_site; }
    QString getDateTime() const { return m_getReportInfo.m_dateTime; }
    QString getReportSN() const { return m_getReportInfo.m_reportSN; }
    QString getModel() const { return m_getReportInfo.m_model; }
    QString getDeviceSN() const { return m_getReportInfo.m_deviceSN; }
    QString getVersion() const { return m_getReportInfo.m_version; }

    // The one label record: that of the item folder read last. Before saving,
    // a page re-reads its own folder with setItemPath, sets the fields, then
    // calls saveItemInfo, so it never writes another item's label file.
    void setItemPath(QString dir);
    QString getItemLabelPath() const { return m_getItemLabelInfo.m_itemInfoPath; }
    int getLabelType() const { return m_getItemLabelInfo.m_labelType; }
    void setLabelType(int type) { m_getItemLabelInfo.m_labelType = type; }
    QString getFaultSite_gas() const { return m_getItemLabelInfo.m_faultSite_gas; }
    QString getGasType() const { return m_getItemLabelInfo.m_gasType; }
    QString getAirPressure() const { return m_getItemLabelInfo.m_airPressure; }
    QString getAirPressureUnit() const { return m_getItemLabelInfo.m_airUnit; }
    void setFaultSite_gas(QString s) { m_getItemLabelInfo.m_faultSite_gas = s; }
    void setGasType(QString s) { m_getItemLabelInfo.m_gasType = s; }
    void setAirPressure(QString s) { m_getItemLabelInfo.m_airPressure = s; }
    void setAirPressureUnit(QString s) { m_getItemLabelInfo.m_airUnit = s; }
    QString getDistance() const { return m_getItemLabelInfo.m_distance; }
    QString getVoltage() const { return m_getItemLabelInfo.m_voltage; }
    QString getVoltageUnit() const { return m_getItemLabelInfo.m_elecUnit; }
    QString getFaultSite_elec() const { return m_getItemLabelInfo.m_faultSite_elec; }
    void setDistance(QString s) { m_getItemLabelInfo.m_distance = s; }
    void setVoltage(QString s) { m_getItemLabelInfo.m_voltage = s; }
    void setVoltageUnit(QString s) { m_getItemLabelInfo.m_elecUnit = s; }
    void setFaultSite_elec(QString s) { m_getItemLabelInfo.m_faultSite_elec = s; }
    // False when the label file could not be written.
    bool saveItemInfo() { return m_getItemLabelInfo.saveItemCfgInfo(); }

    // Imported items and the rows chosen for the current report
    QStringList getFilePathList() { return m_fileList; }
    void setFilePathList(QStringList list) { m_fileList = list; }
    QStringList getFileNameList() { return m_fileNameList; }
    void setFileNameList(QStringList list) { m_fileNameList = list; }
    QQueue<int> getChosedItemList() { return m_chosedIndex; }
    void setChosedItemList(QQueue<int> list) { m_chosedIndex = list; }
    void clearChosedItemList() { m_chosedIndex.clear(); }

    // From the last info.dat that had such lines: kPa in the file, MPa here.
    void setLeakPressure(float p) { m_pressure = p / 1000.0f; }
    float getLeakPressure() const { return m_pressure; }
    int getPDDLen() const { return m_PDDLen; }
    void setPDDLen(int len) { m_PDDLen = len; }

    double getScreenDPI() const { return m_dpi; }
    void setScreenDPI(double dpi) { m_dpi = dpi; }
    // rate is relative to the scale already applied (new scale / old scale).
    void changeObjectSize(const QObject& parent, double rate);

private:
    KOVInformation();
    KOVInformation(const KOVInformation&) = delete;
    KOVInformation& operator=(const KOVInformation&) = delete;

    QStringList m_fileList;
    QStringList m_fileNameList;
    QQueue<int> m_chosedIndex;
    KOVConfig m_cfg;
    int m_runLanguage = 0;
    KOVGetReportInfo m_getReportInfo;
    KOVGetItemLabelInfo m_getItemLabelInfo;
    int m_PDDLen = 240;
    QString m_usrPath;
    double m_dpi = 96.0;
    float m_pressure = 0.0f; // no leak pressure known until an info.dat gives one
};

#endif // KOVINFORMATION_H
