// Screenshots of a test-point page locking a frame and recording a clip, the
// clip player showing it, and the three tag dialogs, for a person to look
// at. Not a test; run under xvfb-run:  clip_shot <out dir> <CH|EN>
#include "kovshotwait.h"
#include "kovgen.h"
#include "kovinformation.h"
#include "kovscreenshot.h"
#include "kovvideoimg.h"
#include "reviewfixture.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTranslator>

namespace {

QPushButton* button(QWidget* w, const char* name)
{
    return w->findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString lang = QString::fromLatin1(argv[2]);
    QApplication::setFont(QFont(QStringLiteral("微软雅黑"), 10));
    QTranslator tr;
    tr.load(lang == QLatin1String("EN") ? QStringLiteral(":/style/font/Translate_EN.qm")
                                        : QStringLiteral(":/style/font/Translate_CH.qm"));
    app.installTranslator(&tr);
    QDir().mkpath(out);

    QTemporaryDir root;
    KOVGen::ItemOptions o;
    o.dir = root.path() + QStringLiteral("/video");
    o.fileName = QStringLiteral("VID_clip.mp4");
    o.kind = KOVGen::ItemKind::Video;
    o.frames = 60;
    o.seed = 31;
    o.label = KOVGen::electricalLabel(31);
    o.withAudio = true;
    o.audio.content = KOVGen::AudioContent::PdBursts;
    o.audio.seconds = 0;
    o.tags = KOVGen::demoTags();
    if (!KOVGen::writeItem(o))
        return 1;
    const ReviewFixture::Item item { o.dir + QLatin1Char('/'), o.dir + QLatin1Char('/') + o.fileName, o.fileName };
    KOVInformation::Instance()->setPDDLen(240);
    ReviewFixture::publish({ item });

    KOVVideoImg page;
    page.isReportWin(true, 1);
    page.saveNamePre(QStringLiteral("3"));
    page.slotUpdateItemList();
    page.show();
    page.showItem(0, item.dir.chopped(1));
    for (int i = 0; i < 12; ++i)
        button(&page, "PB_nextFrame")->click();
    // The pattern state arrives a second after loading.
    waitMs(1500);
    button(&page, "lockBtn")->click();
    waitMs(800);
    page.grab().save(out + QStringLiteral("/lock_") + lang + QStringLiteral(".png"));

    button(&page, "screenShotPB")->click();
    waitMs(600);
    page.grab().save(out + QStringLiteral("/recording_") + lang + QStringLiteral(".png"));
    waitMs(600);
    button(&page, "screenShotPB")->click();
    waitMs(300);
    page.grab().save(out + QStringLiteral("/clip_") + lang + QStringLiteral(".png"));

    button(&page, "screenShotPB")->click();
    KOVScreenshot* player = page.clipPlayer();
    waitMs(300);
    player->grab().save(out + QStringLiteral("/player_") + lang + QStringLiteral(".png"));
    player->close();

    const char* const tags[] = { "tagBtn_1", "tagBtn_2", "tagBtn_3", "tagBtn_6" };
    for (const char* name : tags) {
        QTimer::singleShot(700, [&page, &out, &lang, name]() {
            if (QDialog* d = page.openTagDialog()) {
                d->grab().save(out + QStringLiteral("/") + QLatin1String(name) + QStringLiteral("_") + lang
                    + QStringLiteral(".png"));
                d->reject();
            }
        });
        button(&page, name)->click();
    }
    return 0;
}
