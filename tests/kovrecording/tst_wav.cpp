// WAV clips as the audio buffer writes them; the loader (through the file
// mapping) and the stereo multi-channel reader over honest, short, lying and
// foreign files.
#include "kovaudiosave.h"
#include "kovmediafixtures.h"
#include "kovmultaudioframe.h"
#include "kovmultaudioiodevice.h"
#include "kovreadaudio.h"
#include "kovtable.h"
#include "kovtestutil.h"

#include <QTemporaryDir>

using KOVMediaFixture::ramp;
using KOVMediaFixture::wav;

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
    return wav(s, 2, 96000, claimed);
}

} // namespace

class TestWav : public QObject
{
    Q_OBJECT

private slots:
    // What is counted is what is stored; written on destruction only.
    void writer_data()
    {
        // stored: samples per channel in the file; existing: a longer file at the path already
        KOVTable::columns<int, int, bool, bool, int, bool, int>({"channels", "n", "nullFirst", "nullSecond", "calls", "existing", "stored"});
        QTest::newRow("mono") << 1 << 1000 << false << true << 1 << false << 1000;
        QTest::newRow("stereo") << 2 << 1000 << false << false << 1 << false << 1000;
        QTest::newRow("no samples") << 1 << 0 << false << true << 1 << false << 0;
        QTest::newRow("two calls append, old file replaced") << 1 << 10 << false << true << 2 << true << 20;
        QTest::newRow("negative count") << 1 << -480 << false << true << 1 << false << 0;
        QTest::newRow("null buffer") << 1 << 100 << true << true << 1 << false << 0;
        QTest::newRow("stereo without second channel") << 2 << 100 << false << true << 1 << false << 0;
        QTest::newRow("three channels") << 3 << 100 << false << false << 1 << false << 0;
    }
    void writer()
    {
        QFETCH(int, channels);
        QFETCH(int, n);
        QFETCH(bool, nullFirst);
        QFETCH(bool, nullSecond);
        QFETCH(int, calls);
        QFETCH(bool, existing);
        QFETCH(int, stored);
        const QString path = m_dir.filePath(QStringLiteral("clip.wav"));
        QFile::remove(path);
        if (existing)
            QVERIFY(KOVMediaFixture::writeFile(path, QByteArray(5000, 'z')));
        const std::vector<short> l = ramp(1000, 3, 1), r = ramp(1000, -5, -2);
        {
            KOVAudioSave save(path, channels, 96000, false);
            for (int c = 0; c < calls; ++c)
                save.write(nullFirst ? nullptr : l.data(), nullSecond ? nullptr : r.data(), n);
            QCOMPARE(QPoint(int(save.audioLength()), QFile::exists(path)), QPoint(stored * channels * 2, existing));
        }
        std::vector<short> expected;
        for (int i = 0; i < stored; ++i) {
            expected.push_back(l[static_cast<size_t>(i % n)]);
            if (channels == 2)
                expected.push_back(r[static_cast<size_t>(i)]);
        }
        QCOMPARE(KOVTest::readAll(path), wav(expected, channels));
    }

    void ffprobeAgrees()
    {
        if (KOVMediaFixture::run(QStringLiteral("ffprobe"), {QStringLiteral("-version")}).isEmpty())
            QSKIP("ffprobe is not installed");
        const QString path = m_dir.filePath(QStringLiteral("probe.wav"));
        const std::vector<short> s = ramp(144000);
        for (int channels : {1, 2}) {
            KOVAudioSave(path, channels, 96000, false).write(s.data(), s.data(), 144000);
            const QString out = KOVMediaFixture::run(QStringLiteral("ffprobe"),
                {"-v", "error", "-show_entries", "stream=codec_name,sample_rate,channels,duration", "-of", "default=nw=1", path});
            for (const QString& want : {QStringLiteral("codec_name=pcm_s16le"), QStringLiteral("sample_rate=96000"),
                                        QStringLiteral("channels=%1").arg(channels), QStringLiteral("duration=1.500000")})
                QVERIFY2(out.contains(want), qPrintable(out));
        }
    }

