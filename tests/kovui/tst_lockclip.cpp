// A test-point page locking frames and recording clips of a video whose
// frames carry their index; the clip read back by OpenCV and ffprobe and
// shown in the page's clip player; tag buttons opening their dialogs.
#include "kovclipnames.h"
#include "kovgen.h"
#include "kovinformation.h"
#include "kovreadaudio.h"
#include "kovlockcheck.h"
#include "kovmessagebox.h"
#include "kovscreenshot.h"
#include "kovtagaud.h"
#include "kovtagimg.h"
#include "kovtagtxt.h"
#include "kovvideoimg.h"
#include "kovvideotime.h"
#include "reviewfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <opencv2/videoio.hpp>

using ReviewFixture::Item;

namespace {

struct Box
{
    QString title;
    QString text;
};

// Pages are checked after every step: lists, record and frame files agree.
#define CHECK_LOCK(page)                                                                                            \
    do {                                                                                                            \
        const QString why = KOVLockCheck::check((page).lockState());                                               \
        QVERIFY2(why.isEmpty(), qPrintable(why));                                                                   \
    } while (0)

QPushButton* button(QWidget* page, const char* name)
{
    auto* b = page->findChild<QPushButton*>(QLatin1String(name));
    if (!b)
        qFatal("no button %s", name);
    return b;
}

bool step(KOVVideoImg& page, const char* slot)
{
    return QMetaObject::invokeMethod(&page, slot);
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

} // namespace

class TstLockClip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void lockAndUnlock();
    void lockJumpsAndKeepsReading();
    void lockWithPattern_data();
    void lockWithPattern();
    void clipWithAudio();
    void noFrameNoLock();
    void prefixCannotLeaveFolder();
    void clipOverTicks_data();
    void clipOverTicks();
    void clipPausedBySlider();
    void clipUnwritable();
    void clipPlayerShowsAndReopens();
    void tagButtons();

private:
    // A report-mode page of report 3 showing item i.
    void showOn(KOVVideoImg& page, int i, const QString& number = QStringLiteral("3"));
    QTemporaryDir m_root;
    QList<Item> m_items;
    QList<Box> m_boxes;
    enum { Video, Bad, Tagged, Pd };
};

void TstLockClip::initTestCase()
{
    using K = KOVGen::ItemKind;
    const QString r = m_root.path();
    m_items << ReviewFixture::makeItem(r, "video", "VID_20.mp4", K::Video, 20, 1, true, 21);
    m_items << ReviewFixture::makeItem(r, "bad", "VID_bad.mp4", K::Video, 2, -1, true, 22);
    m_items << ReviewFixture::makeItem(r, "tagged", "IMG_tag.jpg", K::Picture, 1, -1, true, 23);
    for (const Item& i : m_items)
        QVERIFY(!i.path.isEmpty());
    QFile bad(m_items[Bad].path);
    QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write(QByteArray(2048, 'q'));
    bad.close();
    QVector<KOVGen::Tag> tags = KOVGen::demoTags();
    tags << KOVGen::Tag { QStringLiteral("x05_jpg.txt"), KOVGen::TagKind::Text, QStringLiteral("x"), "UTF-8" };
    QVERIFY(KOVGen::writeTags(m_items[Tagged].dir, tags, 5));
    // A video with its recording: discharge bursts, so the pattern view has
    // a picture and a class.
    KOVGen::ItemOptions o;
    o.dir = r + "/pd";
    o.fileName = "VID_pd.mp4";
    o.kind = K::Video;
    o.frames = 30;
    o.label = KOVGen::electricalLabel(3);
    o.withAudio = true;
    o.audio.content = KOVGen::AudioContent::PdBursts;
    o.audio.seconds = 0;
    QVERIFY(KOVGen::writeItem(o));
    m_items << Item { o.dir + "/", o.dir + "/" + o.fileName, o.fileName };
    KOVInformation::Instance()->setPDDLen(240);
    // Slot 04: a name that is listed but whose file is gone when clicked.
    QFile gone(m_items[Tagged].dir + "tag/gone04.txt");
    QVERIFY(gone.open(QIODevice::WriteOnly));
    gone.close();
    ReviewFixture::publish(m_items);
}

void TstLockClip::init()
{
    m_boxes.clear();
    KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                  const QStringList&) {
        m_boxes << Box { title, text };
        return 0;
    };
}

void TstLockClip::cleanup()
{
    KOVMessageBox::s_answer = nullptr;
    QDir(m_items[Video].dir + "hideImg").removeRecursively();
    QDir(m_items[Pd].dir + "hideImg").removeRecursively();
}

