// Screenshots of an electrical test-point page playing the demo directory's
// discharge video with the waveform window open, for a person to look at: the
// page (slice, pattern and class), each tab of the window, the spectrogram
// zoomed to 24 frames, and the screen.
// Not a test; run under xvfb-run:  analysis_shot <user dir> <out dir> <CH|EN> [hidden]
#include "kovshotwait.h"
#include "kovinformation.h"
#include "kovshowwavform.h"
#include "kovstartup.h"
#include "kovvideoimg.h"
#include "kovwaveform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
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
    // The main window would have applied the screen's scale before any page exists.
    KOVInformation::Instance()->setScreenDPI(app.primaryScreen()->logicalDotsPerInch());
    QDir().mkpath(out);

    QStringList names;
    QStringList paths;
    const QFileInfoList dirs = QDir(userDir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& d : dirs) {
        if (!d.fileName().contains(QLatin1String("electric_video")))
            continue;
        for (const QFileInfo& f : QDir(d.filePath()).entryInfoList({ "*.mp4" }, QDir::Files, QDir::Name)) {
            names << f.fileName();
            paths << f.filePath();
        }
    }
    if (names.isEmpty())
        return 3;
    KOVInformation::Instance()->setFileNameList(names);
    KOVInformation::Instance()->setFilePathList(paths);

    KOVVideoImg page;
    page.isReportWin(true, 1);
    page.slotUpdateItemList();
    page.move(0, 0);
    // "hidden": loaded before it is shown, as a restored test point is.
    const bool loadHidden = argc > 4 && QLatin1String(argv[4]) == QLatin1String("hidden");
    if (!loadHidden)
        page.show();
    page.showItem(0, QFileInfo(paths[0]).path() + QLatin1Char('/'));
    if (loadHidden)
        page.show();
    KOVShowWavform* window = page.waveForm()->window();
    page.waveForm()->setWavPlotVisible(true);
    window->move(1000, 380);
    QPushButton* play = page.findChild<QPushButton*>(QStringLiteral("PB_play"));
    play->click();
    waitMs(1600);
    play->click();
    waitMs(500);
    page.grab().save(out + QStringLiteral("/pattern_page_") + lang + QStringLiteral(".png"));
    QTabWidget* tabs = window->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    const char* const tabNames[] = { "waveform", "spectrum", "spectrogram" };
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        waitMs(300);
        window->grab().save(out + QStringLiteral("/window_%1_").arg(QLatin1String(tabNames[i])) + lang
            + QStringLiteral(".png"));
    }
    // Zoomed in to 24 frames: a column per frame, each over its frame's time.
    QCustomPlot* gram = window->spectrogramPlot();
    gram->xAxis->setRange(0.5, 0.5 + 24 * 1024 / 96000.0);
    gram->replot();
    waitMs(300);
    window->grab().save(out + QStringLiteral("/window_spectrogram_zoomed_") + lang + QStringLiteral(".png"));
    tabs->setCurrentIndex(0);
    waitMs(300);
    QGuiApplication::primaryScreen()->grabWindow(0).save(out + QStringLiteral("/screen_") + lang
        + QStringLiteral(".png"));
    return 0;
}
