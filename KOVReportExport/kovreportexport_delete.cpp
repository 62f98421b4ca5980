// Deleting items from the file list, one at a time or in a batch. Only the
// list and the application's lists change: nothing on disk is touched.
//
// The rows a report uses are looked up in a local list per page; the current
// report's chosen rows are never replaced by another page's, whichever tab
// is current. A batch deletes the entries that were selected, looked up by
// entry each time, since every deletion shifts the rows after it.
#include "kovreportexport.h"
#include "ui_kovreportexport.h"

#include "kovinformation.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovmsg.h"
#include "kovreportwin.h"
#include "kovvideoimg.h"

#include <QListWidgetItem>
#include <QPointer>

void KOVReportExport::on_actionDelete_triggered()
{
    const int row = ui->listWidget->currentRow();
    if (row < 0) {
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("未选择任何文件，请选择文件进行删除！"),
                           { tr("是") });
        return;
    }
    if (!delReportBeforeDelAllItem(1))
        delItemFile(row);
}

bool KOVReportExport::delReportBeforeDelAllItem(int count)
{
    if (ui->listWidget->count() != count || ui->mainTabWidget->count() < 2)
        return false;
    KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), tr("删除所有文件前，请先删除所有报告页！"),
                       QStringList());
    return true;
}

void KOVReportExport::renumberShownRow(int row)
{
    if (m_preIndex == row) {
        m_preIndex = 0;
        m_videoImg->closeFile(true);
        setStatusInfo(-1, true);
    } else if (m_preIndex > row) {
        --m_preIndex;
    }
}

void KOVReportExport::delItemFile(int row)
{
    if (row >= 0 && row < m_fileNameList.size()) {
        const QStringList users = reportsUsing(row);
        if (users.isEmpty()) {
            renumberShownRow(row);
            if (!m_winList.isEmpty() && ui->mainTabWidget->currentIndex() > 0)
                updateChosedItem_Del(row);
            updateItemListAndWidget(row);
        } else {
            QString text = m_fileNameList.at(row) + QStringLiteral("\r\n") + tr(" 文件在以下报告中被使用")
                + QStringLiteral("\r\n") + tr("请删除报告中对应测试点后再进行操作！") + QStringLiteral("\r\n\r\n");
            for (const QString& title : users)
                text += title + QStringLiteral("\r\n");
            KOVMessageBox::ask(this, QMessageBox::Warning, tr("删除文件"), text, QStringList());
        }
    }
    if (ui->listWidget->count() == 0) {
        m_videoImg->closeFile(true);
        setStatusInfo(-1, true);
        m_preIndex = -1;
        m_videoImg->synchronousSelectIndexAfterDel(-1);
    } else {
        m_videoImg->synchronousSelectIndexAfterDel(m_preIndex);
    }
}

void KOVReportExport::updateChosedItem_Del(int row)
{
    for (int& chosen : m_chosedItemList) {
        if (chosen > row)
            --chosen;
    }
}

void KOVReportExport::updateItemListAndWidget(int row)
{
    // The entry widget goes with its row; the row itself is ours to free.
    delete ui->listWidget->takeItem(row);
    if (row >= 0 && row < m_fileNameList.size() && row < m_filePathList.size()) {
        m_fileNameList.removeAt(row);
        m_filePathList.removeAt(row);
    }
    KOVInformation* info = KOVInformation::Instance();
    info->setFileNameList(m_fileNameList);
    info->setFilePathList(m_filePathList);
    emit KOVMsg::Instance()->sigDelItemIndexChanged();
    emit KOVMsg::Instance()->sigItemListChanged();
    if (row >= 0 && row < m_itemList.size())
        m_itemList.removeAt(row);
}

void KOVReportExport::on_actionbatchDel_triggered()
{
    setChosedCheckboxVisible(false);
    batchVisible(true);
    deselectItem();
}

void KOVReportExport::deselectItem()
{
    ui->listWidget->clearSelection();
}

void KOVReportExport::checkDelChosedItem()
{
    if (ui->listWidget->selectedItems().size() != ui->listWidget->count())
        ui->batch_allCB->setChecked(false);
}

void KOVReportExport::on_batch_allCB_toggled(bool checked)
{
    if (checked)
        ui->listWidget->selectAll();
    else if (ui->listWidget->selectedItems().size() == ui->listWidget->count())
        deselectItem();
}

void KOVReportExport::on_batch_okPB_clicked()
{
    const QList<QListWidgetItem*> selected = ui->listWidget->selectedItems();
    if (!selected.isEmpty()) {
        if (delReportBeforeDelAllItem(selected.size()))
            return;
        for (QListWidgetItem* entry : selected) {
            // Refused entries stay, so the row of each is looked up afresh.
            const int row = ui->listWidget->row(entry);
            if (row < 0)
                continue;
            ui->listWidget->selectionModel()->setCurrentIndex(ui->listWidget->model()->index(row, 0),
                                                              QItemSelectionModel::NoUpdate);
            delItemFile(row);
        }
        batchVisible(false);
    } else {
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("提示"), tr("未选择任何文件！"), { tr("是") });
    }
    if (ui->mainTabWidget->currentIndex() > 0)
        setChosedCheckboxVisible(true);
    deselectItem();
    if (m_preIndex >= 0 && m_preIndex < ui->listWidget->count() && ui->mainTabWidget->currentIndex() == 0)
        ui->listWidget->item(m_preIndex)->setSelected(true);
}

void KOVReportExport::on_batch_noPB_clicked()
{
    deselectItem();
    batchVisible(false);
    if (ui->mainTabWidget->currentIndex() > 0) {
        setChosedCheckboxVisible(true);
        for (int row : qAsConst(m_chosedItemList)) {
            if (row >= 0 && row < m_itemList.size())
                m_itemList.at(row)->setChosed();
        }
    }
    if (m_preIndex >= 0 && m_preIndex < ui->listWidget->count())
        ui->listWidget->item(m_preIndex)->setSelected(true);
}

QStringList KOVReportExport::reportsUsing(int row)
{
    // Each page's own rows, read without publishing them: the state object
    // and m_chosedItemList keep the current report's.
    QStringList titles;
    for (KOVReportWin* page : qAsConst(m_winList)) {
        if (page->chosedItemList().contains(row))
            titles << page->windowTitle();
    }
    return titles;
}
