// Closing: the window's size goes into the settings, every open report is
// offered for export and the recovery cache is written before the
// application quits.
#include "kovreportexport.h"

#include "kovinformation.h"
#include "kovmessagebox.h"
#include "ui_kovreportexport.h"

#include <QCloseEvent>
#include <QDebug>

void KOVReportExport::closeEvent(QCloseEvent* event)
{
    qDebug() << "KOVReportExport::closeEvent";
    storeWindowSize();
    // A close can arrive while an export runs (from inside its progress
    // dialog): that export ends before anything else happens, or the offer
    // below would skip the report and the quit would cut the workbook short.
    waitForExport();
    const int n = ui->mainTabWidget->count();
    if (n > 1) {
        const int answer = KOVMessageBox::ask(nullptr, QMessageBox::Information, tr("提示"),
                                              tr("应用程序正在退出，是否导出数据！"), { tr("是"), tr("否") });
        if (answer == 0) {
            qDebug() << "close APP and export report";
            for (int i = 1; i < n; ++i) {
                ui->mainTabWidget->setCurrentIndex(i);
                on_actionsaveReport_triggered();
                // The progress dialog may end before its worker has: the
                // next export would find one running and not start.
                waitForExport();
            }
        }
    }
    // Written here rather than when the loop has ended, so that a cache
    // that cannot be written is told while the window still shows.
    saveDataAtQuit();
    event->accept();
}

void KOVReportExport::storeWindowSize()
{
    // At factor 1: the start multiplies it by the screen's factor again.
    const QSize s = size();
    KOVInformation::Instance()->setMainwindowSize(
        QSize(qRound(s.width() / m_preDPIRate), qRound(s.height() / m_preDPIRate)));
}
