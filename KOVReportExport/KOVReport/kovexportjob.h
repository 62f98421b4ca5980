#ifndef KOVEXPORTJOB_H
#define KOVEXPORTJOB_H

#include "kovdatastruct.h"
#include "kovexportplan.h"

#include <QMutex>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class KOVLibxl;

// The export worker's task: copies the clips, fills the home sheet and one
// sheet per test point, saves; a workbook saved under its staged name then
// replaces the earlier export. It owns a share of the writer, so the writer
// lives until the task has ended whoever else lets go of it first.
class KOVExportJob
{
public:
    // Called from the worker, in this order: total(n), text(workbook),
    // value(1..n) after each point sheet, finish(1 saved, 2 saved without
    // some clips or pictures, 0 failed).
    struct Progress
    {
        std::function<void(int)> total;
        std::function<void(const QString&)> text;
        std::function<void(int)> value;
        std::function<void(int)> finish;
    };

    KOVExportJob(std::shared_ptr<KOVLibxl> writer, KOVReportInfo info, QString workbook,
                 QList<KOVExportPlan::ClipCopy> copies);

    void run(const Progress& progress);

    // Safe from any thread; complete once finish was reported.
    QStringList failedCopies() const;
    bool saved() const;
    // Why the save failed, in the writer's words.
    QString errorMessage() const;
    QStringList unplacedPictures() const;

private:
    std::shared_ptr<KOVLibxl> m_writer;
    KOVReportInfo m_info;
    QString m_workbook;
    QList<KOVExportPlan::ClipCopy> m_copies;

    mutable QMutex m_lock;
    QStringList m_failed;
    QStringList m_unplaced;
    QString m_error;
    bool m_saved = false;
};

#endif // KOVEXPORTJOB_H