void TstLockClip::showOn(KOVVideoImg& page, int i, const QString& number)
{
    page.isReportWin(true, 1);
    page.saveNamePre(number);
    page.slotUpdateItemList();
    page.showItem(i, m_items[i].dir.chopped(1));
}

void TstLockClip::lockAndUnlock()
{
    KOVVideoImg page;
    showOn(page, Video);
    const QString hide = m_items[Video].dir + "hideImg/";
    QVERIFY(QFileInfo(hide).isDir());
    CHECK_LOCK(page);
    QCOMPARE(button(&page, "lockBtn_1")->text(), QStringLiteral("N/A"));

    int changed = 0;
    connect(&page, &KOVVideoImg::sigPointInfoChanged, [&changed](KOVTestPointInfo_t) { ++changed; });
    for (int i = 0; i < 4; ++i)
        QVERIFY(step(page, "on_PB_nextFrame_clicked"));
    QCOMPARE(page.currentFrameIndex(), 4);
    QVERIFY(step(page, "on_lockBtn_clicked"));
    CHECK_LOCK(page);
    QCOMPARE(changed, 1);
    QVERIFY(QFileInfo(hide + "R3_0.jpg").isFile());
    // The image saved is the frame on show.
    QCOMPARE(KOVGen::decodeFrameIndex(QImage(hide + "R3_0.jpg")), 4);
    QCOMPARE(page.pointInfo().videoImgPathList, QStringList { hide.chopped(1) + "/R3_0.jpg" });
    QVERIFY(page.pointInfo().marked);
    QCOMPARE(button(&page, "lockBtn_1")->text(), KOVVideoTime::label(5));
    QVERIFY(!button(&page, "lockDelBtn_1")->isHidden());

    // Same frame again, then another frame: a note each, nothing changes.
    QVERIFY(step(page, "on_lockBtn_clicked"));
    QVERIFY(step(page, "on_PB_nextFrame_clicked"));
    QVERIFY(step(page, "on_lockBtn_clicked"));
    CHECK_LOCK(page);
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(m_boxes[0].text, QStringLiteral("该图片已锁定"));
    QCOMPARE(m_boxes[1].text, QStringLiteral("标记图片已满！"));
    QCOMPARE(changed, 1);

    button(&page, "lockDelBtn_1")->click();
    CHECK_LOCK(page);
    QCOMPARE(changed, 2);
    QVERIFY(!QFileInfo::exists(hide + "R3_0.jpg"));
    QVERIFY(!QFileInfo::exists(hide + "R3_pdd0.jpg"));
    QCOMPARE(button(&page, "lockBtn_1")->text(), QStringLiteral("N/A"));
    QVERIFY(button(&page, "lockDelBtn_1")->isHidden());
    QVERIFY(!page.pointInfo().marked);
    // An unlock with nothing locked, or of an id beyond the lists.
    QVERIFY(QMetaObject::invokeMethod(&page, "slotBtnGroupUnlockClicked", Q_ARG(int, 0)));
    QVERIFY(QMetaObject::invokeMethod(&page, "slotBtnGroupUnlockClicked", Q_ARG(int, 7)));
    CHECK_LOCK(page);
}

void TstLockClip::lockJumpsAndKeepsReading()
{
    KOVVideoImg page;
    showOn(page, Video);
    for (int i = 0; i < 6; ++i)
        QVERIFY(step(page, "on_PB_nextFrame_clicked"));
    auto* maxSpl = page.findChild<QLineEdit*>("infoMaxSPL");
    maxSpl->setText("77.7dB");
    QVERIFY(step(page, "on_lockBtn_clicked"));
    CHECK_LOCK(page);
    QCOMPARE(page.pointInfo().imgInfoList.size(), 1);
    QCOMPARE(page.pointInfo().imgInfoList[0].heatSPL, QStringLiteral("77.7dB"));
    page.findChild<QSlider*>("horizontalSlider")->setValue(1);
    QCOMPARE(page.currentFrameIndex(), 1);
    // The lock button jumps back, and the locked frame shows its stored reading.
    button(&page, "lockBtn_1")->click();
    QCOMPARE(page.currentFrameIndex(), 6);
    QCOMPARE(KOVGen::decodeFrameIndex(page.shownFrame()), 6);
    QCOMPARE(maxSpl->text(), QStringLiteral("77.7dB"));
    // A button showing "N/A" does nothing.
    QVERIFY(QMetaObject::invokeMethod(&page, "slotBtnGroupLockClicked", Q_ARG(int, 2)));
    QCOMPARE(page.currentFrameIndex(), 6);
    CHECK_LOCK(page);
}

