// The real start-up (crash handler, log, catalogue, restore question, quit
// hooks) with a person's part played by the program:
//   kovstartprobe open  <working dir> <user dir>   imports, opens two reports
//                                                  with ticked rows, quits
//   kovstartprobe crash <working dir> <user dir>   the same, then SIGSEGV
//   kovstartprobe check <working dir> <out file>   answers yes to the restore,
//                                                  writes what it shows, quits
// Run by tst_startrestore.
#include "kovfiledialog.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"
#include "kovstartup.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTabWidget>
#include <QTimer>

#include <cstring>
#include <unistd.h>

namespace {

__attribute__((no_sanitize("address", "undefined"), noinline)) void fault()
{
    volatile int* p = reinterpret_cast<volatile int*>(0x10);
    *p = 1;
}

QTabWidget* tabs(KOVReportExport& w)
{
    return w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"));
}

void tick(KOVReportExport& w, const QList<int>& rows)
{
    for (int r : rows)
        w.itemEntries().at(r)->setChosed();
}

// The rows ticked on each tab, the tab texts, the current tab, the names.
QJsonObject shown(KOVReportExport& w)
{
    QTabWidget* t = tabs(w);
    QJsonObject o;
    o.insert(QStringLiteral("names"), QJsonArray::fromStringList(w.fileNameList()));
    o.insert(QStringLiteral("current"), t->currentIndex());
    QJsonArray texts, ticked;
    const int current = t->currentIndex();
    for (int i = 0; i < t->count(); ++i) {
        texts.append(t->tabText(i));
        t->setCurrentIndex(i);
        QJsonArray rows;
        for (int r = 0; i > 0 && r < w.itemEntries().size(); ++r) {
            if (w.itemEntries().at(r)->isBoxChecked())
                rows.append(r);
        }
        ticked.append(rows);
    }
    t->setCurrentIndex(current);
    o.insert(QStringLiteral("tabs"), texts);
    o.insert(QStringLiteral("ticked"), ticked);
    return o;
}

} // namespace

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
            if (mode == "check") {
                QFile out(arg);
                if (out.open(QIODevice::WriteOnly))
                    out.write(QJsonDocument(shown(w)).toJson());
                qApp->quit();
                return;
            }
            w.importFiles();
            w.addNewReport(0);
            tick(w, { 0, 2 });
            w.addNewReport(1);
            tick(w, { 1 });
            tabs(w)->setCurrentIndex(1);
            if (mode == "crash")
                fault();
            qApp->quit();
        });
    });
}
