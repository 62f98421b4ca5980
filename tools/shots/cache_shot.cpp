// Screenshots of the recovery cache for a person to look at: the restore
// question, the restore's progress, the restored window with its report
// pages, and the warning for a cache that cannot be restored. Not a test;
// run under xvfb-run in a scratch working directory:
//   cache_shot <user dir> <out dir>
#include "kovshotwait.h"
#include "kovcachefile.h"
#include "kovfiledialog.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QTranslator>

namespace {

QString gOut;
int gShot = 0;

// Shows each box as a person would see it, saves the screen, answers yes.
int shootBox(QMessageBox::Icon icon, const QString& title, const QString& text, const QStringList& buttons)
{
    QMessageBox box(icon, title, text);
    for (const QString& b : buttons)
        box.addButton(b, QMessageBox::AcceptRole);
    box.show();
    waitMs(400);
    QGuiApplication::primaryScreen()->grabWindow(0).save(gOut + QStringLiteral("/box%1.png").arg(++gShot));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString usr = QString::fromLocal8Bit(argv[1]);
    gOut = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(gOut);
    QApplication::setFont(QFont(QStringLiteral("微软雅黑"), 10));
    QTranslator tr;
    tr.load(QStringLiteral(":/style/font/Translate_CH.qm"));
    app.installTranslator(&tr);
    KOVMessageBox::s_answer = shootBox;
    KOVFileDialog::s_chooseHook = [usr](const QString&) { return usr; };
    {
        KOVReportExport w;
        w.show();
        w.importFiles();
        w.addNewReport(0);
        w.itemEntries().at(0)->setChosed();
        w.itemEntries().at(3)->setChosed();
        w.addNewReport(1);
        w.itemEntries().at(1)->setChosed();
        w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"))->setCurrentIndex(1);
        w.saveData();
    }
    {
        KOVReportExport w;
        w.resize(1600, 1000);
        w.restoreData();
        waitMs(300);
        QGuiApplication::primaryScreen()->grabWindow(0).save(gOut + QStringLiteral("/progress.png"));
        w.show();
        waitMs(1500);
        w.grab().save(gOut + QStringLiteral("/restored.png"));
        waitMs(1500);
    }
    QDir().mkpath(QStringLiteral("cache"));
    QFile torn(KOVCacheFile().jsonPath());
    torn.open(QIODevice::WriteOnly);
    torn.write("{\n    \"itemNameList\": [\n        \"a.jpg\",");
    torn.close();
    {
        KOVReportExport w;
        w.restoreData();
    }
    return 0;
}
