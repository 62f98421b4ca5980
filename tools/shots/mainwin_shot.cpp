// Not a test: shows the main window as a person sees it after importing a
// user directory and pressing a row, for screenshots under a virtual display.
//   mainwin_shot <user directory> <out.png> [row] [about.png]
// Run in a staged working directory (cfg/, OEM/, log/); the language comes
// from cfg/config.ini as at start-up, the scale from the screen (QT_FONT_DPI).
// With about.png, the About window is opened afterwards and the screen shot
// again.
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovreportexport.h"
#include "kovstartup.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QListWidget>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        qCritical("usage: mainwin_shot <user directory> <out.png> [row] [about.png]");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    const int row = argc > 3 ? QString::fromLatin1(argv[3]).toInt() : 0;
    const QString aboutOut = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    kovSetApplicationFont();
    kovInstallCatalogues(KOVInformation::Instance()->getLanguageId());

    KOVFileDialog::s_chooseHook = [dir](const QString&) { return dir; };
    KOVReportExport w;
    w.show();
    w.importFiles();
    auto* list = w.findChild<QListWidget*>(QStringLiteral("listWidget"));
    QTimer::singleShot(500, [&] {
        if (list->item(row))
            w.on_listWidget_itemPressed(list->item(row));
    });
    QTimer::singleShot(2500, [&] {
        const bool ok = w.screen()->grabWindow(0).save(out);
        if (!ok || aboutOut.isEmpty()) {
            app.exit(ok ? 0 : 1);
            return;
        }
        w.findChild<QAction*>(QStringLiteral("actionAbout"))->trigger();
        QTimer::singleShot(1000, [&] { app.exit(w.screen()->grabWindow(0).save(aboutOut) ? 0 : 1); });
    });
    return app.exec();
}
