// The real start-up driven by the program itself, for tst_startrestore:
//   kovstartprobe open|crash|term|hup|check|restorecrash|restoreendcrash <working dir> <user dir> <out file>
// open/crash/term/hup: two reports open, what is shown written, quit, fault,
// SIGTERM or SIGHUP; check: restore answered yes, what is shown written;
// restorecrash: restore answered yes, a fault once one page is back;
// restoreendcrash: the same, a fault once the restore removed the cache.
#include "kovcachefile.h"
#include "kovfiledialog.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"
#include "kovreportwin.h"
#include "kovstartup.h"

#include <QApplication>
#include <QFile>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>

#include <csignal>
#include <unistd.h>

__attribute__((no_sanitize("address", "undefined"), noinline)) static void fault()
{
    *reinterpret_cast<volatile int*>(0x10) = 1;
}

// Names, tab texts, current tab, each report's rows, the window's own check.
static bool writeShown(KOVReportExport& w, QTabWidget* tabs, const QString& path)
{
    QStringList texts, rows;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    for (KOVReportWin* page : w.reportWins()) {
        QStringList r;
        for (int row : page->chosedItemList())
            r << QString::number(row);
        rows << r.join(QLatin1Char(','));
    }
    QFile out(path);
    return out.open(QIODevice::WriteOnly)
        && out.write(QStringLiteral("%1\n%2\ncurrent %3\nrows %4\n%5").arg(w.fileNameList().join(QLatin1Char('|')),
               texts.join(QLatin1Char('|'))).arg(tabs->currentIndex()).arg(rows.join(QLatin1Char(';')), w.checkConsistency()).toUtf8()) > 0;
}

int main(int argc, char** argv)
{
    if (argc < 5 || chdir(argv[2]) != 0)
        return 2;
    const QByteArray mode = argv[1];
    const QString usr = QString::fromLocal8Bit(argv[3]), out = QString::fromLocal8Bit(argv[4]);
    KOVMessageBox::s_answer = [mode](QMessageBox::Icon, const QString&, const QString&, const QStringList&) {
        const auto window = []() -> KOVReportExport* {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* w = qobject_cast<KOVReportExport*>(top))
                    return w;
            return nullptr;
        };
        if (mode == "restorecrash") {
            // The restore window's bar moves with every point restored,
            // however quickly: the fault comes with the second page's first.
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* bar = top->findChild<QSlider*>(QStringLiteral("progressSlider")))
                    QObject::connect(bar, &QSlider::valueChanged, [window] {
                        if (KOVReportExport* w = window(); w && w->reportWins().size() >= 2)
                            fault();
                    });
        }
        if (mode == "restoreendcrash") {
            // The restore lets events through once more as it ends, after
            // the cache it read is gone.
            auto* poll = new QTimer(qApp);
            QObject::connect(poll, &QTimer::timeout, [window] {
                if (KOVReportExport* w = window(); w && !w->reportWins().isEmpty() && !KOVCacheFile().exists())
                    fault();
            });
            poll->start(0);
        }
        return 0;
    };
    KOVFileDialog::s_chooseHook = [usr](const QString&) { return usr; };
    return kovRunApplication(argc, argv, [mode, out](KOVReportExport& w) {
        QTimer::singleShot(0, &w, [&w, mode, out] {
            auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"));
            if (mode == "open" || mode == "crash" || mode == "term" || mode == "hup") {
                w.importFiles();
                w.addNewReport(0);
                for (int r : { 0, 2 })
                    w.itemEntries().at(r)->setChosed();
                w.addNewReport(1);
                w.itemEntries().at(1)->setChosed();
                tabs->setCurrentIndex(1);
            }
            writeShown(w, tabs, out);
            if (mode == "crash")
                fault();
            if (mode == "term" || mode == "hup")
                kill(getpid(), mode == "term" ? SIGTERM : SIGHUP); // the loop ends the run
            else
                qApp->quit();
        });
    });
}