    // Honest files of any length and path; then files whose header lies:
    // the loader keeps whole sample frames present in the file, read from
    // the data chunk, and a failed load leaves nothing of the one before.
    void loader_data()
    {
        KOVTable::columns<QByteArray, bool, int, int, QString>({"bytes", "ok", "channels", "samples", "name"}); // samples: interleaved, kept
        const std::vector<short> s = ramp(8192, 3);
        const QByteArray good = wav(s, 1);
        const QString a = QStringLiteral("a.wav");
        QTest::newRow("one second mono") << wav(ramp(96000, 7), 1) << true << 1 << 96000 << a; // 93.75 frames
        QTest::newRow("stereo") << wav(ramp(2 * 6244, 7), 2) << true << 2 << 2 * 6244 << a;
        QTest::newRow("blanks and Chinese in the path") << good << true << 1 << 8192 << "变电站 一号/wav/录音 01.wav";
        QTest::newRow("empty") << QByteArray() << false << 0 << 0 << a;
        QTest::newRow("header cut at 43 bytes") << good.left(43) << false << 0 << 0 << a;
        QTest::newRow("zero channels") << wav(s, 1, 96000, -1, 0) << false << 0 << 0 << a;
        QTest::newRow("8-bit samples") << QByteArray(good).replace(34, 1, "\x08", 1) << false << 0 << 0 << a;
        QTest::newRow("header only") << good.left(44) << true << 1 << 0 << a;
        QTest::newRow("claims more than the file") << wav(s, 1, 96000, 1000000) << true << 1 << 8192 << a;
        QTest::newRow("length field all ones") << wav(s, 1, 96000, 0xFFFFFFFFLL) << true << 1 << 8192 << a;
        QTest::newRow("truncated mid sample") << good.left(44 + 1001) << true << 1 << 500 << a;
        QTest::newRow("stereo truncated mid frame") << wav(s, 2).left(44 + 4 * 100 + 3) << true << 2 << 200 << a;
        // Lengths that are no whole number of sample frames and lie past the end.
        QTest::newRow("stereo, odd length far past the end") << wav(s, 2, 96000, 4 * 1000 + 3).left(44 + 4 * 100 + 2) << true << 2 << 200 << a;
        QTest::newRow("mono, odd length one byte past the end") << wav(s, 1, 96000, 2 * 8192 + 1) << true << 1 << 8192 << a;
        QTest::newRow("stereo, half a frame past the end") << wav(s, 2, 96000, 2 * 8192 + 2) << true << 2 << 8192 << a;
        QTest::newRow("extra chunk before data") << good.left(36) + QByteArray("LIST\x06\0\0\0abcdef", 14) + good.mid(36) << true << 1 << 8192 << a;
        QTest::newRow("odd-sized chunk before data") << good.left(36) + QByteArray("LIST\x05\0\0\0abcde\0", 14) + good.mid(36) << true << 1 << 8192 << a;
        QTest::newRow("extensible format") << QByteArray(good).replace(20, 2, "\xfe\xff", 2) << true << 1 << 8192 << a;
        QTest::newRow("no data chunk") << good.left(36) + QByteArray("JUNK\x10\0\0\0", 8) + QByteArray(16, '\0') << false << 0 << 0 << a;
    }
    void loader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(int, channels);
        QFETCH(int, samples);
        QFETCH(QString, name);
        const QString good = m_dir.filePath(QStringLiteral("good.wav")), path = m_dir.filePath(name);
        QVERIFY(KOVMediaFixture::writeFile(good, wav(ramp(8192, 3), 1)));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && KOVMediaFixture::writeFile(path, bytes));
        KOVReadAudio r;
        QVERIFY(r.initAudioData(good));
        QCOMPARE(r.initAudioData(path), ok);
        QCOMPARE(QPoint(r.getAudioChannels(), r.getFrameCnt()), QPoint(channels, channels ? samples / channels / 1024 : 0));
        QCOMPARE(r.getAudioData() != nullptr, ok);
        if (ok)
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(r.getAudioData()), samples * 2), bytes.mid(bytes.indexOf("data") + 8, samples * 2));
    }

    void channelPairs()
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
        QVERIFY(!f.data(128) && !f.data(-1));
        QCOMPARE(dev.curIndex(), 6);
    }

    // A failed open leaves the reader closed; a lying length is clamped.
    void readerRefusesAndClamps()
    {
        for (const QByteArray& bytes : {wav(ramp(4096), 1), wav(ramp(8192), 4), QByteArray(5000, 'n'), wav(ramp(4096), 2, 96000, -1, 0)}) {
            KOVMultAudioIODevice dev;
            KOVMultAudioFrame f;
            QVERIFY(!dev.open(file(bytes)) && !dev.isOpen() && !dev.readFrame(&f, 0));
            QCOMPARE(dev.maxIndex(), 0);
        }
        KOVMultAudioIODevice dev;
        KOVMultAudioFrame f;
        QVERIFY(dev.open(file(stereo(3, 0xFFFFFFF0LL))) && dev.maxIndex() == 3 && dev.readFrame(&f, 2));
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

QTEST_GUILESS_MAIN(TestWav)
#include "tst_wav.moc"
