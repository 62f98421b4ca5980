#include "kovlibxl.h"

#include "kovxlsxbook.h"

#include <QDebug>
#include <QFile>
#include <QObject>

namespace {

// Cells of the home sheet, 0-based (row, column).
const int kRowCompany = 20;   // A21
const int kRowModel = 29;     // A30
const int kRowReportSN = 31;  // A32
const int kRowTable = 53;     // E54 ... E60
const int kColTable = 4;
const int kRowCount = 70;     // B71; summary lines follow from B72
const int kColSummary = 1;
const int kMaxSummaryLines = 10;

} // namespace

std::function<QString(const QString&)> KOVLibxl::s_saveFault;

KOVLibxl::KOVLibxl()
    : m_book(new KOVXlsxBook)
{
}

KOVLibxl::~KOVLibxl()
{
    delete m_book;
}

QString KOVLibxl::getTemplateName(int language)
{
    return templatePath(m_reportType, language);
}

QString KOVLibxl::templatePath(int type, int language)
{
    if (type == 0)
        return language == 0 ? QStringLiteral("./cfg/template_gas_ch") : QStringLiteral("./cfg/template_gas_en");
    return language == 0 ? QStringLiteral("./cfg/template_elec_ch") : QStringLiteral("./cfg/template_elec_en");
}

bool KOVLibxl::CreateExcel(QString excelName, int type, int testPointCnt, int language)
{
    qDebug() << "CreateExcel = " << excelName << ", testPointCnt = " << testPointCnt;
    // An empty name is no name: copying to "" would fail later and less clearly.
    if (excelName.isEmpty() || testPointCnt < 1) {
        qDebug() << "excelName is empty,or no testPointCnt.";
        return false;
    }
    m_excelName = excelName;
    m_maxSheetCnt = testPointCnt + 1;
    if (QFile::exists(excelName) && !QFile::remove(excelName)) {
        qDebug() << "该文件被占用,请手动删除后重试.";
        return false;
    }
    m_reportType = type;
    if (!QFile::copy(getTemplateName(language), excelName)) {
        qDebug() << "copy failed, please check template file.";
        return false;
    }
    // An installed template may be read-only, and the copy inherits that;
    // the workbook is saved over this copy later.
    QFile::setPermissions(excelName, QFile::permissions(excelName) | QFile::ReadOwner | QFile::WriteOwner);
    if (!m_book) {
        qDebug() << "xlCreateXMLBook failed.";
        return false;
    }
    if (!m_book->load(excelName)) {
        qDebug() << "load error = " << m_book->errorMessage();
        return false;
    }
    KOVXlsxSheet* pattern = m_book->sheet(1);
    if (!pattern || !m_book->sheet(0)) {
        qDebug() << "template lacks the home or the test point sheet.";
        return false;
    }
    for (int i = 2; i <= testPointCnt; ++i) {
        const QString n = QString::number(i);
        const QString name = language == 0 ? QStringLiteral("测试故障点(") + n + QLatin1Char(')')
                                           : QStringLiteral("Test Fault Point (") + n + QLatin1Char(')');
        const QString title = language == 0 ? QStringLiteral("测试故障点（") + n + QStringLiteral("）记录")
                                            : QStringLiteral("Test Fault Point (") + n + QStringLiteral(") Record");
        KOVXlsxSheet* sheet = m_book->addSheetCopy(name, pattern);
        // A missing sheet would shift every later test point onto the wrong
        // sheet or onto none; the export fails instead.
        if (!sheet) {
            qDebug() << "add sheet error = " << m_book->errorMessage();
            return false;
        }
        sheet->writeStr(0, 0, title);
    }
    return true;
}

KOVXlsxSheet* KOVLibxl::GetSheet(int index)
{
    if (!m_book || index < 0 || index >= m_maxSheetCnt)
        return nullptr;
    return m_book->sheet(index);
}

bool KOVLibxl::SaveExcel()
{
    m_error.clear();
    if (!m_book || m_excelName.isEmpty()) {
        m_error = QStringLiteral("no workbook created");
        return false;
    }
    if (s_saveFault)
        m_error = s_saveFault(m_excelName);
    if (m_error.isEmpty() && !m_book->save(m_excelName))
        m_error = m_book->errorMessage();
    if (!m_error.isEmpty()) {
        qDebug() << "save error = " << m_error;
        return false;
    }
    return true;
}

bool KOVLibxl::WriteHomePage(KOVReportInfo info, KOVXlsxSheet* sheet)
{
    if (!sheet)
        return false;
    sheet->writeStr(kRowModel, 0, info.deviceModel + sheet->readStr(kRowModel, 0));
    sheet->writeStr(kRowCompany, 0, info.company);
    sheet->writeStr(kRowReportSN, 0, sheet->readStr(kRowReportSN, 0) + info.reportSN);
    const QString table[] = {info.company, info.site, info.datetime, info.deviceModel,
                             info.deviceSN, info.deviceVersion, info.tester};
    for (int i = 0; i < 7; ++i)
        sheet->writeStr(kRowTable + i, kColTable, table[i]);
    const QString opening = m_reportType == 0 ? QObject::tr("本次检测泄漏点有 ") : QObject::tr("本次检测局放点有 ");
    sheet->writeStr(kRowCount, kColSummary, opening + QString::number(m_maxSheetCnt - 1) + QObject::tr("处："));
    WriteResult(info, sheet);
    return true;
}

void KOVLibxl::WriteResult(KOVReportInfo info, KOVXlsxSheet* sheet)
{
    if (!sheet)
        return;
    const int n = m_maxSheetCnt - 1;
    for (int k = 1; k <= n && k <= kMaxSummaryLines && k <= info.pointInfoList.size(); ++k)
        sheet->writeStr(kRowCount + k, kColSummary, summaryLine(info.pointInfoList.at(k - 1), k, info.type));
}

QString KOVLibxl::summaryLine(const KOVTestPointInfo& tp, int k, int reportType)
{
    QString kind;
    QString verdict;
    if (reportType == 0) {
        kind = tp.gasType;
        verdict = QObject::tr("泄漏，运行状态判定为");
    } else {
        if (tp.labelType == 1 && !tp.prpdTypeList.isEmpty())
            kind = tp.prpdTypeList.first();
        verdict = QObject::tr("，运行状态判定为");
    }
    return QObject::tr("   –   测试故障点（") + QString::number(k) + QObject::tr("）为") + kind + verdict + tp.faultLevel;
}
