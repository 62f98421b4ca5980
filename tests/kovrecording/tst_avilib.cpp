// The clip container: the byte layout players rely on, the size limit, write
// failures, audio tracks, and a reader that survives damaged files.
#include "avilib.h"
#include "kovmediafixtures.h"
#include "kovtestutil.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <opencv2/videoio.hpp>
#include <unistd.h>

namespace {

QByteArray filled(int n, char seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = static_cast<char>(seed + i * 7);
    return b;
}

void put(QByteArray& b, int at, quint32 v)
{
    qToLittleEndian<quint32>(v, reinterpret_cast<uchar*>(b.data()) + at);
}

void tag(QByteArray& b, int at, const char* t)
{
    memcpy(b.data() + at, t, 4);
}

quint32 get(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData()) + at);
}

QByteArray jpeg(int w, int h, int i)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor::fromHsv((i * 36) % 360, 200, 220));
    QPainter p(&img);
    p.fillRect(i * 10 % w, h / 4, w / 5, h / 2, Qt::black);
    p.end();
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG", 85);
    return out;
}

avi_t* openClip(const QString& path, int w, int h, double fps = 15.0, const char* codec = "MJPG")
{
    avi_t* a = AVI_open_output_file(QFile::encodeName(path).constData());
    if (a)
        AVI_set_video(a, w, h, fps, codec);
    return a;
}

// Writes frames (and nothing else) as a 15 fps MJPG clip.
bool writeClip(const QString& path, int w, int h, const QList<QByteArray>& frames)
{
    avi_t* a = openClip(path, w, h);
    if (!a)
        return false;
    for (const QByteArray& f : frames)
        if (AVI_write_frame(a, f.constData(), f.size(), 1) != 0)
            return false;
    return AVI_close(a) == 0;
}

} // namespace

