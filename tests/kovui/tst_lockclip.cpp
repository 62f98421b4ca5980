// A test-point page locking frames and recording clips of a video whose
// frames carry their index; the clip read back by OpenCV and ffprobe and
// shown in the page's clip player; tag buttons opening their dialogs; pages
// not on screen holding no decoder and no audio, and losing nothing of their
// state on the page or in the recovery cache, and locking the pattern they
// show after they come back. A working folder that cannot be written, or
// holds links or a folder under a file's name: a lock that fails says so and
// records nothing, files written there replace what stands under their
// names instead of writing through it, a restore writes a lost frame file
// again, and a cache folder that is a link is removed alone.
#include "kovcachefile.h"
#include "kovclipnames.h"
#include "kovinformation.h"
#include "kovlockcheck.h"
#include "kovmediafixtures.h"
#include "kovprpd.h"
#include "kovwaveform.h"
#include "kovmessagebox.h"
#include "kovmsg.h"
#include "kovreadaudio.h"
#include "kovscreenshot.h"
#include "kovtagaud.h"
#include "kovvideotime.h"
#include "pagetesthelp.h"
#include "reviewfixture.h"
#include "kovtable.h"

#include <QComboBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QRandomGenerator>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <numeric>

#include <unistd.h>

#include <opencv2/videoio.hpp>

using namespace PageTest;
using ReviewFixture::Item;

namespace {

// Pages are checked after every step: lists, record and frame files agree.
#define CHECK_LOCK(page) QCOMPARE(KOVLockCheck::check((page).lockState()), QString())

bool step(KOVVideoImg& page, const char* slot, int id = -2)
{
    return id == -2 ? QMetaObject::invokeMethod(&page, slot) : QMetaObject::invokeMethod(&page, slot, Q_ARG(int, id));
}

QVector<int> clipFrames(const QString& path)
{
    QVector<int> v;
    cv::VideoCapture cap(path.toStdString());
    cv::Mat m;
    while (cap.isOpened() && cap.read(m))
        v << KOVGen::decodeFrameIndex(m);
    return v;
}


// The document without the names of its pictures, new on every save.
QJsonObject withoutPictureNames(const QJsonObject& root)
{
    QJsonObject o = root.value(QStringLiteral("testPoint")).toObject();
    for (const char* key : { "img", "markedImgList", "pddImgList" })
        o.remove(QLatin1String(key));
    return o;
}

// Hidden: the frame on show kept, nothing to decode held.
void checkLetGo(const KOVVideoImg& page)
{
    QVERIFY(!page.decoderOpen() && !page.shownFrame().isNull());
    CHECK_LOCK(page);
}

} // namespace

class TstLockClip : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QList<Item> m_items;
    QStringList m_boxes;
    enum { Video, Bad, Tagged, Pd, PdLong };

    // A report-mode page of report 3 showing item i.
    void showOn(KOVVideoImg& page, int i, const QString& number = QStringLiteral("3"))
    {
        page.saveNamePre(number);
        open(page, 1, i, m_items[i].dir.chopped(1));
    }
    QString hide(int i) const { return m_items[i].dir + "hideImg"; }
    static void record(KOVVideoImg& page, int ticks)
    {
        QPushButton* clip = child<QPushButton>(&page, "screenShotPB");
        clip->click();
        for (int i = 0; i < ticks; ++i)
            QVERIFY(step(page, "slotTimeOut"));
        clip->click();
    }

