// Screen scale: the window follows the first screen's logical dots per inch
// and tells the other windows through the hub.
#include "kovreportexport.h"

#include "kovinformation.h"
#include "kovmessagebox.h"
#include "kovmsg.h"
#include "kovscreenscale.h"
#include "ui_kovreportexport.h"

#include <QDebug>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>

void KOVReportExport::refreshSize(double dpi)
{
    if (!KOVScreenScale::isUsableDpi(dpi)) {
        qDebug() << "refreshSize: ignored dpi" << dpi;
        return;
    }
    const KOVScreenScale scale(KOVScreenScale::factorOf(dpi));
    const double r = scale.factor() / m_preDPIRate;
    m_preDPIRate = scale.factor();
    m_ratio = r;

    KOVInformation* info = KOVInformation::Instance();
    info->setScreenDPI(dpi);
    info->changeObjectSize(*this, r);
    // The new bound goes first: growing under the old one would clamp the
    // window to the previous scale's maximum.
    setMaximumSize(scale.maximumWindowSize());
    resize(static_cast<int>(width() * r), static_cast<int>(height() * r));

    ui->mainTabWidget->setIconSize(scale.tabIconSize());
    ui->listWidget->setSpacing(scale.listSpacing());
    for (int row = 0; row < ui->listWidget->count(); ++row)
        ui->listWidget->item(row)->setSizeHint(scale.listRowSize());
    ui->mainTabWidget->setStyleSheet(scale.tabStyleSheet());
    setStyleSheet(scale.menuBarStyleSheet());
    fitStatusBar();

    emit KOVMsg::Instance()->sigScreenDpiChanged(scale.factor());
    repaint();
}

// Pinned to their sizes, the status labels would keep clipping their text
// (the path's underscores, the colon of its title) on a larger scale.
void KOVReportExport::fitStatusBar()
{
    if (!statusLb || !statusLb_filePath)
        return; // not built yet: the first scale is applied before the status bar exists
    const KOVScreenScale scale(m_preDPIRate);
    statusLb->setFixedSize(scale.statusTitleSize());
    statusLb_filePath->setFixedSize(scale.statusPathSize());
}

void KOVReportExport::slotLogicalDotsPerInchChanged(double dpi)
{
    if (!KOVScreenScale::isUsableDpi(dpi)) {
        qDebug() << "slotLogicalDotsPerInchChanged: ignored dpi" << dpi;
        return;
    }
    refreshSize(dpi);
    const QString text = tr("切换屏幕缩放比例后，") + QStringLiteral("\r\n") + tr("以下控件显示会不适配：")
        + QStringLiteral("\t\r\n") + tr("    菜单栏下拉项、时域波形相关绘图标签") + QStringLiteral("\r\n\r\n")
        + tr("推荐重启软件！");
    KOVMessageBox::ask(this, QMessageBox::Information, tr("提示"), text, { tr("是") });
}
