// Export of the current report: the save dialog, the export folder with the
// test points' clips, the workbook prepared here and written by a worker
// while the progress dialog runs.
#include "kovreportexport.h"

#include "kovexportjob.h"
#include "kovexportplan.h"
#include "kov_pdclassifier.h"
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
    const int language = KOVInformation::Instance()->runLanguageId();
    // Refused before anything is made on disk: without its template no
    // workbook can be written.
    const QString tpl = KOVLibxl::templatePath(info.type, language);
    if (!QFileInfo(tpl).isFile()) {
        qDebug() << "export refused, template missing:" << tpl;
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                           tr("缺少以下必需文件，无法导出报告：") + QStringLiteral("\r\n") + tpl, {tr("是")});
        return;
    }
    const QString workbook = mkReportDir(info.name, info, n);
    const QString folder = QFileInfo(workbook).path();
    const QFileInfo old(workbook);
    if (old.exists() && (!old.isFile() || !QFileInfo(folder).isWritable())) {
        qDebug() << "文件删除失败，请手动删除后重试:" << workbook;
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                           workbook + QStringLiteral("\r\n") + tr("文件删除失败，请手动删除后重试！"), {tr("是")});
        return;
    }
    // The new export is made beside the earlier one, which stays until the
    // new workbook is saved; a folder made for it goes again on failure.
    const bool madeFolder = !QFileInfo::exists(folder);
    if (madeFolder && !QDir().mkpath(folder))
        qDebug() << "could not create the export folder" << folder;
    KOVExportPlan::discardStaged(folder, workbook); // left by an export that was killed
    // Shared with the worker: whichever lets go last releases it, so the
    // writer outlives the worker even when the dialog ends first.
    auto writer = std::make_shared<KOVLibxl>();
    if (!writer->CreateExcel(KOVExportPlan::stagedWorkbook(workbook), info.type, n, language)) {
        KOVExportPlan::discardStaged(folder, workbook);
        if (madeFolder)
            QDir().rmdir(folder);
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
    waitForExport();

    if (!job->saved()) {
        if (madeFolder)
            QDir().rmdir(folder);
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                           tr("文件保存失败！") + QStringLiteral("\r\n") + workbook + QStringLiteral("\r\n")
                               + job->errorMessage(),
                           {tr("是")});
        return;
    }
    QStringList lost;
    // Told by where the clips would have gone, not where they were staged.
    QStringList failed = job->failedCopies();
    failed.replaceInStrings(KOVExportPlan::stagedClips(folder), folder);
    if (!failed.isEmpty())
        lost << tr("以下剪辑文件复制失败：") + QStringLiteral("\r\n") + failed.join(QStringLiteral("\r\n"));
    const QStringList unplaced = job->unplacedPictures();
    if (!unplaced.isEmpty())
        lost << tr("以下图片未能放入报告：") + QStringLiteral("\r\n") + unplaced.join(QStringLiteral("\r\n"));
    if (!lost.isEmpty())
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), lost.join(QStringLiteral("\r\n")), {tr("是")});
}

QString KOVReportExport::mkReportDir(QString path, KOVReportInfo info, int count)
{
    QString folder = KOVExportPlan::folderFor(path);
    if (QFileInfo::exists(folder)) {
        const int answer = KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("文件已存在，是否覆盖？"),
                                              {tr("是"), tr("否")});
        // Overwriting replaces only what an export of this report put there,
        // and only once the new export is complete: the folder may be one the
        // user keeps other work in.
        if (answer != 0)
            folder = KOVExportPlan::stampedFolder(folder, QDateTime::currentDateTime());
    }
    d->m_clipCopies = KOVExportPlan::clipCopies(KOVExportPlan::stagedClips(folder), info, count);
    return KOVExportPlan::workbookIn(folder, info.name);
}

QStringList KOVReportExport::checkNeededFiles()
{
    QStringList missing;
    for (int language : {0, 1}) {
        for (int type : {0, 1}) {
            const QString tpl = KOVLibxl::templatePath(type, language);
            if (!QFileInfo(tpl).isFile())
                missing << tpl;
        }
    }
    if (!QFileInfo(QString::fromLatin1(KOV_PDClassifier::kDefaultBankPath)).isFile())
        missing << QString::fromLatin1(KOV_PDClassifier::kDefaultBankPath);
    if (missing.isEmpty())
        return missing;
    qWarning() << "needed files missing in" << QDir::currentPath() << ":" << missing;
    KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                       tr("缺少以下必需文件，报告导出或放电类型识别将无法使用：") + QStringLiteral("\r\n")
                           + missing.join(QStringLiteral("\r\n")),
                       {tr("是")});
    return missing;
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
