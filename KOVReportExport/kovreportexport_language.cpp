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
    if (!KOVInformation::Instance()->setLanguageId(id)) {
        // Promising the language at the next start would be untrue: that
        // start reads the file that could not be written.
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                           tr("语言设置未能保存，请检查配置文件是否可写：") + QStringLiteral("./cfg/config.ini"),
                           { tr("是") });
        return;
    }
    KOVMessageBox::ask(this, QMessageBox::Information, tr("提示"), tr("重启软件，语言设置生效"), { tr("是") });
}