void TstLockClip::lockWithPattern_data()
{
    QTest::addColumn<bool>("beforePattern");
    QTest::newRow("pattern known") << false;
    // Locked in the second after loading, unlocked once the pattern is known.
    QTest::newRow("locked before pattern") << true;
}

void TstLockClip::lockWithPattern()
{
    QFETCH(bool, beforePattern);
    KOVVideoImg page;
    page.show();
    showOn(page, Pd);
    const QString hide = m_items[Pd].dir + "hideImg/";
    // Far enough into the recording for a pattern of some periods.
    page.findChild<QSlider*>("horizontalSlider")->setValue(15);
    if (!beforePattern)
        QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().pdd, 5000);
    QVERIFY(step(page, "on_lockBtn_clicked"));
    CHECK_LOCK(page);
    QVERIFY(QFileInfo(hide + "R3_0.jpg").isFile());
    QCOMPARE(QFileInfo(hide + "R3_pdd0.jpg").isFile(), !beforePattern);
    if (!beforePattern) {
        QCOMPARE(page.pointInfo().pddImgPathList, QStringList { hide + "R3_pdd0.jpg" });
        QCOMPARE(page.pointInfo().prpdTypeList.size(), 1);
        QVERIFY(!QImage(hide + "R3_pdd0.jpg").isNull());
    }
    QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().pdd, 5000);
    button(&page, "lockDelBtn_1")->click();
    CHECK_LOCK(page);
    QVERIFY(!QFileInfo::exists(hide + "R3_0.jpg"));
    QVERIFY(!QFileInfo::exists(hide + "R3_pdd0.jpg"));
    // The pattern picture of a later lock is the one known then.
    QVERIFY(step(page, "on_lockBtn_clicked"));
    CHECK_LOCK(page);
    QVERIFY(QFileInfo(hide + "R3_pdd0.jpg").isFile());
}

void TstLockClip::clipWithAudio()
{
    KOVVideoImg page;
    page.show();
    showOn(page, Pd);
    QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().wavform, 5000);
    page.findChild<QSlider*>("horizontalSlider")->setValue(4);
    QPushButton* clip = button(&page, "screenShotPB");
    clip->click();
    const int ticks = 6;
    for (int i = 0; i < ticks; ++i)
        QVERIFY(step(page, "slotTimeOut"));
    clip->click();
    QCOMPARE(clipFrames(page.pointInfo().clipVideo).size(), ticks);
    const QString wav = m_items[Pd].dir + "hideImg/R3_audioClip.wav";
    QCOMPARE(page.pointInfo().clipAudio, wav);
    KOVReadAudio cut;
    QVERIFY(cut.initAudioData(wav));
    // The frames 5..10 from 0.2 s, 3840 samples each; the times are single
    // precision, so either end may move by one sample.
    const qint64 samples = (QFileInfo(wav).size() - 44) / 2;
    QVERIFY2(std::abs(samples - ticks * 3840) <= 1, qPrintable(QString::number(samples)));
    KOVReadAudio source;
    QVERIFY(source.initAudioData(QDir(m_items[Pd].dir + "wav").entryInfoList({ "*.wav" }).first().filePath()));
    int worst = 1 << 16;
    for (int first = 19199; first <= 19201; ++first) {
        int w = 0;
        for (int i = 0; i < samples; ++i)
            w = std::max(w, std::abs(cut.getAudioData()[i] - source.getAudioData()[first + i]));
        worst = std::min(worst, w);
    }
    // Through floating point and back a sample may lose one.
    QVERIFY2(worst <= 1, qPrintable(QString::number(worst)));
}

void TstLockClip::noFrameNoLock()
{
    KOVVideoImg page;
    showOn(page, Bad);
    QCOMPARE(page.frameCount(), 0);
    QVERIFY(step(page, "on_lockBtn_clicked"));
    QVERIFY(step(page, "on_screenShotPB_clicked"));
    CHECK_LOCK(page);
    QVERIFY(!page.ifMarked());
    QVERIFY(m_boxes.isEmpty());
    QCOMPARE(button(&page, "screenShotPB")->text(), QStringLiteral("截取视频"));
    QVERIFY(QDir(m_items[Bad].dir + "hideImg").isEmpty());
}

void TstLockClip::prefixCannotLeaveFolder()
{
    KOVVideoImg page;
    showOn(page, Video, QStringLiteral("../../x"));
    QVERIFY(step(page, "on_lockBtn_clicked"));
    CHECK_LOCK(page);
    QCOMPARE(page.pointInfo().videoImgPathList.size(), 1);
    const QFileInfo saved(page.pointInfo().videoImgPathList[0]);
    QCOMPARE(saved.fileName(), QStringLiteral("R....x_0.jpg"));
    QCOMPARE(saved.dir().canonicalPath(), QDir(m_items[Video].dir + "hideImg").canonicalPath());
}

