#ifndef KOVLIBXL_H
#define KOVLIBXL_H

#include "kovdatastruct.h"

#include <QString>

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
    bool CreateExcel(QString excelName, int type, int testPointCnt, int language);
    KOVXlsxSheet* GetSheet(int index);
    bool SaveExcel();

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
};

#endif // KOVLIBXL_H
