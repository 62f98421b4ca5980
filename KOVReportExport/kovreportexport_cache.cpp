// The recovery cache of the whole window: written when the application ends
// with report pages open, offered once at the next start.
//
// A cache that cannot be read, or whose content a restore cannot trust, is
// moved aside (not deleted, so the work in it can still be recovered by hand),
// the user is told where it went, and the question does not come back for it.
#include "kovreportexport.h"
#include "ui_kovreportexport.h"

#include "kovcachecheck.h"
#include "kovcachefile.h"
#include "kovinformation.h"
#include "kovmessagebox.h"
#include "kovprogressbarwidget.h"
#include "kovreportexportprivate.h"
#include "kovreportwin.h"
#include "kovvideoimg.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QUuid>

namespace {

QStringList cachePictures(const KOVCacheFile& cache)
{
    return QDir(cache.dir()).entryList({QStringLiteral("*.jpg")}, QDir::Files);
}

} // namespace

bool KOVReportExport::saveData(QString* why)
{
    if (d->m_restoring) {
        // A fault in the middle of a restore would replace the whole cache
        // with the few pages rebuilt so far.
        qWarning() << "KOVReportExport:: cache left alone: a restore is running";
        return true;
    }
    qDebug() << "save Data buffer=============";
    const KOVCacheFile cache;
    const QStringList picturesBefore = cachePictures(cache);
    KOVInformation* info = KOVInformation::Instance();
    QJsonObject root;
    root.insert(QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithBraces));
    root.insert(QStringLiteral("dateTime"),
                QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    root.insert(QStringLiteral("usrDirPath"), info->getUsrDirPath());
    root.insert(QStringLiteral("itemPathList"), QJsonArray::fromStringList(m_filePathList));
    root.insert(QStringLiteral("itemNameList"), QJsonArray::fromStringList(m_fileNameList));
    root.insert(QStringLiteral("preIndex"), m_preIndex);
    root.insert(QStringLiteral("reportNum"), m_reportNum);
    root.insert(QStringLiteral("exportPath"), m_exportPath);
    QJsonObject browse;
    m_videoImg->saveData(browse);
    root.insert(QStringLiteral("videoImg"), browse);
    root.insert(QStringLiteral("winList"), saveReportPages());
    root.insert(QStringLiteral("currentIndex"), ui->mainTabWidget->currentIndex());
    QString error;
    const bool written = cache.write(root, &error);
    if (!written) {
        qWarning() << "KOVReportExport:: cache not written:" << error;
        // The pages' pictures of this write belong to no document: without
        // them the folder holds what it held before.
        for (const QString& name : cachePictures(cache)) {
            if (!picturesBefore.contains(name))
                QFile::remove(cache.dir() + name);
        }
        if (why)
            *why = error;
    }
    qDebug() << "finished save data buffer =============";
    return written;
}

void KOVReportExport::saveDataAtQuit()
{
    if (d->m_savedAtQuit || getMainTabNum() <= 1)
        return;
    d->m_savedAtQuit = true;
    QString why;
    if (saveData(&why))
        return;
    KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                       tr("恢复缓存未能写入，打开的报告在下次启动时无法恢复：") + QStringLiteral("\r\n") + why,
                       {tr("是")});
}

void KOVReportExport::quitFromOutside()
{
    qDebug() << "KOVReportExport::quitFromOutside";
    waitForExport();
    storeWindowSize();
    saveDataAtQuit();
    QCoreApplication::quit();
}