void TstLockClip::clipOverTicks_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("ticks");
    QTest::newRow("from frame 2") << 2 << 5;
    QTest::newRow("one tick") << 0 << 1;
    // Started on the last frame: playback rewinds to frame 0 first.
    QTest::newRow("from the last frame") << 19 << 3;
}

void TstLockClip::clipOverTicks()
{
    QFETCH(int, from);
    QFETCH(int, ticks);
    KOVVideoImg page;
    showOn(page, Video);
    // From frame 0 the slider refuses a jump straight to the last frame.
    page.findChild<QSlider*>("horizontalSlider")->setValue(1);
    page.findChild<QSlider*>("horizontalSlider")->setValue(from);
    int changed = 0;
    connect(&page, &KOVVideoImg::sigPointInfoChanged, [&changed](KOVTestPointInfo_t) { ++changed; });
    QPushButton* clip = button(&page, "screenShotPB");
    clip->click();
    QCOMPARE(clip->text(), QStringLiteral("截取中..."));
    QVERIFY(page.isPlaying());
    QCOMPARE(changed, 0);
    const int first = page.currentFrameIndex() + 1;
    if (from == 19)
        QCOMPARE(first, 1);
    for (int i = 0; i < ticks; ++i) {
        QVERIFY(step(page, "slotTimeOut"));
        // The clip timer's own tick adds nothing already written.
        QVERIFY(step(page, "slotScreentshotTimer"));
    }
    clip->click();
    QVERIFY(!page.isPlaying());
    QCOMPARE(clip->text(), QStringLiteral("视频片段"));
    QVERIFY(!button(&page, "delScreen_1")->isHidden());
    QCOMPARE(changed, 1);
    QVERIFY(page.pointInfo().hasClip);
    const QString path = m_items[Video].dir + "hideImg/R3_videoClip.avi";
    QCOMPARE(page.pointInfo().clipVideo, path);
    // No audio is loaded: no audio clip.
    QVERIFY(page.pointInfo().clipAudio.isEmpty());

    QVector<int> expected;
    for (int i = 0; i < ticks; ++i)
        expected << first + i;
    QCOMPARE(clipFrames(path), expected);
    button(&page, "delScreen_1")->click();
    QCOMPARE(changed, 2);
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!page.pointInfo().hasClip);
    QCOMPARE(clip->text(), QStringLiteral("截取视频"));
    QVERIFY(button(&page, "delScreen_1")->isHidden());
}

void TstLockClip::clipPausedBySlider()
{
    KOVVideoImg page;
    showOn(page, Video);
    auto* slider = page.findChild<QSlider*>("horizontalSlider");
    slider->setValue(10);
    QPushButton* clip = button(&page, "screenShotPB");
    clip->click();
    QVERIFY(step(page, "slotTimeOut"));
    QVERIFY(step(page, "slotTimeOut"));
    // Moving the slider stops playback: the clip pauses, it does not end.
    slider->setValue(2);
    QVERIFY(!page.isPlaying());
    QVERIFY(step(page, "slotScreentshotTimer"));
    QCOMPARE(clip->text(), QStringLiteral("截取中..."));
    button(&page, "PB_play")->click();
    QVERIFY(step(page, "slotTimeOut"));
    clip->click();
    QCOMPARE(clipFrames(page.pointInfo().clipVideo), (QVector<int> { 11, 12, 3 }));
    // Its end now lies before its start: no audio span.
    QVERIFY(page.pointInfo().clipAudio.isEmpty());
}

void TstLockClip::clipUnwritable()
{
    KOVVideoImg page;
    showOn(page, Video);
    // A folder where the clip file should go: refused for any user.
    QVERIFY(QDir().mkpath(m_items[Video].dir + "hideImg/R3_videoClip.avi"));
    int changed = 0;
    connect(&page, &KOVVideoImg::sigPointInfoChanged, [&changed](KOVTestPointInfo_t) { ++changed; });
    QPushButton* clip = button(&page, "screenShotPB");
    clip->click();
    QCOMPARE(m_boxes.size(), 1);
    QVERIFY(m_boxes[0].text.startsWith(QStringLiteral("无法创建视频片段文件！")));
    QCOMPARE(clip->text(), QStringLiteral("截取视频"));
    QVERIFY(!page.isPlaying());
    QVERIFY(!page.pointInfo().hasClip);
    QCOMPARE(changed, 0);
    QVERIFY(button(&page, "delScreen_1")->isHidden());
    // Clicking again tries again rather than "stopping" a clip that never was.
    clip->click();
    QCOMPARE(m_boxes.size(), 2);
    QVERIFY(!page.pointInfo().hasClip);
}

