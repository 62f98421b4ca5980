// The file list: pressing and switching rows, the status bar.
#include "kovreportexport.h"

#include "kovitem.h"
#include "kovvideoimg.h"
#include "ui_kovreportexport.h"

#include <QDebug>
#include <QLabel>
#include <QListWidgetItem>

void KOVReportExport::on_listWidget_itemPressed(QListWidgetItem* item)
{
    qDebug() << "on_listWidget_itemPressed: " << (item ? item->text() : QString());
    if (ui->listWidget->selectionMode() == QAbstractItemView::MultiSelection) {
        checkDelChosedItem();
        return;
    }
    ui->listWidget->setCurrentItem(item);
    clickItemtoShow(ui->listWidget->currentRow());
}

void KOVReportExport::on_listWidget_currentRowChanged(int)
{
}

void KOVReportExport::clickItemtoShow(int row)
{
    if (!m_videoImg->isVisible() || row < 0 || row >= m_filePathList.size())
        return;
    m_preIndex = row;
    m_videoImg->showItem(row, getItemDirPath(m_filePathList.at(row)));
    setStatusInfo(row, false);
}

void KOVReportExport::setStatusInfo(int row, bool clear)
{
    statusLb->setVisible(!clear);
    if (clear)
        statusLb_filePath->clear();
    else if (row >= 0 && row < m_filePathList.size())
        statusLb_filePath->setText(m_filePathList.at(row));
}

void KOVReportExport::slotUpdateStatusLB(int row)
{
    setStatusInfo(row, false);
}

void KOVReportExport::slotOpenFile()
{
    qDebug() << "slotOpenFile------";
}

void KOVReportExport::updateLanguage()
{
}

void KOVReportExport::updateCurrentCheckedFile(QString path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    m_curDirName = path.left(slash);
    m_curFileName = path.mid(slash + 1);
}

void KOVReportExport::slotSwitchItem(int next)
{
    const int rows = ui->listWidget->count();
    if (rows <= 1)
        return;
    int row = ui->listWidget->currentRow();
    if (next != 0)
        row = row + 1 >= rows ? 0 : row + 1;
    else
        row = row - 1 < 0 ? rows - 1 : row - 1;
    ui->listWidget->setCurrentRow(row);
    clickItemtoShow(row);
}

void KOVReportExport::slotSeclectItemChanged(int pre, int cur)
{
    if (QListWidgetItem* item = ui->listWidget->item(pre))
        item->setSelected(false);
    if (QListWidgetItem* item = ui->listWidget->item(cur))
        item->setSelected(true);
    clickItemtoShow(cur);
}