void KOVReportExport::restoreData()
{
    const KOVCacheFile cache;
    if (!cache.exists())
        return;
    const int answer = KOVMessageBox::ask(nullptr, QMessageBox::Information, tr("提示"),
                                          tr("检测到上次未正常关闭，是否恢复？"), { tr("是"), tr("否") });
    if (answer != 0) {
        cache.remove();
        return;
    }
    d->m_restoring = true;
    struct Restoring
    {
        bool& flag;
        ~Restoring() { flag = false; }
    } restoring{d->m_restoring};
    KOVProgressBarWidget* progress = d->m_dataResore;
    if (progress)
        progress->show();
    QApplication::processEvents();

    QJsonObject root;
    QString why;
    if (cache.read(&root, &why))
        why = KOVCacheCheck::checkRoot(root);
    if (!why.isEmpty()) {
        if (progress)
            progress->finishProgressBar(0);
        failRestore(cache, why);
        return;
    }

    KOVInformation* info = KOVInformation::Instance();
    info->setUsrPath(root.value(QStringLiteral("usrDirPath")).toString());
    m_filePathList.append(KOVCacheCheck::strings(root.value(QStringLiteral("itemPathList")).toArray()));
    m_fileNameList.append(KOVCacheCheck::strings(root.value(QStringLiteral("itemNameList")).toArray()));
    m_preIndex = KOVCacheCheck::inRange(root.value(QStringLiteral("preIndex")).toInt(-1), m_fileNameList.size(), -1);
    // Report numbers name new reports and their files: never below 1.
    m_reportNum = std::max(1, root.value(QStringLiteral("reportNum")).toInt(1));
    m_exportPath = root.value(QStringLiteral("exportPath")).toString();
    info->setFileNameList(m_fileNameList);
    info->setFilePathList(m_filePathList);

    QJsonObject browse = root.value(QStringLiteral("videoImg")).toObject();
    m_videoImg->restoreData(browse);

    // As the import adds rows: no test-point boxes while the browse tab is current.
    const bool boxes = ui->mainTabWidget->currentIndex() != 0;
    if (progress)
        progress->setTotal(m_fileNameList.size());
    for (int i = 0; i < m_fileNameList.size(); ++i) {
        addRow(m_fileNameList.at(i), boxes);
        if (progress)
            progress->setValue(i + 1);
        QApplication::processEvents();
    }

    restoreReportPages(root.value(QStringLiteral("winList")).toArray());

    const int current = root.value(QStringLiteral("currentIndex")).toInt(0);
    if (current >= 0 && current < ui->mainTabWidget->count()) {
        if (current != ui->mainTabWidget->currentIndex())
            ui->mainTabWidget->setCurrentIndex(current);
        else
            on_mainTabWidget_currentChanged(current);
    }
    // Everything the cache held is back: from here a fault saves it again,
    // since the cache it came from is removed before the restore returns.
    d->m_restoring = false;
    cache.remove();
    if (progress)
        progress->finishProgressBar(1);
    QApplication::processEvents();
    qDebug() << "KOVReportExport:: data recover finished";
}

void KOVReportExport::failRestore(const KOVCacheFile& cache, const QString& why)
{
    const QString aside = cache.moveAside();
    qWarning() << "KOVReportExport:: cache not restored:" << why << "kept at" << aside;
    QString text = tr("上次的工作无法恢复：") + why;
    text += aside.isEmpty() ? QStringLiteral("\r\n") + tr("缓存文件未能移走，仍在：") + cache.dir()
                            : QStringLiteral("\r\n") + tr("缓存文件已保留在：") + aside;
    KOVMessageBox::ask(nullptr, QMessageBox::Warning, tr("警告"), text, QStringList());
}

QJsonArray KOVReportExport::saveReportPages()
{
    QJsonArray pages;
    for (KOVReportWin* page : qAsConst(m_winList)) {
        QJsonObject o;
        page->saveData(o);
        pages.append(o);
    }
    return pages;
}

void KOVReportExport::restoreReportPages(const QJsonArray& pages)
{
    KOVProgressBarWidget* progress = d->m_dataResore;
    // One step per report and per test point: a report of a hundred points
    // would otherwise hold the bar still for seconds.
    int steps = pages.size();
    for (const QJsonValue& p : pages)
        steps += p.toObject().value(QStringLiteral("reportInfo")).toObject().value(QStringLiteral("testPointList")).toArray().size();
    int done = 0;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const auto step = [progress, &done, &sinceEvents]() {
        if (progress)
            progress->setValue(++done);
        // Often enough for the bar to move, not once per point: every pass
        // repaints the window.
        if (sinceEvents.elapsed() >= 40) {
            QApplication::processEvents();
            sinceEvents.restart();
        }
    };
    if (progress) {
        progress->setProgressText(tr("报告页") + QString::number(pages.size()) + tr("份"));
        progress->setTotal(steps);
    }
    QApplication::processEvents();
    for (int i = 0; i < pages.size(); ++i) {
        QJsonObject o = pages.at(i).toObject();
        auto* page = new KOVReportWin(this);
        m_winList.append(page);
        m_reportList.append(KOVReportInfo());
        ui->mainTabWidget->addTab(page, page->windowTitle());
        ui->mainTabWidget->setCurrentWidget(page);
        connect(page, SIGNAL(sigReportInfoChanged(KOVReportInfo_t)), this, SLOT(slotUpdateReportInfo(KOVReportInfo_t)));
        connect(page, SIGNAL(sigUpdateStatusLabel(int)), this, SLOT(slotUpdateStatusLB(int)));
        page->restoreData(o, step);
        // The tab change above ran before the page had rows.
        on_mainTabWidget_currentChanged(ui->mainTabWidget->currentIndex());
        step();
    }
}
