// Export of the current report: the save dialog, the export folder with the
// test points' clips, the workbook prepared here and written by a worker
// while the progress dialog runs.
#include "kovreportexport.h"

#include "kovexportjob.h"
#include "kovexportplan.h"
#include "kovinformation.h"
#include "kovlibxl.h"
#include "kovmessagebox.h"
#include "kovreportexportprivate.h"
#include "kovreportwin.h"
#include "kovsavedialog.h"
#include "kovthread.h"
#include "ui_kovreportexport.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

void KOVReportExport::on_actionsaveReport_triggered()
{
    qDebug() << "save report action clicked";
    if (ui->mainTabWidget->count() < 2) {
        qDebug() << "there is no report to save";
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("未创建报告！"), {tr("是")});
        return;
    }
    if (!m_exportPath.isEmpty())
        qDebug() << "exportPath = " << m_exportPath;
    KOVReportWin* page = currentReportWin();
    if (!page) {
        qDebug() << "Manual export of report :  not select report tabwidget!";
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("未选中报告页，无法导出报告！"), {tr("是")});
        return;
    }
    KOVReportInfo info = page->getReportData();
    // Refused before a path is asked for, so no folder is built or cleared
    // for a workbook that cannot be written.
    if (info.pointInfoList.isEmpty()) {
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("报告无测试点，无法导出报告！"), {tr("是")});
        return;
    }
    const QString path = KOVSaveDialog::ask(this, tr("导出报告"), info.name, tr("*.xlsx"));
    if (path.isEmpty())
        return;
    info.name = KOVExportPlan::withSuffix(path);
    exportInfo(info);
}

void KOVReportExport::exportInfo(KOVReportInfo info)
{
    const int n = info.pointInfoList.size();
    if (n == 0 || isExporting())
        return;
    const QString workbook = mkReportDir(info.name, info, n);
    if (QFile::exists(workbook) && !QFile::remove(workbook)) {
        qDebug() << "文件删除失败，请手动删除后重试:" << workbook;
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                           workbook + QStringLiteral("\r\n") + tr("文件删除失败，请手动删除后重试！"), {tr("是")});
        return;
    }
    // Shared with the worker: whichever lets go last releases it, so the
    // writer outlives the worker even when the dialog ends first.
    auto writer = std::make_shared<KOVLibxl>();
    if (!writer->CreateExcel(workbook, info.type, n, KOVInformation::Instance()->runLanguageId())) {
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                           tr("文件创建失败，可能存在以下问题：") + QStringLiteral("\r\n") + tr("1、报告无测试点")
                               + QStringLiteral("\r\n") + tr("2、文件被占用") + QStringLiteral("\r\n")
                               + tr("3、文件加载失败"),
                           {tr("是")});
        return;
    }
    auto job = std::make_shared<KOVExportJob>(writer, info, workbook, d->m_clipCopies);
    writer.reset();
    KOVExportJob::Progress progress;
    progress.total = [this](int total) { emit sigTotal(total); };
    progress.text = [this](const QString& text) { emit sigProgressText(text); };
    progress.value = [this](int value) { emit sigValue(value); };
    progress.finish = [this](int ret) { emit sigFinishProgressBar(ret); };
    d->m_progress.beginRun();
    d->m_exportThread = KOVThread::run([job, progress] { job->run(progress); });
    d->m_progress.exec();

    const QStringList failed = job->failedCopies();
    if (!failed.isEmpty()) {
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                           tr("以下剪辑文件复制失败：") + QStringLiteral("\r\n") + failed.join(QStringLiteral("\r\n")),
                           {tr("是")});
    }
}

QString KOVReportExport::mkReportDir(QString path, KOVReportInfo info, int count)
{
    QString folder = KOVExportPlan::folderFor(path);
    if (QFileInfo::exists(folder)) {
        const int answer = KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("文件已存在，是否覆盖？"),
                                              {tr("是"), tr("否")});
        if (answer == 0) {
            // Only what an export of this report put there goes: the folder
            // may be one the user keeps other work in.
            for (const QString& left : KOVExportPlan::clearPrevious(folder, KOVExportPlan::workbookIn(folder, path), info))
                qDebug() << "could not remove" << left;
        } else {
            folder = KOVExportPlan::stampedFolder(folder, QDateTime::currentDateTime());
        }
    }
    if (!QDir().mkpath(folder))
        qDebug() << "could not create the export folder" << folder;
    d->m_clipCopies = KOVExportPlan::clipCopies(folder, info, count);
    return KOVExportPlan::workbookIn(folder, info.name);
}

bool KOVReportExport::isExporting() const
{
    return d->m_exportThread && d->m_exportThread->isRunning();
}

void KOVReportExport::waitForExport()
{
    if (QThread* worker = d->m_exportThread)
        worker->wait();
}
