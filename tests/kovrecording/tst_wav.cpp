// WAV clips as the audio buffer writes them, and the loader over honest,
// short, lying and foreign files; the file-mapping stand-in under it.
#include "kovaudiosave.h"
#include "kovmediafixtures.h"
#include "kovmmap.h"
#include "kovreadaudio.h"
#include "kovtestutil.h"

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

using KOVMediaFixture::ramp;
using KOVMediaFixture::wav;

class TestWav : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    // The clip as the audio buffer writes it; what is counted is what is stored.
    void writer_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("nullFirst");
        QTest::addColumn<bool>("nullSecond");
        QTest::addColumn<int>("calls");
        QTest::addColumn<bool>("existing"); // a longer file at the path already
        QTest::addColumn<int>("stored");    // samples per channel in the file
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
        const QString path = m_dir->filePath(QStringLiteral("clip.wav"));
        if (existing)
            QVERIFY(KOVMediaFixture::writeFile(path, QByteArray(5000, 'z')));
        const std::vector<short> left = ramp(1000, 3, 1), right = ramp(1000, -5, -2);
        {
            KOVAudioSave save(path, channels, 96000, false);
            for (int c = 0; c < calls; ++c)
                save.write(nullFirst ? nullptr : left.data(), nullSecond ? nullptr : right.data(), n);
            QCOMPARE(save.audioLength(), quint32(stored * channels * 2));
            QCOMPARE(QFile::exists(path), existing); // written on destruction only
        }
        std::vector<short> expected;
        for (int i = 0; i < stored; ++i) {
            expected.push_back(left[static_cast<size_t>(i % n)]);
            if (channels == 2)
                expected.push_back(right[static_cast<size_t>(i)]);
        }
        QCOMPARE(KOVTest::readAll(path), wav(expected, channels));
    }

    void ffprobeAgrees_data()
    {
        QTest::addColumn<int>("channels");
        QTest::newRow("mono") << 1;
        QTest::newRow("stereo") << 2;
    }
    void ffprobeAgrees()
    {
        QFETCH(int, channels);
        if (KOVMediaFixture::run(QStringLiteral("ffprobe"), {QStringLiteral("-version")}).isEmpty())
            QSKIP("ffprobe is not installed");
        const QString path = m_dir->filePath(QStringLiteral("probe.wav"));
        const std::vector<short> s = ramp(144000);
        {
            KOVAudioSave save(path, channels, 96000, false);
            save.write(s.data(), s.data(), 144000);
        }
        const QString out = KOVMediaFixture::run(
            QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                                        QStringLiteral("stream=codec_name,sample_rate,channels,duration"), QStringLiteral("-of"),
                                        QStringLiteral("default=nw=1"), path});
        for (const QString& want : {QStringLiteral("codec_name=pcm_s16le"), QStringLiteral("sample_rate=96000"),
                                    QStringLiteral("channels=%1").arg(channels), QStringLiteral("duration=1.500000")})
            QVERIFY2(out.contains(want), qPrintable(out));
    }

    void loaderCounts_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("perChannel");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("name");
        QTest::newRow("one second mono") << 1 << 96000 << 93 << "a.wav"; // 93.75 frames, the rest dropped
        QTest::newRow("stereo") << 2 << 2048 * 3 + 100 << 6 << "a.wav";
        QTest::newRow("shorter than a frame") << 1 << 1000 << 0 << "a.wav";
        QTest::newRow("blanks and Chinese in the path") << 1 << 4096 << 4 << "变电站 一号/wav/录音 01.wav";
    }
    void loaderCounts()
    {
        QFETCH(int, channels);
        QFETCH(int, perChannel);
        QFETCH(QString, name);
        const std::vector<short> s = ramp(static_cast<size_t>(perChannel * channels), 7);
        const QString path = m_dir->filePath(name);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(KOVMediaFixture::writeFile(path, wav(s, channels)));
        KOVReadAudio r;
        QVERIFY(r.initAudioData(path));
        QCOMPARE(r.getAudioChannels(), channels);
        QTEST(r.getFrameCnt(), "frames");
        QVERIFY(r.getAudioData());
        QVERIFY(std::equal(s.begin(), s.end(), r.getAudioData()));
    }

    void loaderDistrustsHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("samples"); // interleaved samples kept

        const std::vector<short> s = ramp(8192, 3);
        const QByteArray good = wav(s, 1);
        QTest::newRow("empty") << QByteArray() << false << 0 << 0;
        QTest::newRow("header cut at 43 bytes") << good.left(43) << false << 0 << 0;
        QTest::newRow("zero channels") << wav(s, 1, 96000, -1, 0) << false << 0 << 0;
        QTest::newRow("8-bit samples") << QByteArray(good).replace(34, 1, "\x08", 1) << false << 0 << 0;
        QTest::newRow("header only") << good.left(44) << true << 1 << 0;
        QTest::newRow("claims more than the file") << wav(s, 1, 96000, 1000000) << true << 1 << 8192;
        QTest::newRow("length field all ones") << wav(s, 1, 96000, 0xFFFFFFFFLL) << true << 1 << 8192;
        QTest::newRow("truncated mid sample") << good.left(44 + 1001) << true << 1 << 500;
        QTest::newRow("stereo truncated mid frame") << wav(s, 2).left(44 + 4 * 100 + 3) << true << 2 << 200;
        // Lengths that are no whole number of sample frames and lie past the end.
        QTest::newRow("stereo, odd length far past the end") << wav(s, 2, 96000, 4 * 1000 + 3).left(44 + 4 * 100 + 2)
                                                            << true << 2 << 200;
        QTest::newRow("mono, odd length one byte past the end") << wav(s, 1, 96000, 2 * 8192 + 1) << true << 1 << 8192;
        QTest::newRow("stereo, half a frame past the end") << wav(s, 2, 96000, 2 * 8192 + 2) << true << 2 << 8192;
        // A chunk before the data: read from the data chunk, not offset 44.
        QByteArray extra = good.left(36) + QByteArray("LIST\x06\0\0\0abcdef", 14) + good.mid(36);
        QTest::newRow("extra chunk before data") << extra << true << 1 << 8192;
        QByteArray noData = good.left(36) + QByteArray("JUNK\x10\0\0\0", 8) + QByteArray(16, '\0');
        QTest::newRow("no data chunk") << noData << false << 0 << 0;
    }
    void loaderDistrustsHeader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(int, channels);
        QFETCH(int, samples);
        const QString good = m_dir->filePath(QStringLiteral("good.wav"));
        const QString path = m_dir->filePath(QStringLiteral("bad.wav"));
        const std::vector<short> s = ramp(8192, 3);
        QVERIFY(KOVMediaFixture::writeFile(good, wav(s, 1)));
        QVERIFY(KOVMediaFixture::writeFile(path, bytes));
        KOVReadAudio r;
        QVERIFY(r.initAudioData(good)); // a failed load must not leave this behind
        QCOMPARE(r.initAudioData(path), ok);
        QCOMPARE(r.getAudioChannels(), channels);
        QCOMPARE(r.getFrameCnt(), channels ? samples / channels / 1024 : 0);
        if (!ok) {
            QVERIFY(!r.getAudioData());
            return;
        }
        QVERIFY(r.getAudioData());
        const QByteArray expectedData = bytes.mid(bytes.indexOf("data") + 8, samples * 2);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(r.getAudioData()), samples * 2), expectedData);
    }

    void mapping_data()
    {
        QTest::addColumn<bool>("withAddress");
        QTest::addColumn<int>("flags");
        QTest::addColumn<long>("offset");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<bool>("ok");
        const long page = getpagesize();
        QTest::newRow("from the second page") << false << 2 << page << qint64(page) << true;
        QTest::newRow("address requested") << true << 2 << 0L << qint64(100) << false;
        QTest::newRow("offset not a page multiple") << false << 2 << 100L << qint64(100) << false;
        QTest::newRow("longer than the file") << false << 2 << 0L << qint64(3 * page + 11) << false;
        QTest::newRow("offset beyond the file") << false << 2 << 4 * page << qint64(1) << false;
        QTest::newRow("zero length") << false << 2 << 0L << qint64(0) << false;
    }
    void mapping()
    {
        QFETCH(bool, withAddress);
        QFETCH(int, flags);
        QFETCH(long, offset);
        QFETCH(qint64, length);
        const QString path = m_dir->filePath(QStringLiteral("m.bin"));
        QByteArray content(3 * getpagesize() + 10, '\0');
        for (int i = 0; i < content.size(); ++i)
            content[i] = static_cast<char>(i * 13);
        QVERIFY(KOVMediaFixture::writeFile(path, content));
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        char hint;
        void* p = win32_mmap(withAddress ? &hint : nullptr, static_cast<unsigned long long>(length), 3, flags, fd, offset);
        ::close(fd); // the view outlives the descriptor
        QTEST(p != nullptr, "ok");
        if (!p)
            return;
        char* c = static_cast<char*>(p);
        QCOMPARE(QByteArray(c, static_cast<int>(length)), content.mid(static_cast<int>(offset), static_cast<int>(length)));
        c[0] = 'X'; // a private view: the file keeps its byte
        QVERIFY(!win32_munmap(p, static_cast<unsigned long long>(length)));
        QCOMPARE(KOVTest::readAll(path), content);
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestWav)
#include "tst_wav.moc"
