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
