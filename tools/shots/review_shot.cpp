// Screenshots of the review page for a person to look at: a picture item and
// a video item after playing, in the language given. Not a test; run under
// xvfb-run:  review_shot <user dir> <out dir> <CH|EN>
#include "kovshotwait.h"
#include "kovinformation.h"
#include "kovstartup.h"
#include "kovocrcontext.h"
#include "kovvideoimg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <QThread>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString userDir = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString lang = QString::fromLatin1(argv[3]);
    kovSetApplicationFont();
    kovInstallCatalogues(lang == QLatin1String("EN") ? 1 : 0);
    QDir().mkpath(out);

    QStringList names;
    QStringList paths;
    const QFileInfoList dirs = QDir(userDir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& d : dirs) {
        const QFileInfoList files = QDir(d.filePath()).entryInfoList({ "*.jpg", "*.mp4" }, QDir::Files, QDir::Name);
        for (const QFileInfo& f : files) {
            names << f.fileName();
            paths << f.filePath();
        }
    }
    // The main window would have applied the screen's scale before any page exists.
    KOVInformation::Instance()->setScreenDPI(app.primaryScreen()->logicalDotsPerInch());
    KOVInformation::Instance()->setFileNameList(names);
    KOVInformation::Instance()->setFilePathList(paths);

    KOVVideoImg page;
    page.isReportWin(true, 0);
    page.slotUpdateItemList();
    page.show();
    int pic = -1;
    int vid = -1;
    for (int i = 0; i < names.size(); ++i) {
        if (pic < 0 && names[i].endsWith(QLatin1String(".jpg")))
            pic = i;
        if (vid < 0 && names[i].endsWith(QLatin1String(".mp4")))
            vid = i;
    }
    if (pic >= 0) {
        page.showItem(pic, QFileInfo(paths[pic]).path() + QLatin1Char('/'));
        waitMs(1500);
        page.grab().save(out + QStringLiteral("/picture_") + lang + QStringLiteral(".png"));
    }
    if (vid >= 0) {
        page.showItem(vid, QFileInfo(paths[vid]).path() + QLatin1Char('/'));
        page.findChild<QPushButton*>(QStringLiteral("PB_play"))->click();
        waitMs(700);
        page.findChild<QPushButton*>(QStringLiteral("PB_play"))->click();
        waitMs(800);
        page.grab().save(out + QStringLiteral("/video_") + lang + QStringLiteral(".png"));
    }
    return 0;
}
