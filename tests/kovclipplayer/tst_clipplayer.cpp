// The clip player: opening, playback steps, seeking, and
// clips rewritten or broken under the same name.
#include "kovclipwriter.h"
#include "kovgen.h"
#include "kovscreenshot.h"

#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool writeClip(const QString& path, int first, int count)
{
    KOVClipWriter w;
    if (!w.open(path, 1024, 600, 15.0))
        return false;
    KOVGen::VideoOptions o;
    o.frames = first + count;
    for (int i = first; i < first + count; ++i) {
        const cv::Mat bgr = KOVGen::videoFrame(i, o);
        w.addFrame(QImage(bgr.data, bgr.cols, bgr.rows, int(bgr.step), QImage::Format_BGR888).copy());
    }
    return w.close();
}

int shownFrame(KOVScreenshot& p)
{
    const QPixmap pm = p.findChild<QLabel*>("label")->pixmap(Qt::ReturnByValue);
    return pm.isNull() ? -2 : KOVGen::decodeFrameIndex(pm.toImage());
}

int sliderValue(KOVScreenshot& p)
{
    return p.findChild<QSlider*>("horizontalSlider")->value();
}

bool tick(KOVScreenshot& p)
{
    return QMetaObject::invokeMethod(&p, "slotTimeOut");
}

} // namespace

class TstClipPlayer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void openAndPlay();
    void sliderPauses();
    void samePathKeepsPosition();
    void rewrittenClipReopens();
    void brokenClipClears();

private:
    QTemporaryDir m_dir;
    QString m_clip;
};

void TstClipPlayer::initTestCase()
{
    m_clip = m_dir.filePath("R1_videoClip.avi");
    QVERIFY(writeClip(m_clip, 10, 5));
}

void TstClipPlayer::openAndPlay()
{
    KOVScreenshot p;
    QCOMPARE(p.windowTitle(), QStringLiteral("截取的视频片段"));
    p.showScreenshot(m_clip);
    QVERIFY(p.isVisible());
    QCOMPARE(p.frameTotal(), 5);
    QCOMPARE(p.currentIndex(), 0);
    QCOMPARE(shownFrame(p), 10);
    QVERIFY(!p.isPlaying());
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(500, 300));
    QVERIFY(p.isPlaying());
    for (int i = 1; i <= 4; ++i) {
        QVERIFY(tick(p));
        QVERIFY(p.isPlaying());
        QCOMPARE(sliderValue(p), i);
        // The picture runs one frame ahead of the slider, up to the last.
        QCOMPARE(shownFrame(p), 10 + std::min(i + 1, 4));
    }
    // At the last index: stop and rewind the capture; picture and slider stay.
    QVERIFY(tick(p));
    QVERIFY(!p.isPlaying());
    QCOMPARE(p.currentIndex(), 0);
    QCOMPARE(sliderValue(p), 4);
    QCOMPARE(shownFrame(p), 14);
    // A click restarts; the first tick goes to slider position 1.
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(500, 300));
    QVERIFY(tick(p));
    QCOMPARE(sliderValue(p), 1);
    QCOMPARE(shownFrame(p), 12);
}

void TstClipPlayer::sliderPauses()
{
    KOVScreenshot p;
    p.showScreenshot(m_clip);
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(500, 300));
    QVERIFY(tick(p));
    p.findChild<QSlider*>("horizontalSlider")->setValue(3);
    QVERIFY(!p.isPlaying());
    QCOMPARE(p.currentIndex(), 3);
    QCOMPARE(shownFrame(p), 13);
}

void TstClipPlayer::samePathKeepsPosition()
{
    KOVScreenshot p;
    p.showScreenshot(m_clip);
    p.findChild<QSlider*>("horizontalSlider")->setValue(2);
    p.hide();
    p.showScreenshot(m_clip);
    QVERIFY(p.isVisible());
    QCOMPARE(p.currentIndex(), 2);
    QCOMPARE(shownFrame(p), 12);
}

void TstClipPlayer::rewrittenClipReopens()
{
    const QString path = m_dir.filePath("rewritten.avi");
    QVERIFY(writeClip(path, 0, 6));
    KOVScreenshot p;
    p.showScreenshot(path);
    p.findChild<QSlider*>("horizontalSlider")->setValue(5);
    p.hide();
    QVERIFY(writeClip(path, 20, 3));
    p.showScreenshot(path);
    QCOMPARE(p.frameTotal(), 3);
    QCOMPARE(p.currentIndex(), 0);
    QCOMPARE(sliderValue(p), 0);
    QCOMPARE(shownFrame(p), 20);
}

void TstClipPlayer::brokenClipClears()
{
    const QString path = m_dir.filePath("broken.avi");
    KOVScreenshot p;
    p.showScreenshot(m_clip);
    QCOMPARE(shownFrame(p), 10);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, 'n'));
    }
    p.showScreenshot(path);
    QVERIFY(p.isVisible());
    // Nothing of the previous clip stays on show, and nothing is remembered.
    QCOMPARE(shownFrame(p), -2);
    QCOMPARE(p.frameTotal(), 0);
    QVERIFY(p.openPath().isEmpty());
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(500, 300));
    QVERIFY(tick(p)); // no crash on an empty clip
    QVERIFY(!p.isPlaying());
    // Once the file is a clip, the same path opens.
    QVERIFY(writeClip(path, 30, 2));
    p.showScreenshot(path);
    QCOMPARE(p.frameTotal(), 2);
    QCOMPARE(shownFrame(p), 30);
}

QTEST_MAIN(TstClipPlayer)
#include "tst_clipplayer.moc"
