// Language: the choice is stored for the next start; the running interface
// keeps the catalogue it started with.
#include "kovreportexport.h"

#include "kovinformation.h"
#include "kovmessagebox.h"

#include <QDebug>

void KOVReportExport::on_actionChinese_triggered()
{
    chooseLanguage(0);
}

void KOVReportExport::on_actionEnglish_triggered()
{
    chooseLanguage(1);
}

void KOVReportExport::chooseLanguage(int id)
{
    qDebug() << "chooseLanguage" << id;
    KOVInformation::Instance()->setLanguageId(id);
    KOVMessageBox::ask(this, QMessageBox::Information, tr("提示"), tr("重启软件，语言设置生效"), { tr("是") });
}
