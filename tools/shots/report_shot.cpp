// Not a test: walks the main road as a person would (import, a new report,
// ticked rows, export) and takes screenshots of the report page and of the
// progress dialog under a virtual display.
//   report_shot <user directory> <out prefix> [gas|elec]
// Writes <prefix>_report.png, <prefix>_back.png (the same page after a
// second report was opened and the first made current again), <prefix>_progress.png and the export folder
// <prefix>_export/; prints the workbook path. Run in a staged working
// directory (cfg/ with the templates and config.ini).
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovreportexport.h"
#include "kovreportwin.h"
#include "kovsavedialog.h"
#include "kovstartup.h"

#include <QApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTextStream>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        qCritical("usage: report_shot <user directory> <out prefix> [gas|elec]");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int type = argc > 3 && QString::fromLatin1(argv[3]) == QLatin1String("elec") ? 1 : 0;
    kovSetApplicationFont();
    kovInstallCatalogues(KOVInformation::Instance()->getLanguageId());

    KOVFileDialog::s_chooseHook = [dir](const QString&) { return dir; };
    KOVReportExport w;
    w.show();
    w.importFiles();
    w.addNewReport(type);
    for (int r = 0; r < 3 && r < w.itemEntries().size(); ++r)
        w.itemEntries().at(r)->setChosed();

    auto grab = [&](const QString& file) { return w.screen()->grabWindow(0).save(file); };
    QTimer::singleShot(3000, [&] {
        if (!grab(prefix + QStringLiteral("_report.png"))) {
            app.exit(1);
            return;
        }
        // Put away behind a second report and brought back: the page must
        // show what it showed.
        w.addNewReport(type);
        QTest::qWait(1000);
        w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"))->setCurrentIndex(1);
        QTest::qWait(1500);
        grab(prefix + QStringLiteral("_back.png"));
        const QString out = prefix + QStringLiteral("_export/") + w.reportWins().first()->getReportData().name + QStringLiteral(".xlsx");
        KOVSaveDialog::s_answer = [out](const QString&, const QString&, const QString&) { return out; };
        QTimer::singleShot(600, [&] { grab(prefix + QStringLiteral("_progress.png")); });
        w.on_actionsaveReport_triggered();
        const QString folder = out.left(out.size() - 5);
        QTextStream(stdout) << folder + out.mid(out.lastIndexOf(QLatin1Char('/'))) << '\n';
        app.exit(0);
    });
    return app.exec();
}
