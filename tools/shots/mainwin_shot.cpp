// Not a test: shows the main window as a person sees it after importing a
// user directory and pressing a row, for screenshots under a virtual display.
//   mainwin_shot <user directory> <out.png> [row]
// Run in a staged working directory (cfg/, OEM/, log/); the language comes
// from cfg/config.ini as at start-up.
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovreportexport.h"
#include "kovstartup.h"

#include <QApplication>
#include <QFont>
#include <QListWidget>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        qCritical("usage: mainwin_shot <user directory> <out.png> [row]");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    const int row = argc > 3 ? QString::fromLatin1(argv[3]).toInt() : 0;
    app.setFont(QFont(QStringLiteral("微软雅黑"), 10));
    QTranslator tr;
    tr.load(QString::fromLatin1(kovTranslationFile(KOVInformation::Instance()->getLanguageId())));
    app.installTranslator(&tr);

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
        app.exit(ok ? 0 : 1);
    });
    return app.exec();
}