void TstLockClip::clipPlayerShowsAndReopens()
{
    KOVVideoImg page;
    showOn(page, Video);
    QPushButton* clip = button(&page, "screenShotPB");
    auto record = [&](int from, int ticks) {
        page.findChild<QSlider*>("horizontalSlider")->setValue(from);
        clip->click();
        for (int i = 0; i < ticks; ++i)
            step(page, "slotTimeOut");
        clip->click();
    };
    record(3, 6); // frames 4..9
    KOVScreenshot* player = page.clipPlayer();
    QVERIFY(!player->isVisible());
    clip->click();
    QVERIFY(player->isVisible());
    QCOMPARE(player->frameTotal(), 6);
    QCOMPARE(player->currentIndex(), 0);
    QVERIFY(!player->isPlaying());
    auto* label = player->findChild<QLabel*>("label");
    QCOMPARE(KOVGen::decodeFrameIndex(label->pixmap(Qt::ReturnByValue).toImage()), 4);
    // A second click while it is open only warns.
    clip->click();
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].text, QStringLiteral("截取视频窗口已存在！"));

    // A new clip under the same name: the player opens the new file.
    player->hide();
    button(&page, "delScreen_1")->click();
    record(10, 3); // frames 11..13
    clip->click();
    QVERIFY(player->isVisible());
    QCOMPARE(player->frameTotal(), 3);
    QCOMPARE(KOVGen::decodeFrameIndex(label->pixmap(Qt::ReturnByValue).toImage()), 11);
}

void TstLockClip::tagButtons()
{
    KOVVideoImg page;
    page.isReportWin(false, -1);
    page.slotUpdateItemList();
    page.showItem(Tagged, m_items[Tagged].dir.chopped(1));
    const QStringList texts = { "Img_01", "Aud_02", "Txt_03", "Txt_04", "Img_05", "Txt_06" };
    for (int i = 0; i < 6; ++i)
        QCOMPARE(button(&page, qPrintable(QString("tagBtn_%1").arg(i + 1)))->text(), texts[i]);
    QFile::remove(m_items[Tagged].dir + "tag/gone04.txt");

    struct Seen
    {
        QString cls;
        QString title;
        QString text;
    };
    QList<Seen> seen;
    auto closeNext = [&]() {
        QTimer::singleShot(0, [&]() {
            QDialog* d = page.openTagDialog();
            if (!d)
                return;
            auto* edit = d->findChild<QTextEdit*>("textEdit");
            seen << Seen { d->metaObject()->className(), d->windowTitle(), edit ? edit->toPlainText() : QString() };
            d->reject();
        });
    };
    for (int i = 0; i < 6; ++i) {
        closeNext();
        button(&page, qPrintable(QString("tagBtn_%1").arg(i + 1)))->click();
    }
    QCOMPARE(seen.size(), 6);
    QCOMPARE(seen[0].cls, QStringLiteral("KOVTagImg"));
    QCOMPARE(seen[0].title, QStringLiteral("tag01.jpg"));
    QCOMPARE(seen[1].cls, QStringLiteral("KOVTagAud"));
    QCOMPARE(seen[2].cls, QStringLiteral("KOVTagTxt"));
    QVERIFY(seen[2].text.startsWith(QStringLiteral("现场记录")));
    QVERIFY(seen[2].text.endsWith(QStringLiteral("文本标记读取成功")));
    QCOMPARE(seen[3].text, QStringLiteral("文本标记不存在！"));
    // A text file with "jpg" in its name opens as a picture.
    QCOMPARE(seen[4].cls, QStringLiteral("KOVTagImg"));
    QCOMPARE(seen[5].title, QStringLiteral("memo.txt"));
    QVERIFY(seen[5].text.startsWith(QStringLiteral("备注：测试人员已确认")));
    // Ids that are no button's open nothing.
    QVERIFY(QMetaObject::invokeMethod(&page, "slotBtnGroupTagClicked", Q_ARG(int, 6)));
    QVERIFY(QMetaObject::invokeMethod(&page, "slotBtnGroupTagClicked", Q_ARG(int, -1)));
    QVERIFY(!page.openTagDialog());
}

QTEST_MAIN(TstLockClip)
#include "tst_lockclip.moc"
