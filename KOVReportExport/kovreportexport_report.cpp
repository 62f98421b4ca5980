// Report tabs and the choice of test points: opening and closing report
// pages, switching tabs, ticking and unticking rows, the relays between the
// report pages and the main window.
//
// Tabs can be dragged. The browse page is found by its widget and kept
// first; m_winList and m_reportList follow every move, so entry i of both
// is always the report page of tab i + 1.
#include "kovreportexport.h"

#include "kovaligned.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexportprivate.h"
#include "kovreportrules.h"
#include "kovreportwin.h"
#include "kovvideoimg.h"
#include "ui_kovreportexport.h"

#include <QDebug>
#include <QListWidgetItem>
#include <QTabBar>

void KOVReportExport::on_actionElectricity_triggered()
{
    addNewReport(1);
}

void KOVReportExport::on_actionGas_triggered()
{
    addNewReport(0);
}

void KOVReportExport::addNewReport(int type)
{
    if (ui->listWidget->count() == 0) {
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("请先导入文件列表！"), {tr("是")});
        return;
    }
    if (!KOVReportRules::canOpenReport(ui->mainTabWidget->count())) {
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("可新建报告数量达最大值！"), {tr("是")});
        return;
    }
    m_chosedItemList = KOVInformation::Instance()->getChosedItemList();
    auto* page = new KOVReportWin(this);
    const QString title = (type == 0 ? tr("气体报告") : tr("电力报告")) + QString::number(m_reportNum);
    page->setReportWinTitle(title, m_reportNum);
    page->setReportType(type);
    // Both lists grow before the tab exists: making it current runs the tab
    // change, which looks the page up.
    m_winList.append(page);
    m_reportList.append(KOVReportInfo());
    connect(page, SIGNAL(sigReportInfoChanged(KOVReportInfo_t)), this, SLOT(slotUpdateReportInfo(KOVReportInfo_t)));
    connect(page, SIGNAL(sigUpdateStatusLabel(int)), this, SLOT(slotUpdateStatusLB(int)));
    ui->mainTabWidget->addTab(page, title);
    ui->mainTabWidget->setCurrentWidget(page);
    ++m_reportNum;
}

KOVReportWin* KOVReportExport::currentReportWin() const
{
    auto* page = qobject_cast<KOVReportWin*>(ui->mainTabWidget->currentWidget());
    return m_winList.contains(page) ? page : nullptr;
}

void KOVReportExport::on_mainTabWidget_currentChanged(int index)
{
    setStatusInfo(-1, true);
    const bool single = ui->listWidget->selectionMode() != QAbstractItemView::MultiSelection;
    if (single) {
        if (QListWidgetItem* item = ui->listWidget->currentItem())
            item->setSelected(false);
    }
    clearCheckbox();
    if (index < 0)
        return;
    QWidget* shown = ui->mainTabWidget->widget(index);
    KOVInformation* info = KOVInformation::Instance();
    if (shown == m_videoImg) {
        setChosedCheckboxVisible(false);
        info->clearChosedItemList();
        m_chosedItemList.clear();
        if (QListWidgetItem* item = ui->listWidget->item(m_preIndex))
            item->setSelected(true);
        return;
    }
    KOVReportWin* page = currentReportWin();
    if (!page)
        return;
    if (QListWidgetItem* item = ui->listWidget->item(m_preIndex))
        item->setSelected(false);
    page->setChosedItemList();
    m_chosedItemList = info->getChosedItemList();
    if (!single)
        return; // batch deletion keeps the boxes hidden
    setChosedCheckboxVisible(true);
    for (int row : qAsConst(m_chosedItemList)) {
        if (KOVReportRules::isRow(row, m_itemList.size()))
            m_itemList.at(row)->setChosed();
    }
}

void KOVReportExport::clearCheckbox()
{
    for (int row : qAsConst(m_chosedItemList)) {
        if (KOVReportRules::isRow(row, m_itemList.size()))
            m_itemList.at(row)->setUnchosed();
    }
}

