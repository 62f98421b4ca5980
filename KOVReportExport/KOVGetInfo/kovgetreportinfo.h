#ifndef KOVGETREPORTINFO_H
#define KOVGETREPORTINFO_H

#include <QString>

// Test and device information of an imported user directory (usrInfo.ini).
// Read only: the imager owns the file.
class KOVGetReportInfo
{
public:
    KOVGetReportInfo() = default;

    // Returns whether the file exists. A missing key keeps the value of an
    // earlier user directory, so a new report still starts from something.
    bool readUsrCfgInfo(QString path);

    QString m_company;
    QString m_reportSN;
    QString m_tester;
    QString m_site;
    QString m_dateTime;
    QString m_model;
    QString m_version;
    QString m_deviceSN;
};

#endif // KOVGETREPORTINFO_H
