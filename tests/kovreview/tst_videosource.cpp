// The frame source against damaged files: it fails cleanly and never labels
// a frame with another frame's index.
#include "kovgen.h"
#include "kovvideosource.h"

#include <QTemporaryDir>
#include <QtTest>

class TstVideoSource : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_good = m_dir.filePath("good.mp4");
        KOVGen::VideoOptions o;
        o.frames = 30;
        QVERIFY(KOVGen::writeVideo(m_good, o));
        QFile f(m_good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        m_goodBytes = f.readAll();
    }

    void unreadable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("empty file") << QByteArray("");
        QTest::newRow("nonsense") << QByteArray(5000, '\x33');
        QTest::newRow("only the first 64 bytes") << QByteArray("head");
    }
    void unreadable()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".mp4");
        if (!bytes.isNull()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes == "head" ? m_goodBytes.left(64) : bytes);
        }
        KOVVideoSource s;
        cv::Mat frame;
        if (!s.open(path))
            QVERIFY(s.frameCount() == 0 && !s.read(frame) && !s.seek(3));
        QCOMPARE(s.lastIndex(), -1);
        QVERIFY(frame.empty());
    }

    void truncatedStopsCleanly()
    {
        // The container's index (at the end for this writer, or the start) may
        // claim frames whose data is gone: reading stops, and every frame read
        // carries its own index.
        for (const double keep : { 0.3, 0.6, 0.9 }) {
            const QString path = m_dir.filePath(QStringLiteral("cut%1.mp4").arg(int(keep * 10)));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(m_goodBytes.left(int(m_goodBytes.size() * keep)));
            f.close();
            KOVVideoSource s;
            if (!s.open(path))
                continue;
            cv::Mat frame;
            int n = 0;
            while (s.read(frame)) {
                QCOMPARE(s.lastIndex(), n);
                const int code = KOVGen::decodeFrameIndex(frame);
                if (code >= 0)
                    QCOMPARE(code, n);
                ++n;
                QVERIFY(n <= 30);
            }
            QVERIFY(n <= s.frameCount() || s.frameCount() == 0);
        }
    }

    void sequentialAndSeek()
    {
        KOVVideoSource s;
        QVERIFY(s.open(m_good));
        QCOMPARE(s.frameCount(), 30);
        cv::Mat frame;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(s.read(frame));
            QCOMPARE(QPoint(KOVGen::decodeFrameIndex(frame), s.lastIndex()), QPoint(i, i));
        }
        for (int target : { 20, 0, 29, 1, 13, 0 }) {
            QVERIFY(s.seek(target) && s.read(frame));
            QCOMPARE(QPoint(KOVGen::decodeFrameIndex(frame), s.lastIndex()), QPoint(target, target));
        }
        QVERIFY(s.seek(-5) && s.read(frame)); // clamped
        QCOMPARE(s.lastIndex(), 0);
        QVERIFY(s.seek(500) && s.read(frame));
        QCOMPARE(s.lastIndex(), 29);
        // Reading past the end moves nothing.
        QVERIFY(!s.read(frame));
        QCOMPARE(s.lastIndex(), 29);
        QCOMPARE(s.nextIndex(), 30);
        s.release();
        QVERIFY(!s.read(frame));
        QCOMPARE(s.frameCount(), 0);
    }

private:
    QTemporaryDir m_dir;
    QString m_good;
    QByteArray m_goodBytes;
};

QTEST_GUILESS_MAIN(TstVideoSource)
#include "tst_videosource.moc"
