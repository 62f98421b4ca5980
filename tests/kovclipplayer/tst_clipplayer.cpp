// The clip player: opening at the first frame, playing to the end, seeking,
// and a path shown before that is rewritten, then broken.
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

QSlider* slider(KOVScreenshot& p) { return p.findChild<QSlider*>("horizontalSlider"); }
bool tick(KOVScreenshot& p) { return QMetaObject::invokeMethod(&p, "slotTimeOut"); }
void click(KOVScreenshot& p) { QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(500, 300)); }

} // namespace

class TstClipPlayer : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void playToTheEnd()
    {
        const QString path = m_dir.filePath("R1_videoClip.avi");
        QVERIFY(writeClip(path, 10, 5));
        KOVScreenshot p;
        p.showScreenshot(path);
        QCOMPARE(QPoint(p.frameTotal(), shownFrame(p)), QPoint(5, 10));
        QVERIFY(!p.isPlaying());
        click(p);
        // The picture runs one frame ahead of the slider, up to the last.
        for (int i = 1; i <= 4; ++i) {
            QVERIFY(tick(p));
            QCOMPARE(QPoint(slider(p)->value(), shownFrame(p)), QPoint(i, 10 + std::min(i + 1, 4)));
        }
        // At the last index: stop and rewind the capture; the picture stays.
        QVERIFY(tick(p));
        QVERIFY(!p.isPlaying());
        QCOMPARE(QPoint(p.currentIndex(), shownFrame(p)), QPoint(0, 14));
        // A click plays again from the start; the slider pauses on its frame.
        click(p);
        QVERIFY(tick(p));
        QCOMPARE(shownFrame(p), 12);
        slider(p)->setValue(3);
        QVERIFY(!p.isPlaying());
        QCOMPARE(shownFrame(p), 13);
    }

    // A header claiming 0xFFFFFFFF frames: playback still ends after the
    // frames the file holds.
    void lyingFrameCount()
    {
        const QString path = m_dir.filePath("R3_videoClip.avi");
        QVERIFY(writeClip(path, 40, 5));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        // The main header's total frames and the video stream's length.
        for (const auto& field : { qMakePair(QByteArray("avih"), 8 + 16), qMakePair(QByteArray("strh"), 8 + 32) })
            qToLittleEndian<quint32>(0xFFFFFFFFu, bytes.data() + bytes.indexOf(field.first) + field.second);
        QVERIFY(f.seek(0) && f.write(bytes) == bytes.size());
        f.close();
        KOVScreenshot p;
        p.showScreenshot(path);
        QVERIFY(p.frameTotal() > 0 && p.frameTotal() <= f.size() / 16);
        click(p);
        for (int i = 0; i < 10 && p.isPlaying(); ++i)
            QVERIFY(tick(p));
        QVERIFY(!p.isPlaying());
        QCOMPARE((QList<int>{p.frameTotal(), slider(p)->maximum(), shownFrame(p)}), (QList<int>{5, 4, 44}));
    }

    void samePathAgain()
    {
        const QString path = m_dir.filePath("R2_videoClip.avi");
        QVERIFY(writeClip(path, 30, 6));
        KOVScreenshot p;
        p.showScreenshot(path);
        slider(p)->setValue(4);
        p.hide();
        // Unchanged, it keeps its place; rewritten, it opens anew at frame 0.
        p.showScreenshot(path);
        QCOMPARE(p.currentIndex(), 4);
        QVERIFY(writeClip(path, 20, 3));
        p.showScreenshot(path);
        QCOMPARE((QList<int>{p.frameTotal(), slider(p)->value(), shownFrame(p)}), (QList<int>{3, 0, 20}));
        // Broken: nothing of the clip before stays on show, nothing is remembered.
        QFile broken(path);
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write(QByteArray(5000, 'n')) == 5000);
        broken.close();
        p.showScreenshot(path);
        QCOMPARE(QPoint(shownFrame(p), p.frameTotal()), QPoint(-2, 0));
        QVERIFY(p.openPath().isEmpty());
        click(p);
        QVERIFY(tick(p));
        QVERIFY(!p.isPlaying());
    }
};

QTEST_MAIN(TstClipPlayer)
#include "tst_clipplayer.moc"
