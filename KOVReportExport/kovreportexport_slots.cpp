// Slots bound to the form by object name whose work belongs to language and
// About handling. They exist now so the form binds every action; their
// bodies grow with those features.
#include "kovreportexport.h"

void KOVReportExport::on_actionChinese_triggered()
{
}

void KOVReportExport::on_actionEnglish_triggered()
{
}

void KOVReportExport::on_actionAbout_triggered()
{
}

void KOVReportExport::slotLogicalDotsPerInchChanged(double dpi)
{
    refreshSize(dpi);
}