class TestAvilib : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        AVI_errno = 0;
    }

    void workedExampleByteForByte()
    {
        const QList<QByteArray> frames = {filled(1001, 1), filled(1000, 2), filled(1002, 3)};
        // Over a longer old file: only the clip may remain.
        const QString path = m_dir->filePath(QStringLiteral("clip.avi"));
        QVERIFY(KOVMediaFixture::writeFile(path, QByteArray(100000, 'x')));
        QVERIFY(writeClip(path, 1024, 600, frames));

        // The expected file, laid out from the format's table.
        QByteArray e(5132, '\0');
        tag(e, 0, "RIFF"), put(e, 4, 5124), tag(e, 8, "AVI ");
        tag(e, 12, "LIST"), put(e, 16, 192), tag(e, 20, "hdrl");
        tag(e, 24, "avih"), put(e, 28, 56), put(e, 32, 66667), put(e, 44, 0x110), put(e, 48, 3), put(e, 56, 1);
        put(e, 64, 1024), put(e, 68, 600);
        tag(e, 88, "LIST"), put(e, 92, 116), tag(e, 96, "strl"), tag(e, 100, "strh"), put(e, 104, 56);
        tag(e, 108, "vids"), tag(e, 112, "MJPG"), put(e, 128, 1000000), put(e, 132, 15000000), put(e, 140, 3);
        put(e, 148, 0xFFFFFFFF);
        tag(e, 164, "strf"), put(e, 168, 40), put(e, 172, 40), put(e, 176, 1024), put(e, 180, 600);
        put(e, 184, 1 | 24 << 16), tag(e, 188, "MJPG"), put(e, 192, 1843200);
        tag(e, 212, "LIST"), put(e, 216, 76), tag(e, 220, "INFO"), tag(e, 224, "ISFT"), put(e, 228, 64);
        tag(e, 296, "JUNK"), put(e, 300, 1732);
        tag(e, 2036, "LIST"), put(e, 2040, 3032), tag(e, 2044, "movi");
        const int at[3] = {2048, 3058, 4066};
        for (int i = 0; i < 3; ++i) {
            tag(e, at[i], "00db"), put(e, at[i] + 4, static_cast<quint32>(frames[i].size()));
            e.replace(at[i] + 8, frames[i].size(), frames[i]);
        }
        tag(e, 5076, "idx1"), put(e, 5080, 48);
        for (int i = 0; i < 3; ++i) {
            const int p = 5084 + 16 * i;
            tag(e, p, "00db"), put(e, p + 4, 0x10), put(e, p + 8, static_cast<quint32>(at[i]));
            put(e, p + 12, static_cast<quint32>(frames[i].size()));
        }
        const QByteArray got = KOVTest::readAll(path);
        int diff = 0;
        while (diff < qMin(got.size(), e.size()) && got[diff] == e[diff])
            ++diff;
        QVERIFY2(got == e, qPrintable(QStringLiteral("first difference at byte %1").arg(diff)));
    }

    void videoHeaderFields_data()
    {
        QTest::addColumn<double>("fps");
        QTest::addColumn<QByteArray>("compressor");
        QTest::addColumn<quint32>("usPerFrame");
        QTest::addColumn<quint32>("rate");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("RGB24 gives a zero code") << 15.0 << QByteArray("RGB24") << 66667u << 15000000u
                                                 << QByteArray(4, '\0');
        QTest::newRow("fps below 0.001") << 0.0009 << QByteArray("MJPG") << 0u << 0u << QByteArray("MJPG");
        QTest::newRow("NTSC rate rounds") << 29.97 << QByteArray("mjpg") << 33367u << 29970000u << QByteArray("mjpg");
        QTest::newRow("long code cut to four") << 25.0 << QByteArray("XVIDEO") << 40000u << 25000000u
                                               << QByteArray("XVID");
    }
    void videoHeaderFields()
    {
        QFETCH(double, fps);
        QFETCH(QByteArray, compressor);
        QFETCH(QByteArray, code);
        const QString path = m_dir->filePath(QStringLiteral("h.avi"));
        avi_t* a = openClip(path, 64, 48, fps, compressor.constData());
        QVERIFY(a);
        QCOMPARE(AVI_close(a), 0);
        const QByteArray b = KOVTest::readAll(path);
        QTEST(get(b, 32), "usPerFrame");
        QTEST(get(b, 132), "rate");
        QCOMPARE(b.mid(112, 4), code);
        QCOMPARE(b.mid(188, 4), code);
        QCOMPARE(b.size(), 2048 + 8); // an empty index
    }

    void provisionalHeaderWhileRecording()
    {
        const QString path = m_dir->filePath(QStringLiteral("p.avi"));
        avi_t* a = openClip(path, 320, 240);
        QVERIFY(a);
        const QByteArray f = filled(999, 5);
        QCOMPARE(AVI_write_frame(a, f.constData(), f.size(), 1), 0);
        const QByteArray b = KOVTest::readAll(path);
        QCOMPARE(get(b, 4), 0xFEFFF003u);
        QCOMPARE(get(b, 2040), 0xFEFFF003u);
        QCOMPARE(get(b, 48), 0u);
        QCOMPARE(get(b, 140), 0u);
        QCOMPARE(AVI_close(a), 0);
    }

    void sizeLimit_data()
    {
        QTest::addColumn<qint64>("pos");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("accepted");
        const qint64 limit = 0xFEFFF800LL;
        // One entry already in the index: the test adds 16 x (1 + 1).
        QTest::newRow("reaches the limit") << limit - 100 - 16 - 32 << 100 << false;
        QTest::newRow("one byte below") << limit - 100 - 16 - 32 - 1 << 100 << true;
        // In 32-bit arithmetic this sum wraps to a small number and passes.
        QTest::newRow("would wrap in 32 bits") << qint64(0xFEFFF000LL) << 0x02000000 << false;
    }
    void sizeLimit()
    {
        QFETCH(qint64, pos);
        QFETCH(int, bytes);
        QFETCH(bool, accepted);
        avi_t* a = openClip(m_dir->filePath(QStringLiteral("big.avi")), 16, 16);
        QVERIFY(a);
        const QByteArray first = filled(10, 0);
        QCOMPARE(AVI_write_frame(a, first.constData(), first.size(), 1), 0);
        const int64_t realPos = a->pos;
        a->pos = pos; // as if the clip had grown that far
        const QByteArray data(bytes, 'd');
        const int r = AVI_write_frame(a, data.constData(), data.size(), 1);
        QCOMPARE(r == 0, accepted);
        if (!accepted) {
            QCOMPARE(AVI_errno, AVI_ERR_SIZELIM);
            QCOMPARE(a->n_idx, 1);
        }
        a->pos = realPos + (accepted ? 8 + bytes : 0);
        a->n_idx = 1;
        QCOMPARE(AVI_close(a), 0);
    }

    void failedWriteLeavesNoIndexEntry()
    {
        const QString path = m_dir->filePath(QStringLiteral("fail.avi"));
        avi_t* a = openClip(path, 16, 16);
        QVERIFY(a);
        const QByteArray f1 = filled(101, 1), f2 = filled(200, 2), f3 = filled(300, 3);
        QCOMPARE(AVI_write_frame(a, f1.constData(), f1.size(), 1), 0);
        const int good = a->fdes;
        a->fdes = ::open(QFile::encodeName(path).constData(), O_RDONLY); // writes fail on it
        QCOMPARE(AVI_write_frame(a, f2.constData(), f2.size(), 1), -1);
        QCOMPARE(AVI_errno, AVI_ERR_WRITE);
        QCOMPARE(a->n_idx, 1);
        ::close(a->fdes);
        a->fdes = good;
        QCOMPARE(AVI_write_frame(a, f3.constData(), f3.size(), 1), 0);
        QCOMPARE(AVI_close(a), 0);

        avi_t* r = AVI_open_input_file(QFile::encodeName(path).constData(), 0);
        QVERIFY(r);
        QVERIFY(!AVI_open_output_file(QFile::encodeName(m_dir->filePath(QStringLiteral("no/such/dir.avi"))).constData()));
        QCOMPARE(AVI_errno, AVI_ERR_OPEN);
        QCOMPARE(AVI_write_frame(r, "x", 1, 1), -1); // a reading handle never writes
        QCOMPARE(AVI_errno, AVI_ERR_NOT_PERM);
        QCOMPARE(AVI_dup_frame(r), -1);
        QCOMPARE(AVI_video_frames(r), 2L);
        QByteArray buf(400, '\0');
        int key = 0;
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), 101L);
        QCOMPARE(buf.left(101), f1);
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), 300L);
        QCOMPARE(buf.left(300), f3);
        AVI_close(r);
    }

    // The header counts only video frames as frames and gives each audio
    // stream its length in sample frames, not in chunks.
    void audioTracksRoundTrip()
    {
        const QString path = m_dir->filePath(QStringLiteral("audio.avi"));
        avi_t* a = openClip(path, 32, 32);
        QVERIFY(a);
        const auto channels = [](int t) { return 1 + t % 2; };
        const auto bits = [](int t) { return t % 3 ? 16 : 8; };
        for (int t = 0; t < 8; ++t)
            QCOMPARE(AVI_set_audio(a, channels(t), 48000, bits(t), WAVE_FORMAT_PCM, 0), 0);
        // A ninth track used to end the process.
        QCOMPARE(AVI_set_audio(a, 2, 48000, 16, WAVE_FORMAT_PCM, 0), -1);
        QCOMPARE(AVI_set_audio_track(a, 8), -1);
        const QByteArray v1 = filled(77, 1), v2 = filled(64, 2), s0 = filled(33, 6), s5 = filled(96, 7);
        const QByteArray s1 = filled(400, 3), s2 = filled(123, 4), s3 = filled(57, 5);
        QCOMPARE(AVI_write_frame(a, v1.constData(), v1.size(), 1), 0);
        QCOMPARE(AVI_set_audio_track(a, 2), 0);
        QCOMPARE(AVI_write_audio(a, s1.constData(), s1.size()), 0);
        QCOMPARE(AVI_write_frame(a, v2.constData(), v2.size(), 0), 0);
        QCOMPARE(AVI_set_audio_track(a, 0), 0);
        QCOMPARE(AVI_write_audio(a, s0.constData(), s0.size()), 0);
        QCOMPARE(AVI_set_audio_track(a, 5), 0);
        QCOMPARE(AVI_write_audio(a, s5.constData(), s5.size()), 0);
        QCOMPARE(AVI_set_audio_track(a, 2), 0);
        QCOMPARE(AVI_write_audio(a, s2.constData(), s2.size()), 0);
        QCOMPARE(AVI_append_audio(a, s3.constData(), s3.size()), 0);
        QCOMPARE(AVI_dup_frame(a), 0);
        QCOMPARE(AVI_close(a), 0);

        const QByteArray file = KOVTest::readAll(path);
        QCOMPARE(get(file, 4), quint32(file.size() - 8));
        QCOMPARE(get(file, 16), 192u + 800u);
        QCOMPARE(get(file, 44), 0x130u); // has index, must use it
        QCOMPARE(get(file, 48), 3u);
        QCOMPARE(get(file, 56), 9u);
        QCOMPARE(get(file, 140), 3u);
        const QList<int> bytes{33, 0, 580, 0, 0, 96, 0, 0};
        for (int t = 0; t < 8; ++t) {
            const int l = 212 + 100 * t;
            const quint32 scale = quint32((bits(t) + 7) / 8 * channels(t));
            QCOMPARE(file.mid(l, 4) + file.mid(l + 8, 8) + file.mid(l + 20, 4), QByteArray("LISTstrlstrhauds"));
            QCOMPARE(get(file, l + 40), scale);
            QCOMPARE(get(file, l + 44), scale * 48000u);
            QCOMPARE(get(file, l + 52), quint32(bytes[t]) / scale);
            QCOMPARE(file.mid(l + 76, 4), QByteArray("strf"));
        }
        QCOMPARE(file.mid(1012, 4) + file.mid(1020, 4) + file.mid(1096, 4), QByteArray("LISTINFOJUNK"));
        QCOMPARE(get(file, 1100), quint32(2036 - 1104));
        QCOMPARE(get(file, 2040), quint32(file.lastIndexOf("idx1") - 2044));

        avi_t* r = AVI_open_input_file(QFile::encodeName(path).constData(), 0);
        QVERIFY(r);
        QCOMPARE(AVI_video_frames(r), 3L);
        QCOMPARE(AVI_set_audio_track(r, 2), 0);
        QCOMPARE(AVI_audio_bytes(r), long(s1.size() + s2.size() + s3.size()));
        QByteArray audio(1000, '\0');
        QCOMPARE(AVI_read_audio(r, audio.data(), 1000), long(580));
        QCOMPARE(audio.left(580), s1 + s2 + s3);
        QCOMPARE(AVI_frame_size(r, 2), 64L); // the duplicate of the second frame
        QByteArray buf(100, '\0');
        int key = -1;
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), 77L);
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), 64L);
        QCOMPARE(key, 0);
        AVI_close(r);

        // Scanning the movi list finds the chunks without the index.
        r = AVI_open_input_file(QFile::encodeName(path).constData(), 1);
        QVERIFY(r);
        QCOMPARE(AVI_video_frames(r), 2L);
        AVI_close(r);
    }

    void damagedFilesFailCleanly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");  // when the open fails
        QTest::addColumn<int>("frames"); // when it succeeds (error 0)

        const QString path = QDir::temp().filePath(QStringLiteral("kov_avi_fixture_%1.avi").arg(QCoreApplication::applicationPid()));
        writeClip(path, 16, 16, {filled(1001, 1), filled(1000, 2), filled(1002, 3)});
        const QByteArray clip = KOVTest::readAll(path);
        QFile::remove(path);

        // The clip with 32-bit fields overwritten: pairs of offset and value.
        const auto with = [](QByteArray b, std::initializer_list<std::pair<int, quint32>> fields) {
            for (const auto& f : fields)
                put(b, f.first, f.second);
            return b;
        };
        QByteArray noVideo = clip;
        tag(noVideo, 108, "txts");
        QTest::newRow("nonsense") << filled(3000, 9) << AVI_ERR_NO_AVI << 0;
        QTest::newRow("riff header only") << clip.left(12) << AVI_ERR_NO_HDRL << 0;
        QTest::newRow("header list claims more than the file") << with(clip, {{16, 0xFFFFFF00u}}) << AVI_ERR_NO_HDRL << 0;
        QTest::newRow("cut inside the header") << clip.left(1000) << AVI_ERR_NO_MOVI << 0;
        QTest::newRow("no video stream") << noVideo << AVI_ERR_NO_VIDS << 0;
        QTest::newRow("stream list claims more than its header") << with(clip, {{92, 0x7FFFFFFFu}}) << AVI_ERR_NO_VIDS << 0;
        QTest::newRow("cut inside the first frame") << clip.left(2500) << 0 << 0;
        QTest::newRow("cut after two frames") << clip.left(4066) << 0 << 2;
        // Offset of the second entry, length of the third.
        QTest::newRow("index entries beyond the file") << with(clip, {{5084 + 16 + 8, 0x7FFFFFF0u}, {5084 + 32 + 12, 0xFFFFFFF0u}}) << 0 << 1;
        QTest::newRow("index claims more than the file") << with(clip, {{5080, 0xFFFFFFF0u}}) << 0 << 3;
        QTest::newRow("recording cut off, no index") << with(clip.left(5076), {{4, 0xFEFFF003u}, {2040, 0xFEFFF003u}}) << 0 << 3;
        QTest::newRow("frame chunk claims more than the file") << with(clip.left(5076), {{3058 + 4, 0xFFFFFFF0u}}) << 0 << 1;
    }
    void damagedFilesFailCleanly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(int, frames);
        const QString path = m_dir->filePath(QStringLiteral("bad.avi"));
        QVERIFY(KOVMediaFixture::writeFile(path, bytes));
        avi_t* r = AVI_open_input_file(QFile::encodeName(path).constData(), 0);
        if (error) {
            QVERIFY(!r);
            QCOMPARE(AVI_errno, error);
            return;
        }
        QVERIFY(r);
        QCOMPARE(AVI_video_frames(r), long(frames));
        // Every indexed frame lies inside the file.
        QByteArray buf(static_cast<int>(AVI_max_video_chunk(r)) + 1, '\0');
        int key;
        for (int i = 0; i < frames; ++i)
            QVERIFY(AVI_read_frame(r, buf.data(), &key) >= 0);
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), -1L);
        AVI_close(r);
    }

    void playersReadTheClip()
    {
        if (KOVMediaFixture::run(QStringLiteral("ffprobe"), {QStringLiteral("-version")}).isEmpty())
            QSKIP("ffprobe is not installed");
        const int w = 320, h = 240, n = 12;
        QList<QByteArray> frames;
        for (int i = 0; i < n; ++i)
            frames << jpeg(w, h, i);
        const QString path = m_dir->filePath(QStringLiteral("clip.avi"));
        QVERIFY(writeClip(path, w, h, frames));

        const QString probe = KOVMediaFixture::run(
            QStringLiteral("ffprobe"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-count_frames"), QStringLiteral("-show_entries"),
             QStringLiteral("stream=codec_name,codec_tag_string,width,height,nb_read_frames,r_frame_rate"),
             QStringLiteral("-of"), QStringLiteral("default=nw=1"), path});
        for (const QString& want : {QStringLiteral("codec_tag_string=MJPG"), QStringLiteral("codec_name=mjpeg"),
                                    QStringLiteral("width=320"), QStringLiteral("height=240"),
                                    QStringLiteral("r_frame_rate=15/1"), QStringLiteral("nb_read_frames=%1").arg(n)})
            QVERIFY2(probe.contains(want), qPrintable(probe));

        cv::VideoCapture cap(QFile::encodeName(path).toStdString());
        QVERIFY(cap.isOpened());
        cv::Mat m;
        int read = 0;
        while (cap.read(m) && m.cols == w && m.rows == h)
            ++read;
        QCOMPARE(read, n);
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestAvilib)
#include "tst_avilib.moc"
