#ifndef KOVLIBXL_H
#define KOVLIBXL_H

#include "kovdatastruct.h"

#include <QString>
#include <QStringList>

#include <functional>

class KOVXlsxBook;
class KOVXlsxSheet;

// Writes one report into an .xlsx workbook copied from the template of its
// type and language. CreateExcel runs on the interface thread; the writes
// and SaveExcel on the export worker, one thread at a time.
class KOVLibxl
{
public:
    KOVLibxl();
    ~KOVLibxl();

    KOVLibxl(const KOVLibxl&) = delete;
    KOVLibxl& operator=(const KOVLibxl&) = delete;

    QString getTemplateName(int language);
    // The template a report of type (0 gas, 1 electrical) starts from.
    static QString templatePath(int type, int language);
    bool CreateExcel(QString excelName, int type, int testPointCnt, int language);
    KOVXlsxSheet* GetSheet(int index);
    bool SaveExcel();
    QString excelName() const { return m_excelName; }
    // Why the last save failed; empty after a success.
    QString errorMessage() const { return m_error; }
    // The file of each picture a sheet should have shown but could not take
    // (a locked frame that was never written, an unreadable file).
    QStringList unplacedPictures() const { return m_unplaced; }

    // Tests only: when set, asked before each save; a non-empty answer fails
    // the save with it as the reason, as a full disk would.
    static std::function<QString(const QString& path)> s_saveFault;

    bool WriteHomePage(KOVReportInfo info, KOVXlsxSheet* sheet);
    void WriteResult(KOVReportInfo info, KOVXlsxSheet* sheet);
    bool WritePoinInfo(KOVTestPointInfo tp, KOVXlsxSheet* sheet, int type);

    // Pictures of the imager models; nothing calls them yet.
    void WriteImg_4410(KOVXlsxSheet* sheet);
    void WriteImg_4420(KOVXlsxSheet* sheet);
    void WriteImg_4430(KOVXlsxSheet* sheet);

private:
    void writePicture(KOVXlsxSheet* sheet, const QString& path, int row, int col,
                      double scale, int dx, int dy);
    void writeLeakCells(const KOVTestPointInfo& tp, KOVXlsxSheet* sheet);
    static QString summaryLine(const KOVTestPointInfo& tp, int k, int reportType);

    KOVXlsxBook* m_book;
    QString m_excelName;
    int m_maxSheetCnt = 0;
    int m_reportType = 0;
    QString m_error;
    QStringList m_unplaced;
};

#endif // KOVLIBXL_H
