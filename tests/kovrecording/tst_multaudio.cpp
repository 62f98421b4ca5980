// The multi-channel reader over a stereo WAV file: channel pairs, positions,
// time stamps, frame buffers and refused files.
#include "kovaudioframe.h"
#include "kovaudioframebuffer.h"
#include "kovmediafixtures.h"
#include "kovmultaudio64fileio.h"
#include "kovmultaudioframe.h"
#include "kovmultaudioframebuffer.h"
#include "kovmultaudioiodevice.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Left sample i is i, right sample i is -i - 1 (both wrapped to 16 bits).
short left(long i) { return static_cast<short>(i % 32768); }
short right(long i) { return static_cast<short>(-(i % 32768) - 1); }

QByteArray stereo(int frames, qint64 claimed = -1)
{
    std::vector<short> s(static_cast<size_t>(frames) * 1024 * 2);
    for (size_t i = 0; i < s.size() / 2; ++i) {
        s[2 * i] = left(long(i));
        s[2 * i + 1] = right(long(i));
    }
    return KOVMediaFixture::wav(s, 2, 96000, claimed);
}

} // namespace

class TestMultAudio : public QObject
{
    Q_OBJECT

private slots:
    void pairsShowLeftAndRight()
    {
        KOVMultAudioIODevice dev;
        QVERIFY(dev.open(file(stereo(1024))));
        QVERIFY(!dev.open(file(stereo(1024)))); // already open
        QCOMPARE(dev.maxIndex(), 1024);
        KOVMultAudioFrame f;
        QVERIFY(dev.readFrame(&f, 5)); // move to frame 5, read it
        QCOMPARE(f.channelsCount(), 128);
        for (int c : {0, 1, 2, 3, 126, 127})
            for (int k : {0, 1023})
                QCOMPARE(f.data(c)[k], c % 2 ? right(5 * 1024 + k) : left(5 * 1024 + k));
        QVERIFY(!f.data(128));
        QVERIFY(!f.data(-1));
        QCOMPARE(dev.curIndex(), 6);
    }

    void moves_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("after");
        QTest::newRow("-1 from 0 goes to the last") << 0 << -1 << true << 9;
        QTest::newRow("3 from 8 is refused") << 8 << 3 << false << 8;
        QTest::newRow("1 from 8") << 8 << 1 << true << 9;
        QTest::newRow("-10 from 0 is refused") << 0 << -10 << false << 0;
        QTest::newRow("huge offset is refused") << 2 << 2147483647 << false << 2;
        QTest::newRow("most negative is refused") << 2 << -2147483647 - 1 << false << 2;
    }
    void moves()
    {
        QFETCH(int, start);
        QFETCH(int, offset);
        KOVMultAudio64FileIO io(2, 96000);
        QVERIFY(io.open(file(stereo(10))));
        QVERIFY(io.reSeek(start));
        QTEST(io.seek(offset), "ok");
        QTEST(io.curIndex(), "after");
        QVERIFY(!io.reSeek(10));
        QVERIFY(!io.reSeek(-1));
    }

    void timeStamps()
    {
        KOVMultAudio64FileIO io(2, 96000);
        QVERIFY(io.open(file(stereo(10))));
        QVERIFY(io.reSeek(3));
        QCOMPARE(io.timeStamp(), 31.998f);
        // At 8 kHz a frame lasts 128000 us: frame 9 is at 1152 ms.
        KOVMultAudio64FileIO slow(2, 8000);
        QVERIFY(slow.open(file(stereo(10))));
        QVERIFY(slow.reSeek(9));
        QCOMPARE(slow.timeStamp(), 1152.0f);
    }

    void singleChannelAndBuffers()
    {
        KOVMultAudioIODevice dev;
        QVERIFY(dev.open(file(stereo(10))));
        KOVAudioFrame f;
        f.setChannel(200);
        QVERIFY(!dev.readFrame(&f, 0)); // no such channel
        f.setChannel(3);
        QVERIFY(dev.readFrame(&f, -2)); // counted from the end: frame 8
        QCOMPARE(f.data()[0], right(8 * 1024));
        QCOMPARE(dev.curIndex(), 0); // position restored
        QVERIFY(!dev.readFrame(&f, 10));
        QVERIFY(!dev.readFrame(&f, -11));

        KOVMultAudioFrameBuffer b;
        b.setFrameCount(3);
        QVERIFY(dev.readFrameBuffer(&b, 2)); // frames 2, 3, 4
        QCOMPARE(b.data(0)[0], left(2 * 1024));
        QCOMPARE(b.data(1)[3 * 1024 - 1], right(5 * 1024 - 1));
        // Asking for more than is left gives what is left, in larger storage.
        b.setFrameCount(50);
        QVERIFY(!dev.readFrameBuffer(&b, -5)); // 5 + 5 reaches the end: refused
        QVERIFY(dev.readFrameBuffer(&b, 0));   // from frame 5 to the end
        QCOMPARE(b.frameCount(), 5);
        QCOMPARE(b.data(126)[5 * 1024 - 1], left(10 * 1024 - 1));

        KOVAudioFrameBuffer one;
        one.setChannel(5);
        QVERIFY(dev.readFrameBuffer(&one, 7));
        QCOMPARE(one.frameCount(), 3);
        QCOMPARE(one.data()[2 * 1024 + 1], right(9 * 1024 + 1));
        one.setChannel(-1);
        QVERIFY(!dev.readFrameBuffer(&one, 0));
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("mono") << KOVMediaFixture::wav(KOVMediaFixture::ramp(4096), 1);
        QTest::newRow("four channels") << KOVMediaFixture::wav(KOVMediaFixture::ramp(8192), 4);
        QTest::newRow("nonsense") << QByteArray(5000, 'n');
        QTest::newRow("zero channels") << KOVMediaFixture::wav(KOVMediaFixture::ramp(4096), 2, 96000, -1, 0);
    }
    void refusedFiles()
    {
        QFETCH(QByteArray, bytes);
        KOVMultAudioIODevice dev;
        QVERIFY(!dev.open(file(bytes)));
        QVERIFY(!dev.isOpen()); // a failed open leaves the device closed
        QCOMPARE(dev.maxIndex(), 0);
        KOVMultAudioFrame f;
        QVERIFY(!dev.readFrame(&f, 0));
    }

    void lyingLengthIsClamped()
    {
        KOVMultAudioIODevice dev;
        QVERIFY(dev.open(file(stereo(3, 0xFFFFFFF0LL))));
        QCOMPARE(dev.maxIndex(), 3);
        KOVMultAudioFrame f;
        QVERIFY(dev.readFrame(&f, 2));
        QCOMPARE(f.data(0)[1023], left(3 * 1024 - 1));
    }

private:
    const char* file(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("s%1.wav").arg(m_names.size()));
        m_names << (KOVMediaFixture::writeFile(path, bytes) ? QFile::encodeName(path) : QByteArray());
        return m_names.last().constData();
    }

    QTemporaryDir m_dir;
    QList<QByteArray> m_names;
};

QTEST_GUILESS_MAIN(TestMultAudio)
#include "tst_multaudio.moc"
