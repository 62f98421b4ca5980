#include "kovexportjob.h"

#include "kovlibxl.h"

#include <QFileInfo>

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
    // The writer saves under a name of its own when an earlier export is
    // to be kept until this one is complete; only then does it take the
    // earlier one's place, clips after the workbook.
    bool ok = m_writer->SaveExcel();
    QString error = m_writer->errorMessage();
    const QString staged = m_writer->excelName();
    const QString folder = QFileInfo(m_workbook).path();
    QStringList notReplaced;
    if (staged != m_workbook) {
        if (ok)
            ok = KOVExportPlan::replaceWorkbook(staged, m_workbook, &error);
        if (ok)
            notReplaced = KOVExportPlan::replaceClipFolders(folder, m_info, m_copies);
        else
            KOVExportPlan::discardStaged(folder, m_workbook);
    }
    const QStringList unplaced = m_writer->unplacedPictures();
    bool complete = false;
    {
        QMutexLocker lock(&m_lock);
        m_saved = ok;
        m_error = error;
        m_failed << notReplaced;
        m_unplaced = unplaced;
        complete = m_failed.isEmpty() && m_unplaced.isEmpty();
    }
    progress.finish(!ok ? 0 : complete ? 1 : 2);
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

QString KOVExportJob::errorMessage() const
{
    QMutexLocker lock(&m_lock);
    return m_error;
}

QStringList KOVExportJob::unplacedPictures() const
{
    QMutexLocker lock(&m_lock);
    return m_unplaced;
}
