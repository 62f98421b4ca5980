// The real start-up (crash handler, restore question, quit hooks) driven by
// the program itself; run by tst_startrestore:
//   kovstartprobe open|crash <working dir> <user dir>   two reports open, then quit or SIGSEGV
//   kovstartprobe check <working dir> <out file>        restores, writes what it shows
#include "kovfiledialog.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"
#include "kovreportwin.h"
#include "kovstartup.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTabWidget>
#include <QTimer>

#include <unistd.h>

__attribute__((no_sanitize("address", "undefined"), noinline)) static void fault()
{
    *reinterpret_cast<volatile int*>(0x10) = 1;
}

int main(int argc, char** argv)
{
    if (argc < 4 || chdir(argv[2]) != 0)
        return 2;
    const QByteArray mode = argv[1];
    const QString arg = QString::fromLocal8Bit(argv[3]);
    KOVMessageBox::s_answer = [](QMessageBox::Icon, const QString&, const QString&, const QStringList&) { return 0; };
    KOVFileDialog::s_chooseHook = [arg](const QString&) { return arg; };
    return kovRunApplication(argc, argv, [mode, arg](KOVReportExport& w) {
        QTimer::singleShot(0, &w, [&w, mode, arg] {
            auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"));
            if (mode == "check") {
                QJsonArray texts, rows;
                for (int i = 0; i < tabs->count(); ++i)
                    texts.append(tabs->tabText(i));
                for (KOVReportWin* page : w.reportWins()) {
                    QJsonArray r;
                    for (int row : page->chosedItemList())
                        r.append(row);
                    rows.append(r);
                }
                QFile out(arg);
                if (out.open(QIODevice::WriteOnly))
                    out.write(QJsonDocument(QJsonObject { { "names", QJsonArray::fromStringList(w.fileNameList()) },
                        { "current", tabs->currentIndex() }, { "tabs", texts }, { "rows", rows },
                        { "fault", w.checkConsistency() } }).toJson());
                qApp->quit();
                return;
            }
            w.importFiles();
            w.addNewReport(0);
            for (int r : { 0, 2 })
                w.itemEntries().at(r)->setChosed();
            w.addNewReport(1);
            w.itemEntries().at(1)->setChosed();
            tabs->setCurrentIndex(1);
            if (mode == "crash")
                fault();
            qApp->quit();
        });
    });
}