int KOVReportExport::rowOfEntry(QObject* entry, const QString& name) const
{
    // The entry that asked, not the first row of that name: two items of
    // the same file name in different folders are different test points.
    const int row = m_itemList.indexOf(qobject_cast<KOVItem*>(entry));
    return row >= 0 ? row : m_fileNameList.indexOf(name);
}

void KOVReportExport::slotSetItemChosed(QString name)
{
    const int row = rowOfEntry(sender(), name);
    if (!KOVReportRules::isRow(row, m_itemList.size()))
        return;
    KOVReportWin* page = currentReportWin();
    if (!page) {
        m_itemList.at(row)->setUnchosed(); // no report to add it to
        return;
    }
    if (m_chosedItemList.contains(row))
        return;
    if (!KOVReportRules::canAddPoint(m_fileNameList.size(), m_chosedItemList.size())) {
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("可增加测试点数量达最大值！"), {tr("是")});
        m_itemList.at(row)->setUnchosed();
        return;
    }
    m_chosedItemList.append(row);
    KOVInformation::Instance()->setChosedItemList(m_chosedItemList);
    if (!page->addTestpoint(row)) {
        m_itemList.at(row)->setUnchosed();
        m_chosedItemList.removeAll(row);
        KOVInformation::Instance()->setChosedItemList(m_chosedItemList);
    }
}

void KOVReportExport::slotSetItemUnchosed(QString name)
{
    const int answer = KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                                          tr("文件 ") + name + tr(" 已被选做测试点分析，") + QStringLiteral("\r\n")
                                              + tr("是否取消选中并删除测试点！"),
                                          {tr("是"), tr("否")});
    if (answer != 0)
        return; // the entry puts its tick back
    const int row = rowOfEntry(sender(), name);
    if (!KOVReportRules::isRow(row, m_itemList.size()))
        return;
    m_itemList.at(row)->setUnchosed();
    // The page's own list gives the position: its tabs may have been dragged
    // since the rows were ticked.
    if (KOVReportWin* page = currentReportWin())
        page->deleteTestPoint(page->chosedItemList().indexOf(row));
    m_chosedItemList = KOVInformation::Instance()->getChosedItemList();
}

void KOVReportExport::slotSetItemUnchosed_videoWin(int row)
{
    if (!KOVReportRules::isRow(row, m_itemList.size()))
        return;
    m_itemList.at(row)->setUnchosed();
    clickItemtoShow(row);
    m_chosedItemList = KOVInformation::Instance()->getChosedItemList();
}

void KOVReportExport::slotUpdateReportWinTitle(QString)
{
    // Each tab takes its own page's title: the page that changed its name
    // is found without assuming it is the current one.
    for (KOVReportWin* page : qAsConst(m_winList)) {
        const int tab = ui->mainTabWidget->indexOf(page);
        if (tab >= 0 && ui->mainTabWidget->tabText(tab) != page->windowTitle())
            ui->mainTabWidget->setTabText(tab, page->windowTitle());
    }
}

void KOVReportExport::slotUpdateReportInfo(KOVReportInfo_t info)
{
    // Stored with the page that sent it, whichever tab is current; a record
    // from a page no longer listed is dropped.
    const int i = m_winList.indexOf(qobject_cast<KOVReportWin*>(sender()));
    if (KOVReportRules::isRow(i, m_reportList.size()))
        m_reportList[i] = info;
}

