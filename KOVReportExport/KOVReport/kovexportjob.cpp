#include "kovexportjob.h"

#include "kovlibxl.h"

KOVExportJob::KOVExportJob(std::shared_ptr<KOVLibxl> writer, KOVReportInfo info, QString workbook,
                           QList<KOVExportPlan::ClipCopy> copies)
    : m_writer(std::move(writer))
    , m_info(std::move(info))
    , m_workbook(std::move(workbook))
    , m_copies(std::move(copies))
{
}

void KOVExportJob::run(const Progress& progress)
{
    // Clips are copied here rather than before the dialog shows: tens of
    // megabytes would hold the interface still for seconds.
    const QStringList failed = KOVExportPlan::copyClips(m_copies);
    {
        QMutexLocker lock(&m_lock);
        m_failed = failed;
    }

    const int n = m_info.pointInfoList.size();
    m_writer->WriteHomePage(m_info, m_writer->GetSheet(0));
    progress.total(n);
    progress.text(m_workbook);
    for (int i = 0; i < n; ++i) {
        m_writer->WritePoinInfo(m_info.pointInfoList.at(i), m_writer->GetSheet(i + 1), m_info.type);
        progress.value(i + 1);
    }
    const bool ok = m_writer->SaveExcel();
    {
        QMutexLocker lock(&m_lock);
        m_saved = ok;
    }
    progress.finish(ok ? 1 : 0);
}

QStringList KOVExportJob::failedCopies() const
{
    QMutexLocker lock(&m_lock);
    return m_failed;
}

bool KOVExportJob::saved() const
{
    QMutexLocker lock(&m_lock);
    return m_saved;
}