private slots:
    void initTestCase()
    {
        using K = KOVGen::ItemKind;
        const QString r = m_root.path();
        m_items << ReviewFixture::makeItem(r, "video", "VID_20.mp4", K::Video, 20, 1, true, 21)
                << ReviewFixture::makeItem(r, "bad", "VID_bad.mp4", K::Video, 2, -1, true, 22)
                << ReviewFixture::makeItem(r, "tagged", "IMG_tag.jpg", K::Picture, 1, -1, true, 23);
        QVERIFY(KOVMediaFixture::writeFile(m_items[Bad].path, QByteArray(2048, 'q')));
        // Slot 04 is listed but gone when clicked; slot 05 is text taken for a picture.
        QVector<KOVGen::Tag> tags = KOVGen::demoTags();
        tags << KOVGen::Tag { "x05_jpg.txt", KOVGen::TagKind::Text, "x", "UTF-8" }
             << KOVGen::Tag { "gone04.txt", KOVGen::TagKind::Text, "x", "UTF-8" };
        QVERIFY(KOVGen::writeTags(m_items[Tagged].dir, tags, 5));
        // A video with discharge bursts in its recording: the pattern has a picture.
        QVERIFY(!writePdVideo(r + "/pd", "VID_pd.mp4", 30, 1).isEmpty());
        m_items << Item { r + "/pd/", r + "/pd/VID_pd.mp4", "VID_pd.mp4" };
        QVERIFY(!writePdVideo(r + "/pdlong", "VID_pdlong.mp4", 60, 2).isEmpty());
        m_items << Item { r + "/pdlong/", r + "/pdlong/VID_pdlong.mp4", "VID_pdlong.mp4" };
        for (const Item& i : m_items)
            QVERIFY(!i.path.isEmpty());
        KOVInformation::Instance()->setPDDLen(240);
        ReviewFixture::publish(m_items);
        QVERIFY(QDir().mkpath(r + "/outside"));
    }

    void init()
    {
        m_boxes.clear();
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString&, const QString& text, const QStringList&) {
            m_boxes << text; return 0;
        };
    }
    void cleanup()
    {
        KOVMessageBox::s_answer = nullptr;
        for (int i : { Video, Pd, PdLong }) // a link or file planted there goes alone
            if (!QFile::remove(hide(i)))
                QDir(hide(i)).removeRecursively();
    }

    void lockAndUnlock()
    {
        KOVVideoImg page;
        showOn(page, Video);
        const QString hide = m_items[Video].dir + "hideImg/";
        int changed = 0;
        connect(&page, &KOVVideoImg::sigPointInfoChanged, [&changed](KOVTestPointInfo_t) { ++changed; });
        for (int i = 0; i < 4; ++i)
            QVERIFY(step(page, "on_PB_nextFrame_clicked"));
        auto* maxSpl = child<QLineEdit>(&page, "infoMaxSPL");
        maxSpl->setText("77.7dB");
        QVERIFY(step(page, "on_lockBtn_clicked"));
        CHECK_LOCK(page);
        QCOMPARE(changed, 1);
        QCOMPARE(KOVGen::decodeFrameIndex(QImage(hide + "R3_0.jpg")), 4); // the frame on show
        QCOMPARE(child<QPushButton>(&page, "lockBtn_1")->text(), KOVVideoTime::label(5));

        // The check itself finds a broken state.
        const KOVLockState s = page.lockState();
        const QList<QImage> pdd = { QImage(), QImage() };
        QVERIFY(!KOVLockCheck::check({ s.marks, s.images, pdd, { "T", "T" }, s.record }).isEmpty());
        KOVTestPointInfo classless = s.record;
        classless.pddImgPathList << hide + "R3_0.jpg"; // a pattern picture without its class
        const QList<QImage> one = { QImage(1, 1, QImage::Format_RGB32) };
        QVERIFY(KOVLockCheck::check({ s.marks, s.images, one, { "T" }, classless }).contains("classes"));

        // Same frame again, then another frame: a note each.
        for (const char* slot : { "on_lockBtn_clicked", "on_PB_nextFrame_clicked", "on_lockBtn_clicked" })
            QVERIFY(step(page, slot));
        CHECK_LOCK(page);
        QCOMPARE(m_boxes, (QStringList { "该图片已锁定", "标记图片已满！" }));
        QCOMPARE(changed, 1);
        // The lock button jumps back, and the locked frame shows its stored reading.
        child<QSlider>(&page, "horizontalSlider")->setValue(1);
        child<QPushButton>(&page, "lockBtn_1")->click();
        QCOMPARE(KOVGen::decodeFrameIndex(page.shownFrame()), 4);
        QCOMPARE(maxSpl->text(), QStringLiteral("77.7dB"));
        // A button showing "N/A" does nothing.
        QVERIFY(step(page, "slotBtnGroupLockClicked", 2));
        QCOMPARE(page.currentFrameIndex(), 4);

        click(&page, "lockDelBtn_1");
        CHECK_LOCK(page);
        QCOMPARE(changed, 2);
        QVERIFY(!QFileInfo::exists(hide + "R3_0.jpg") && child<QPushButton>(&page, "lockBtn_1")->text() == QStringLiteral("N/A"));
        QVERIFY(step(page, "slotBtnGroupUnlockClicked", 7)); // beyond the lists
        CHECK_LOCK(page);
    }

    void lockBeforePattern()
    {
        KOVVideoImg page;
        page.show();
        showOn(page, Pd);
        const QString hide = m_items[Pd].dir + "hideImg/";
        // Locked in the second after loading, far enough into the recording for
        // a pattern of some periods, and unlocked once the pattern is known.
        child<QSlider>(&page, "horizontalSlider")->setValue(15);
        QVERIFY(step(page, "on_lockBtn_clicked"));
        CHECK_LOCK(page);
        QVERIFY(QFileInfo(hide + "R3_0.jpg").isFile() && page.pointInfo().pddImgPathList.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().pdd, 5000);
        click(&page, "lockDelBtn_1");
        CHECK_LOCK(page);
        QVERIFY(!QFileInfo::exists(hide + "R3_0.jpg"));
        // A lock now takes the pattern picture, and its unlock removes it.
        QVERIFY(step(page, "on_lockBtn_clicked"));
        CHECK_LOCK(page);
        QCOMPARE(page.pointInfo().pddImgPathList, QStringList { hide + "R3_pdd0.jpg" });
        QVERIFY(!QImage(hide + "R3_pdd0.jpg").isNull());
        click(&page, "lockDelBtn_1");
        CHECK_LOCK(page);
        QVERIFY(!QFileInfo::exists(hide + "R3_pdd0.jpg"));
    }

    // No frame decoded: no lock and no clip.
    void noFrameNoLock()
    {
        KOVVideoImg page;
        showOn(page, Bad);
        QVERIFY(step(page, "on_lockBtn_clicked") && step(page, "on_screenShotPB_clicked"));
        CHECK_LOCK(page);
        QVERIFY(QDir(m_items[Bad].dir + "hideImg").isEmpty());
    }

    void clipOverTicks_data()
    {
        KOVTable::columns<int, int>({"from", "ticks"});
        QTest::newRow("from frame 2") << 2 << 5;
        QTest::newRow("one tick") << 0 << 1;
        QTest::newRow("from the last frame: rewinds to 0 first") << 19 << 3;
    }
    void clipOverTicks()
    {
        QFETCH(int, from);
        QFETCH(int, ticks);
        KOVVideoImg page;
        // Path characters in the report number are dropped from the names.
        showOn(page, Video, "../2024/07\\1:*?\"<>|\t");
        // From frame 0 the slider refuses a jump straight to the last frame.
        for (int to : { 1, from })
            child<QSlider>(&page, "horizontalSlider")->setValue(to);
        int changed = 0;
        connect(&page, &KOVVideoImg::sigPointInfoChanged, [&changed](KOVTestPointInfo_t) { ++changed; });
        QPushButton* clip = child<QPushButton>(&page, "screenShotPB");
        clip->click();
        const int first = from == 19 ? 1 : from + 1;
        for (int i = 0; i < ticks; ++i) {
            QVERIFY(step(page, "slotTimeOut"));
            // The clip timer's own tick adds nothing already written.
            QVERIFY(step(page, "slotScreentshotTimer"));
        }
        clip->click();
        QCOMPARE(clip->text(), QStringLiteral("视频片段"));
        QCOMPARE(changed, 1);
        const QString path = m_items[Video].dir + "hideImg/R..2024071_videoClip.avi";
        QCOMPARE(page.pointInfo().clipVideo, path);
        QVector<int> expected(ticks);
        std::iota(expected.begin(), expected.end(), first);
        QCOMPARE(clipFrames(path), expected);
        QCOMPARE(KOVMediaFixture::run("ffprobe", { "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                     "stream=codec_name,width,height,r_frame_rate,nb_read_frames", "-of", "csv=p=0", path }).trimmed(),
            QStringLiteral("mjpeg,1024,600,25/1,%1").arg(ticks));
        click(&page, "delScreen_1");
        QVERIFY(!QFileInfo::exists(path) && clip->text() == QStringLiteral("截取视频"));
    }

    void clipSoundAndPlayer()
    {
        KOVVideoImg page;
        page.show();
        showOn(page, Pd);
        QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().wavform, 5000);
        auto* slider = child<QSlider>(&page, "horizontalSlider");
        slider->setValue(4);
        const int ticks = 6;
        record(page, ticks);
        QPushButton* clip = child<QPushButton>(&page, "screenShotPB");
        QCOMPARE(page.pointInfo().clipAudio, m_items[Pd].dir + "hideImg/R3_audioClip.wav");
        // Exported copies keep these modes: the video readable as its sound is.
        QCOMPARE(QFileInfo(page.pointInfo().clipVideo).permissions(), QFileInfo(page.pointInfo().clipAudio).permissions());
        KOVReadAudio cut, source;
        QVERIFY(cut.initAudioData(page.pointInfo().clipAudio)
            && source.initAudioData(QDir(m_items[Pd].dir + "wav").entryInfoList({ "*.wav" }).first().filePath()));
        // Frames 5..10 from 0.2 s, 3840 samples each; single-precision times
        // may move either end by one sample, and floating point lose one.
        const int samples = int(QFileInfo(page.pointInfo().clipAudio).size() - 44) / 2;
        QVERIFY2(std::abs(samples - ticks * 3840) <= 1, qPrintable(QString::number(samples)));
        int worst = 1 << 16;
        for (int first = 19199; first <= 19201; ++first) {
            int w = 0;
            for (int i = 0; i < samples; ++i)
                w = std::max(w, std::abs(cut.getAudioData()[i] - source.getAudioData()[first + i]));
            worst = std::min(worst, w);
        }
        QVERIFY2(worst <= 1, qPrintable(QString::number(worst)));

        click(&page, "delScreen_1");
        slider->setValue(12);
        clip->click();
        for (int i = 0; i < 2; ++i)
            QVERIFY(step(page, "slotTimeOut"));
        // Moving the slider stops playback: the clip pauses, it does not end.
        slider->setValue(2);
        QVERIFY(step(page, "slotScreentshotTimer"));
        QCOMPARE(clip->text(), QStringLiteral("截取中..."));
        click(&page, "PB_play");
        QVERIFY(step(page, "slotTimeOut"));
        clip->click();
        QCOMPARE(clipFrames(page.pointInfo().clipVideo), (QVector<int> { 13, 14, 3 }));
        // Its end now lies before its start: no audio span.
        QVERIFY(page.pointInfo().clipAudio.isEmpty());

        // The clip opens in the player at its first frame; a second click only warns.
        clip->click();
        KOVScreenshot* player = page.clipPlayer();
        QVERIFY(player->isVisible() && player->frameTotal() == 3);
        QCOMPARE(KOVGen::decodeFrameIndex(child<QLabel>(player, "label")->pixmap(Qt::ReturnByValue).toImage()), 13);
        clip->click();
        QCOMPARE(m_boxes, QStringList { "截取视频窗口已存在！" });
    }

    void clipUnwritable()
    {
        KOVVideoImg page;
        showOn(page, Video);
        // A folder where the clip file should go: refused for any user.
        QVERIFY(QDir().mkpath(m_items[Video].dir + "hideImg/R3_videoClip.avi"));
        QPushButton* clip = child<QPushButton>(&page, "screenShotPB");
        clip->click();
        QVERIFY(m_boxes.size() == 1 && m_boxes[0].startsWith(QStringLiteral("无法创建视频片段文件！")));
        QVERIFY(clip->text() == QStringLiteral("截取视频") && !page.isPlaying() && !page.pointInfo().hasClip);
    }

    void tagButtons()
    {
        KOVVideoImg page;
        open(page, -1, Tagged, m_items[Tagged].dir.chopped(1));
        QFile::remove(m_items[Tagged].dir + "tag/gone04.txt");
        // For each button: the dialog's class and title, its picture size or text.
        QStringList seen;
        for (int i = 1; i <= 6; ++i) {
            QTimer::singleShot(0, [&]() {
                QDialog* d = page.openTagDialog();
                QVERIFY(d);
                auto* edit = d->findChild<QTextEdit*>("textEdit");
                const QPixmap pm = edit ? QPixmap() : d->findChild<QLabel*>("label")->pixmap(Qt::ReturnByValue);
                const QString size = QString("%1x%2").arg(pm.width()).arg(pm.height());
                seen << QString("%1 %2 %3").arg(d->metaObject()->className(), d->windowTitle(),
                            edit ? edit->toPlainText().section('\n', 0, 0) : size);
                d->reject();
            });
            click(&page, QString("tagBtn_%1").arg(i));
        }
        QCOMPARE(seen, (QStringList { "KOVTagImg tag01.jpg 666x500", "KOVTagAud tag02.wav 0x0",
                            "KOVTagTxt tag03.txt 现场记录：法兰接口处有明显泄漏声。", "KOVTagTxt gone04.txt 文本标记不存在！",
                            "KOVTagImg x05_jpg.txt 0x0", "KOVTagTxt memo.txt 备注：测试人员已确认;无需复测" }));
        // Ids that are no button's open nothing: a dialog they opened would be
        // closed here and counted, not left waiting.
        int opened = 0;
        for (int id : { 6, -1 }) {
            QTimer::singleShot(0, [&]() {
                if (QDialog* d = page.openTagDialog()) {
                    ++opened;
                    d->reject();
                }
            });
            QVERIFY(step(page, "slotBtnGroupTagClicked", id));
            QCoreApplication::processEvents();
        }
        QCOMPARE(opened, 0);
    }

    void hideAndShowAgain_data()
    {
        KOVTable::columns<int>({"reportType"});
        QTest::newRow("gas report") << 0;
        QTest::newRow("electrical report") << 1;
    }
    void hideAndShowAgain()
    {
        QFETCH(int, reportType);
        KOVVideoImg page;
        open(page, reportType, Pd, m_items[Pd].dir.chopped(1)); // loaded while hidden
        QCOMPARE(page.frameCount(), 30);
        checkLetGo(page);
        QVERIFY(page.audioPending() && !page.patternView()->hasAudio() && !page.waveForm()->hasAudio());

        // Shown: the audio at once, only to this page; the decoder with the next frame.
        KOVVideoImg other;
        other.show();
        page.show();
        QVERIFY(!page.audioPending() && !other.waveForm()->hasAudio() && page.pointInfo().wavform);
        QCOMPARE(page.waveForm()->length(), page.patternView()->frameCount() * 1024);
        QCOMPARE(child<QLabel>(&page, QStringLiteral("imgPRPDFramerate"))->text(),
            reportType == 1 ? QStringLiteral("20ms/50Hz") : QString());
        click(&page, QStringLiteral("PB_nextFrame"), 6);
        QVERIFY(page.decoderOpen());

        // State of every kind, then hidden.
        QVERIFY(QMetaObject::invokeMethod(&page, "on_lockBtn_clicked"));
        auto* advice = child<QLineEdit>(&page, QStringLiteral("infoAdvice"));
        advice->setText(QStringLiteral("更换 阀门"));
        emit advice->editingFinished();
        child<QComboBox>(&page, QStringLiteral("infoFaultLevel_elec"))->setCurrentIndex(2);
        QJsonObject shownDoc;
        page.saveData(shownDoc);
        const QImage frame = page.shownFrame();
        const QList<int> marks = page.lockState().marks;
        const QList<QImage> images = page.lockState().images;
        QCOMPARE(marks, QList<int> { 7 }); // frames are counted from 1
        page.hide();
        checkLetGo(page);
        QVERIFY(page.currentFrameIndex() == 6 && page.shownFrame() == frame);
        QVERIFY(page.lockState().marks == marks && page.lockState().images == images);
        QJsonObject hiddenDoc;
        page.saveData(hiddenDoc);
        QCOMPARE(withoutPictureNames(hiddenDoc), withoutPictureNames(shownDoc));
        // Rebuilt from that document while hidden, as a restored report's pages are.
        KOVVideoImg restored;
        restored.isReportWin(true, reportType);
        restored.restoreData(hiddenDoc);
        checkLetGo(restored);
        QVERIFY(restored.audioPending() && !restored.patternView()->hasAudio());
        QCOMPARE(restored.lockState().marks, marks);

        // Shown again it goes on as a page that never hid: forward by reading
        // on, back by a seek in the reopened file.
        page.show();
        click(&page, QStringLiteral("PB_nextFrame"));
        KOVVideoImg twin;
        open(twin, reportType);
        twin.show();
        QVERIFY(QTest::qWaitForWindowExposed(&twin));
        twin.showItem(Pd, m_items[Pd].dir.chopped(1));
        click(&twin, QStringLiteral("PB_nextFrame"), 7);
        QCOMPARE(page.shownFrame(), twin.shownFrame());
        page.hide();
        page.show();
        click(&page, QStringLiteral("PB_lastFrame"));
        QCOMPARE(page.currentFrameIndex(), 6);
        QCOMPARE(page.shownFrame(), frame);
    }

    void audioTagWaveOnlyWhilePlaying()
    {
        KOVTagAud d(m_items[Tagged].dir + "tag/tag02.wav");
        QMovie* wave = child<QLabel>(&d, "label")->movie();
        QVERIFY(wave && wave->isValid());
        auto* play = child<QPushButton>(&d, "pushButton");
        play->click();
        const QMediaPlayer* player = d.player();
        // Without an audio output the player never plays: the dialog must not seem to.
        const bool playing = QTest::qWaitFor([&]() {
            return player->state() == QMediaPlayer::PlayingState || player->error() != QMediaPlayer::NoError;
        }, 5000) && player->state() == QMediaPlayer::PlayingState;
        QVERIFY((wave->state() == QMovie::Running) == playing && play->isEnabled() == !playing);
        if (!playing)
            QSKIP("no audio output here: the playing itself is not tried");
        // A one-second tone: the dialog is ready again once it has played.
        QTRY_VERIFY_WITH_TIMEOUT(play->isEnabled(), 5000);
        QCOMPARE(wave->state(), QMovie::NotRunning);
    }

    void lockWhereNothingCanBeWritten_data()
    {
        KOVTable::columns<QString>({"planted"}); // under the name "hideImg"
        QTest::newRow("a file") << "file";
        QTest::newRow("a link to a folder elsewhere") << m_root.filePath("outside");
        QTest::newRow("a link to the item folder") << m_items[Video].dir;
    }
    void lockWhereNothingCanBeWritten()
    {
        QFETCH(QString, planted);
        QVERIFY(planted == "file" ? KOVMediaFixture::writeFile(hide(Video), "x") : QFile::link(planted, hide(Video)));
        const QStringList before = QDir(m_items[Video].dir).entryList(QDir::Files);
        KOVVideoImg page;
        showOn(page, Video);
        QVERIFY(step(page, "on_PB_nextFrame_clicked") && step(page, "on_lockBtn_clicked"));
        CHECK_LOCK(page);
        QVERIFY(page.lockState().marks.isEmpty() && !page.pointInfo().marked);
        // No clip either, and nothing landed anywhere.
        child<QPushButton>(&page, "screenShotPB")->click();
        QCOMPARE(m_boxes.size(), 2);
        QCOMPARE(m_boxes[0], QStringLiteral("锁定图片无法保存到文件夹：\n") + hide(Video));
        QVERIFY(m_boxes[1].startsWith(QStringLiteral("无法创建视频片段文件！")));
        QCOMPARE(QDir(m_items[Video].dir).entryList(QDir::Files), before);
        QVERIFY(QDir(m_root.filePath("outside")).isEmpty());
    }

    // A lock saves the pattern picture and class on show. Shown again after a
    // hide, the page's pattern view is rebuilt from reloaded audio with fewer
    // periods while the page shows the picture it had.
    void lockTakesThePatternOnShow_data()
    {
        KOVTable::columns<int, bool>({"steps", "hidden"});
        for (int steps : { 12, 20, 35, 50 })
            QTest::addRow("%d frames, shown again", steps) << steps << true;
        QTest::newRow("20 frames, never hidden") << 20 << false;
    }
    void lockTakesThePatternOnShow()
    {
        QFETCH(int, steps);
        QFETCH(bool, hidden);
        QImage shown;
        QString type;
        const auto hub = connect(KOVMsg::Instance(), &KOVMsg::sigPRPDImg, this,
            [&](QPixmap p, QString t) { shown = p.toImage(), type = t; });
        QTabWidget tabs;
        KOVVideoImg* page = pageBesideAnother(tabs);
        QVERIFY(page);
        showOn(*page, PdLong);
        click(page, "PB_nextFrame", steps);
        QTRY_VERIFY_WITH_TIMEOUT(page->pointInfo().pdd, 5000);
        disconnect(hub);
        const QLabel* label = child<QLabel>(page, "imgPRPD");
        const QImage onLabel = label->pixmap(Qt::ReturnByValue).toImage();
        QVERIFY(!shown.isNull() && !type.isEmpty() && !onLabel.isNull());
        if (hidden) {
            tabs.setCurrentIndex(1);
            tabs.setCurrentIndex(0);
            // Else the row could not tell the two pictures apart.
            QVERIFY(page->patternView()->hasAudio() && page->patternView()->getPDDImg() != shown);
            QCOMPARE(label->pixmap(Qt::ReturnByValue).toImage(), onLabel);
        }
        QVERIFY(step(*page, "on_lockBtn_clicked"));
        CHECK_LOCK(*page);
        QByteArray jpeg;
        QString why;
        QVERIFY(KOVClipNames::encodeJpeg(shown, &jpeg, &why));
        QCOMPARE(QImage(hide(PdLong) + "/R3_pdd0.jpg"), QImage::fromData(jpeg, "JPG"));
        QCOMPARE(page->lockState().pddTypes, QStringList { type });
        QCOMPARE(page->pointInfo().prpdTypeList, QStringList { type });
    }

    // A frame goes with its pattern picture: either file unwritable refuses
    // the lock with the same warning and leaves no file of it.
    void lockWithAFileNameTaken_data()
    {
        KOVTable::columns<QString>({"taken"}); // by a planted folder
        QTest::newRow("the pattern picture's") << "R3_pdd0.jpg";
        QTest::newRow("the frame's") << "R3_0.jpg";
    }
    void lockWithAFileNameTaken()
    {
        QFETCH(QString, taken);
        KOVVideoImg page;
        page.show();
        showOn(page, Pd);
        child<QSlider>(&page, "horizontalSlider")->setValue(15);
        QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().pdd, 5000);
        QVERIFY(QDir().mkpath(hide(Pd) + "/" + taken) && step(page, "on_lockBtn_clicked"));
        CHECK_LOCK(page);
        QVERIFY(page.lockState().marks.isEmpty() && !page.pointInfo().marked);
        QCOMPARE(m_boxes, QStringList { QStringLiteral("锁定图片无法保存到文件夹：\n") + hide(Pd) });
        QCOMPARE(QDir(hide(Pd)).entryList(QDir::Files), QStringList());
        // The name free again, the frame locks with its picture.
        QVERIFY(QDir(hide(Pd) + "/" + taken).removeRecursively() && step(page, "on_lockBtn_clicked"));
        CHECK_LOCK(page);
        QCOMPARE(page.pointInfo().pddImgPathList, QStringList { hide(Pd) + "/R3_pdd0.jpg" });
    }

    void restoreWithFrameFileGone_data()
    {
        KOVTable::columns<bool>({"linked"});
        QTest::newRow("gone: written again from the cache") << false;
        QTest::newRow("hideImg now a link to the item folder: refused") << true;
    }
    void restoreWithFrameFileGone()
    {
        QFETCH(bool, linked);
        KOVVideoImg saved;
        showOn(saved, Video);
        for (const char* slot : { "on_PB_nextFrame_clicked", "on_PB_nextFrame_clicked", "on_lockBtn_clicked" })
            QVERIFY(step(saved, slot));
        QJsonObject cache;
        saved.saveData(cache);
        QVERIFY(QDir(hide(Video)).removeRecursively());
        QVERIFY(!linked || QFile::link(m_items[Video].dir, hide(Video)));
        KOVVideoImg restored;
        restored.saveNamePre("3");
        restored.isReportWin(true, 1);
        restored.restoreData(cache);
        QCOMPARE(restored.lockState().marks, QList<int> { 3 });
        if (linked) {
            QCOMPARE(restored.pointInfo().videoImgPathList, QStringList { QString() });
            QVERIFY(!QFileInfo::exists(m_items[Video].dir + "R3_0.jpg"));
        } else {
            CHECK_LOCK(restored);
            QCOMPARE(KOVGen::decodeFrameIndex(QImage(hide(Video) + "/R3_0.jpg")), 2);
        }
    }

    void linksUnderTheFileNames_data()
    {
        KOVTable::columns<bool>({"hard"});
        QTest::newRow("symbolic links") << false;
        QTest::newRow("hard links") << true;
    }
    void linksUnderTheFileNames()
    {
        QFETCH(bool, hard);
        QByteArray original(300 * 1024, '\0');
        QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(original.data()), original.size() / 4);
        const QString outside = m_root.filePath("outside/precious.bin");
        QVERIFY(KOVMediaFixture::writeFile(outside, original));
        const QStringList names = { "R3_0.jpg", "R3_videoClip.avi", "R3_audioClip.wav" };
        QVERIFY(QDir().mkpath(hide(Pd)));
        for (const QString& n : names) {
            const QByteArray to = QFile::encodeName(outside), at = QFile::encodeName(hide(Pd) + "/" + n);
            QVERIFY((hard ? ::link(to, at) : ::symlink(to, at)) == 0);
        }
        KOVVideoImg page;
        page.show();
        showOn(page, Pd);
        QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().wavform, 5000);
        QVERIFY(step(page, "on_PB_nextFrame_clicked") && step(page, "on_lockBtn_clicked"));
        record(page, 5);
        QCOMPARE(KOVTest::readAll(outside), original);
        CHECK_LOCK(page);
        QVERIFY(page.pointInfo().hasClip && !page.pointInfo().clipAudio.isEmpty());
        for (const QString& n : names) {
            const QFileInfo f(hide(Pd) + "/" + n);
            QVERIFY2(f.isFile() && !f.isSymLink() && KOVTest::readAll(f.filePath()) != original, qPrintable(n));
        }
        QVERIFY(QFile::remove(outside));
    }

    void cacheFolderThatIsALink()
    {
        const QString target = m_root.filePath("elsewhere"), link = m_root.filePath("cache");
        QVERIFY(QDir().mkpath(target) && KOVMediaFixture::writeFile(target + "/keep.jpg", "x"));
        QVERIFY(QFile::link(target, link) && KOVCacheFile(link + "/").remove());
        QVERIFY(!QFileInfo(link).isSymLink() && QFileInfo::exists(target + "/keep.jpg"));
    }
};

QTEST_MAIN(TstLockClip)
#include "tst_lockclip.moc"