void KOVReportExport::slotRemoveReportWin(int index)
{
    auto* page = qobject_cast<KOVReportWin*>(ui->mainTabWidget->widget(index));
    const int i = m_winList.indexOf(page);
    if (!page || i < 0)
        return; // the browse page has no close button; nothing else is ours
    qDebug() << "KOVReportExport::slotRemoveReportWin =" << index << ui->mainTabWidget->tabText(index);
    // Closing discards the test points and deletes their locked pictures from
    // the item folders: as with unticking one point, a single click is not enough.
    if (!page->chosedItemList().isEmpty()) {
        const int answer = KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                                              tr("报告 ") + ui->mainTabWidget->tabText(index) + tr(" 中有测试点，")
                                                  + QStringLiteral("\r\n") + tr("是否关闭报告并删除测试点！"),
                                              {tr("是"), tr("否")});
        if (answer != 0)
            return;
    }
    deleteHideImg(KOVReportRules::isRow(i, m_reportList.size()) ? m_reportList.at(i).pointInfoList
                                                                : QList<KOVTestPointInfo>());
    KOVAligned::removeAt(i, m_winList, m_reportList);
    // Disconnected before its tab goes: nothing it still sends may land in
    // the lists of another report.
    disconnect(page, nullptr, this, nullptr);
    ui->mainTabWidget->removeTab(index);
    page->hide();
    page->deleteLater();
}

void KOVReportExport::deleteHideImg(QList<KOVTestPointInfo> points)
{
    KOVReportRules::removeFiles(KOVReportRules::reportPictures(points));
}

void KOVReportExport::slotUpdateChosedList(int pre, int now)
{
    if (now < 0)
        return;
    if (QListWidgetItem* item = ui->listWidget->item(pre))
        item->setSelected(false);
    if (QListWidgetItem* item = ui->listWidget->item(now))
        item->setSelected(true);
    m_chosedItemList = KOVInformation::Instance()->getChosedItemList();
    setStatusInfo(now, false);
}

void KOVReportExport::slotMainTabMoved(int, int)
{
    if (d->m_movingTab)
        return;
    QTabWidget* tabs = ui->mainTabWidget;
    const int browse = tabs->indexOf(m_videoImg);
    if (browse > 0) {
        d->m_movingTab = true;
        tabs->tabBar()->moveTab(browse, 0);
        d->m_movingTab = false;
    }
    QList<KOVReportWin*> order;
    for (int t = 1; t < tabs->count(); ++t)
        order << qobject_cast<KOVReportWin*>(tabs->widget(t));
    if (!KOVAligned::follow(order, m_winList, m_reportList))
        qDebug() << "report tabs and pages disagree after a move";
}

QString KOVReportExport::checkConsistency() const
{
    const QTabWidget* tabs = ui->mainTabWidget;
    if (tabs->indexOf(m_videoImg) != 0)
        return QStringLiteral("the browse page is not the first tab");
    QString fault = KOVAligned::checkSizes(tabs->count() - 1, m_winList, m_reportList);
    if (!fault.isEmpty())
        return fault;
    for (int i = 0; i < m_winList.size(); ++i) {
        if (tabs->widget(i + 1) != m_winList.at(i))
            return QStringLiteral("tab %1 shows another page than entry %2").arg(i + 1).arg(i);
    }
    if (m_itemList.size() != m_fileNameList.size())
        return QStringLiteral("%1 entries for %2 names").arg(m_itemList.size()).arg(m_fileNameList.size());
    if (ui->listWidget->count() != m_itemList.size())
        return QStringLiteral("%1 list rows for %2 entries").arg(ui->listWidget->count()).arg(m_itemList.size());
    for (int r = 0; r < m_itemList.size(); ++r) {
        if (ui->listWidget->itemWidget(ui->listWidget->item(r)) != m_itemList.at(r))
            return QStringLiteral("list row %1 shows another entry").arg(r);
    }
    const KOVReportWin* page = currentReportWin();
    QQueue<int> pageRows = page ? page->chosedItemList() : QQueue<int>();
    QQueue<int> mine = m_chosedItemList;
    std::sort(pageRows.begin(), pageRows.end());
    std::sort(mine.begin(), mine.end());
    if (pageRows != mine)
        return QStringLiteral("the chosen rows differ from the current report's");
    for (int r = 0; r < m_itemList.size(); ++r) {
        const bool chosen = m_chosedItemList.contains(r);
        if (m_itemList.at(r)->isChosed() != chosen || m_itemList.at(r)->isBoxChecked() != chosen)
            return QStringLiteral("row %1 is %2ticked").arg(r).arg(chosen ? QStringLiteral("not ") : QString());
    }
    return QString();
}
