// Test points: one review page per tab, with its record and its file-list row
// kept at the same position as the tab.
#include "kovreportwin.h"
#include "ui_kovreportwin.h"

#include "kovaligned.h"
#include "kovinformation.h"
#include "kovmsg.h"
#include "kovreportrules.h"
#include "kovvideoimg.h"

#include <QDebug>
#include <QStackedWidget>

bool KOVReportWin::addTestpoint(int row)
{
    KOVInformation* info = KOVInformation::Instance();
    const QStringList names = info->getFileNameList();
    const QStringList paths = info->getFilePathList();
    if (!KOVReportRules::isRow(row, qMin(names.size(), paths.size()))) {
        qDebug() << "addTestpoint: no item at row" << row;
        return false;
    }
    const int n = ui->reviewTabWidget->count();
    const QString name = names.at(row);
    const QString path = paths.at(row);
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? path : path.left(slash);

    auto* page = new KOVVideoImg(pageParent());
    connect(page, SIGNAL(sigPointInfoChanged(KOVTestPointInfo_t)), this, SLOT(slotUpdatePointInfo(KOVTestPointInfo_t)));
    // All four lists grow before the tab exists: adding the first tab makes
    // it current, and that change reads its row.
    m_chosedItemList.enqueue(row);
    m_testPointList.append(page);
    m_pointInfoList.append(KOVTestPointInfo());
    m_reportInfo.pointInfoList = m_pointInfoList;
    ui->reviewTabWidget->addTab(page, name);
    ++m_pointNum;
    ui->reviewTabWidget->setCurrentIndex(n);

    page->isReportWin(true, m_reportInfo.type);
    page->slotUpdateItemList();
    page->saveNamePre(QString::number(m_winDefaultNum));
    page->showItem(row, folder);
    return true;
}

QWidget* KOVReportWin::pageParent() const
{
    // Built where the tab keeps it: handed over later, the finished page of
    // some 185 widgets is re-parented as a whole.
    return ui->reviewTabWidget->findChild<QStackedWidget*>(QStringLiteral("qt_tabwidget_stackedwidget"),
                                                           Qt::FindDirectChildrenOnly);
}

void KOVReportWin::slotUpdatePointInfo(KOVTestPointInfo_t info)
{
    // Stored by sender: a page that is not current (a late OCR reading, a
    // restore) keeps its record with its own test point.
    const int p = m_testPointList.indexOf(qobject_cast<KOVVideoImg*>(sender()));
    if (!KOVReportRules::isRow(p, m_pointInfoList.size()))
        return;
    m_pointInfoList[p] = info;
    m_reportInfo.pointInfoList = m_pointInfoList;
    emit sigReportInfoChanged(m_reportInfo);
}

void KOVReportWin::slotRemoveTestPoint(int index)
{
    if (!KOVReportRules::isRow(index, m_chosedItemList.size()))
        return;
    const int row = m_chosedItemList.at(index);
    delInfoAndTab(index);
    emit KOVMsg::Instance()->sigSetItemUnchosed(row);
}

void KOVReportWin::deleteTestPoint(int index)
{
    delInfoAndTab(index);
}

void KOVReportWin::delInfoAndTab(int index)
{
    delPointInfo(index);
    KOVVideoImg* page = KOVReportRules::isRow(index, m_testPointList.size()) ? m_testPointList.at(index) : nullptr;
    const bool removed = KOVAligned::removeAt(index, m_pointInfoList, m_testPointList, m_chosedItemList);
    m_reportInfo.pointInfoList = m_pointInfoList;
    if (removed) {
        // The lists no longer hold the page; removing its tab now makes
        // another tab current, whose row the status bar then shows.
        ui->reviewTabWidget->removeTab(ui->reviewTabWidget->indexOf(page));
        releasePage(page);
        --m_itemCnt;
    }
    KOVInformation::Instance()->setChosedItemList(m_chosedItemList);
}

void KOVReportWin::releasePage(KOVVideoImg* page)
{
    // A removed point's page holds a decoder, audio and an OCR context; its
    // late records must reach nobody.
    disconnect(page, nullptr, this, nullptr);
    page->hide();
    page->deleteLater();
}

void KOVReportWin::delPointInfo(int index)
{
    if (!KOVReportRules::isRow(index, m_pointInfoList.size()))
        return;
    KOVReportRules::removeFiles(KOVReportRules::pointFiles(m_pointInfoList.at(index)));
}

void KOVReportWin::setChosedItemList()
{
    KOVInformation::Instance()->setChosedItemList(m_chosedItemList);
}

void KOVReportWin::slotUpdateIndex()
{
    const QStringList paths = KOVInformation::Instance()->getFilePathList();
    m_chosedItemList = KOVReportRules::rowsByPath(m_chosedItemList, m_itemPaths, paths);
    m_itemPaths = paths;
}

void KOVReportWin::updateChosedNum(int index)
{
    KOVReportRules::lowerRowsAbove(m_chosedItemList, index);
}

void KOVReportWin::on_reviewTabWidget_currentChanged(int index)
{
    if (KOVReportRules::isRow(index, m_chosedItemList.size()))
        emit sigUpdateStatusLabel(m_chosedItemList.at(index));
}

void KOVReportWin::slotTabMoved(int from, int to)
{
    if (!KOVAligned::move(from, to, m_testPointList, m_pointInfoList, m_chosedItemList))
        return;
    m_reportInfo.pointInfoList = m_pointInfoList;
    // Only the shown report's tabs can be dragged; its rows are the chosen
    // ones, now in the new order.
    if (isVisible())
        setChosedItemList();
}

QString KOVReportWin::checkConsistency() const
{
    const QTabWidget* tabs = ui->reviewTabWidget;
    QString fault = KOVAligned::checkSizes(tabs->count(), m_testPointList, m_pointInfoList, m_chosedItemList);
    if (!fault.isEmpty())
        return fault;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i) != m_testPointList.at(i))
            return QStringLiteral("tab %1 shows another page than entry %1").arg(i);
        const int row = m_chosedItemList.at(i);
        if (row < -1)
            return QStringLiteral("row %1 of entry %2").arg(row).arg(i);
        if (row >= 0 && m_chosedItemList.count(row) != 1)
            return QStringLiteral("row %1 chosen twice").arg(row);
    }
    if (!KOVReportRules::samePoints(m_reportInfo.pointInfoList, m_pointInfoList))
        return QStringLiteral("the report record's points differ from the page's");
    return QString();
}
