// Slots bound to the form by object name whose work belongs to the report
// tabs, deletion, export, language and screen-scale handling. They exist now
// so the form binds every action; their bodies grow with those features.
#include "kovreportexport.h"


void KOVReportExport::on_actionDelete_triggered()
{
}

void KOVReportExport::on_actionbatchDel_triggered()
{
}

void KOVReportExport::on_actionElectricity_triggered()
{
    addNewReport(1);
}

void KOVReportExport::on_actionGas_triggered()
{
    addNewReport(0);
}

void KOVReportExport::addNewReport(int)
{
}

void KOVReportExport::on_actionsaveReport_triggered()
{
}

void KOVReportExport::on_mainTabWidget_currentChanged(int index)
{
    // The browse page never shows the test-point boxes.
    if (index == 0)
        setChosedCheckboxVisible(false);
}

void KOVReportExport::on_batch_allCB_toggled(bool)
{
}

void KOVReportExport::on_batch_okPB_clicked()
{
}

void KOVReportExport::on_batch_noPB_clicked()
{
}

void KOVReportExport::checkDelChosedItem()
{
}

void KOVReportExport::slotRemoveReportWin(int)
{
}

void KOVReportExport::slotUpdateChosedList(int, int)
{
}

void KOVReportExport::slotUpdateReportWinTitle(QString)
{
}

void KOVReportExport::slotSetItemUnchosed_videoWin(int)
{
}

void KOVReportExport::slotSetItemChosed(QString)
{
}

void KOVReportExport::slotSetItemUnchosed(QString)
{
}

void KOVReportExport::slotUpdateReportInfo(KOVReportInfo_t)
{
}
