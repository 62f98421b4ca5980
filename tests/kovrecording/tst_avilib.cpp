// The clip container: the byte layout players rely on (held to a golden hex
// dump) with audio tracks and appends, and a reader that survives damaged
// files and hostile headers.
#include "avilib.h"
#include "kovaudiosave.h"
#include "kovgolden.h"
#include "kovmediafixtures.h"
#include "kovtable.h"
#include "kovtestutil.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <opencv2/videoio.hpp>

#include <sys/stat.h>

namespace {

QByteArray filled(int n, char seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = static_cast<char>(seed + i * 7);
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, reinterpret_cast<uchar*>(b.data()));
    return b;
}

void put(QByteArray& b, int at, quint32 v) { b.replace(at, 4, le32(v)); }

QStringList hex(const QString& name, const QByteArray& b)
{
    QStringList out;
    for (int i = 0; i < b.size(); i += 32)
        out << name + QStringLiteral(" %1 ").arg(i) + QString::fromLatin1(b.mid(i, 32).toHex());
    return out;
}

avi_t* openClip(const QString& path, int w, int h, double fps = 15.0, const char* codec = "MJPG")
{
    avi_t* a = AVI_open_output_file(QFile::encodeName(path).constData());
    if (a)
        AVI_set_video(a, w, h, fps, codec);
    return a;
}

bool writeClip(const QString& path, int w, int h, const QList<QByteArray>& frames)
{
    avi_t* a = openClip(path, w, h);
    for (const QByteArray& f : frames)
        if (!a || AVI_write_frame(a, f.constData(), f.size(), 1) != 0)
            return false;
    return AVI_close(a) == 0;
}

QByteArray chunk(const char* tag, const QByteArray& body)
{
    return QByteArray(tag, 4) + le32(quint32(body.size())) + body + QByteArray(body.size() % 2, '\0');
}

// One 4-byte video frame after one video stream and `streams` audio stream
// lists of `formats` format chunks each.
QByteArray hostileClip(int streams, int formats)
{
    QByteArray strh(56, '\0'), bitmap = le32(40) + le32(16) + le32(8) + QByteArray(28, '\0');
    put(strh, 20, 1);
    put(strh, 24, 25);
    QByteArray hdrl = chunk("avih", QByteArray(56, '\0'))
                      + chunk("LIST", "strl" + chunk("strh", QByteArray("vids") + strh.mid(4)) + chunk("strf", bitmap));
    for (int s = 0; s < streams; ++s) {
        QByteArray body = chunk("strh", QByteArray("auds") + strh.mid(4));
        for (int f = 0; f < formats; ++f)
            body += chunk("strf", QByteArray("\1\0", 2) + char(1 + f % 2) + QByteArray("\0", 1) + le32(8000)
                                      + QByteArray(6, '\0') + QByteArray("\x10\0", 2));
        hdrl += chunk("LIST", "strl" + body);
    }
    const QByteArray riff = "AVI " + chunk("LIST", "hdrl" + hdrl) + chunk("LIST", "movi" + chunk("00db", "\xff\xd8\xff\xd9"));
    return "RIFF" + le32(quint32(riff.size())) + riff;
}

} // namespace

class TestAvilib : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        AVI_errno = 0;
    }

    // Three frames over a longer old file (only the clip may remain), and a
    // clip of eight audio tracks: the header counts only video frames as
    // frames and gives each stream its length in sample frames.
    void layoutHeldToGolden()
    {
        const QString path = m_dir->filePath(QStringLiteral("clip.avi"));
        QVERIFY(KOVMediaFixture::writeFile(path, QByteArray(100000, 'x')));
        QVERIFY(writeClip(path, 1024, 600, {filled(1001, 1), filled(1000, 2), filled(1002, 3)}));
        QStringList lines = hex(QStringLiteral("video"), KOVTest::readAll(path));

        avi_t* a = openClip(path, 32, 32);
        for (int t = 0; t < 8; ++t)
            QCOMPARE(AVI_set_audio(a, 1 + t % 2, 48000, t % 3 ? 16 : 8, WAVE_FORMAT_PCM, 0), 0);
        // A ninth track used to end the process.
        QCOMPARE(AVI_set_audio(a, 2, 48000, 16, WAVE_FORMAT_PCM, 0), -1);
        QCOMPARE(AVI_set_audio_track(a, 8), -1);
        const QByteArray s1 = filled(400, 3), s2 = filled(123, 4), s3 = filled(57, 5);
        const auto audio = [a](int track, const QByteArray& b) {
            return AVI_set_audio_track(a, track) == 0 && AVI_write_audio(a, b.constData(), b.size()) == 0;
        };
        QVERIFY(AVI_write_frame(a, filled(77, 1).constData(), 77, 1) == 0 && audio(2, s1)
                && AVI_write_frame(a, filled(64, 2).constData(), 64, 0) == 0 && audio(0, filled(33, 6)) && audio(5, filled(96, 7))
                && audio(2, s2) && AVI_append_audio(a, s3.constData(), s3.size()) == 0 && AVI_dup_frame(a) == 0 && AVI_close(a) == 0);
        lines << hex(QStringLiteral("audio"), KOVTest::readAll(path));
        // Empty clips' headers: a zero code for RGB24, rates below 0.001 fps,
        // NTSC's rounded, codes cut to four characters.
        const QList<QPair<double, const char*>> headers{{15.0, "RGB24"}, {0.0009, "MJPG"}, {29.97, "mjpg"}, {25.0, "XVIDEO"}};
        for (const auto& h : headers) {
            const QString header = m_dir->filePath(QStringLiteral("h.avi"));
            QCOMPARE(AVI_close(openClip(header, 64, 48, h.first, h.second)), 0);
            lines << hex(QLatin1String(h.second), KOVTest::readAll(header));
        }
        KOV_GOLDEN(QStringLiteral("kovrecording/golden/clips.txt"), lines);

        avi_t* r = AVI_open_input_file(QFile::encodeName(path).constData(), 0);
        QVERIFY(r);
        QCOMPARE(AVI_video_frames(r), 3L);
        QCOMPARE(AVI_set_audio_track(r, 2), 0);
        QByteArray buf(1000, '\0');
        QCOMPARE(AVI_read_audio(r, buf.data(), 1000), long(580));
        QCOMPARE(buf.left(580), s1 + s2 + s3);
        QCOMPARE(AVI_frame_size(r, 2), 64L); // the duplicate of the second frame
        int key = -1;
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), 77L);
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), 64L);
        QCOMPARE(key, 0);
        AVI_close(r);
        // Scanning the movi list finds the chunks without the index.
        r = AVI_open_input_file(QFile::encodeName(path).constData(), 1);
        QCOMPARE(AVI_video_frames(r), 2L);
        AVI_close(r);
    }

    void damagedFilesFailCleanly_data()
    {
        KOVTable::columns<QByteArray, int, int>({"bytes", "error", "frames"}); // error 0: opens with that many frames
        QTemporaryDir dir;
        writeClip(dir.filePath(QStringLiteral("c.avi")), 16, 16, {filled(1001, 1), filled(1000, 2), filled(1002, 3)});
        const QByteArray clip = KOVTest::readAll(dir.filePath(QStringLiteral("c.avi")));
        // The clip with 32-bit fields overwritten: pairs of offset and value.
        const auto with = [](QByteArray b, std::initializer_list<std::pair<int, quint32>> fields) {
            for (const auto& f : fields)
                put(b, f.first, f.second);
            return b;
        };
        QTest::newRow("nonsense") << filled(3000, 9) << AVI_ERR_NO_AVI << 0;
        QTest::newRow("riff header only") << clip.left(12) << AVI_ERR_NO_HDRL << 0;
        QTest::newRow("header list claims more than the file") << with(clip, {{16, 0xFFFFFF00u}}) << AVI_ERR_NO_HDRL << 0;
        QTest::newRow("cut inside the header") << clip.left(1000) << AVI_ERR_NO_MOVI << 0;
        QTest::newRow("no video stream") << QByteArray(clip).replace(108, 4, "txts") << AVI_ERR_NO_VIDS << 0;
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
        QCOMPARE(QPoint(r == nullptr, r ? 0 : AVI_errno), QPoint(error != 0, error));
        if (!r)
            return;
        QCOMPARE(AVI_video_frames(r), long(frames));
        // Every indexed frame lies inside the file.
        QByteArray buf(static_cast<int>(AVI_max_video_chunk(r)) + 1, '\0');
        int key;
        for (int i = 0; i < frames; ++i)
            QVERIFY(AVI_read_frame(r, buf.data(), &key) >= 0);
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), -1L);
        AVI_close(r);
    }

    // Headers nobody sane writes: the reader keeps at most its eight tracks,
    // one per stream with the stream's first format, and still reads the video.
    void hostileStreamLists_data()
    {
        KOVTable::columns<int, int, int>({"streams", "formats", "tracks"});
        QTest::newRow("one stream, forty formats") << 1 << 40 << 1;
        QTest::newRow("eight streams, two formats each") << 8 << 2 << 8;
        QTest::newRow("twelve streams") << 12 << 1 << 8;
        QTest::newRow("stream without format") << 1 << 0 << 0;
    }
    void hostileStreamLists()
    {
        QFETCH(int, streams);
        QFETCH(int, formats);
        QFETCH(int, tracks);
        const QString path = m_dir->filePath(QStringLiteral("hostile.avi"));
        QVERIFY(KOVMediaFixture::writeFile(path, hostileClip(streams, formats)));
        avi_t* a = AVI_open_input_file(QFile::encodeName(path).constData(), 1);
        QVERIFY(a && AVI_audio_tracks(a) == tracks);
        for (int t = 0; t < tracks; ++t)
            QCOMPARE(AVI_set_audio_track(a, t) + AVI_audio_channels(a), 1);
        QCOMPARE(AVI_set_audio_track(a, tracks), -1);
        QCOMPARE(QPoint(AVI_video_width(a), int(AVI_video_frames(a))), QPoint(16, 1));
        char frame[8] = {};
        int key = 0;
        QCOMPARE(AVI_read_frame(a, frame, &key), 4L);
        QCOMPARE(QByteArray(frame, 4), QByteArray("\xff\xd8\xff\xd9", 4));
        QCOMPARE(AVI_close(a), 0);
    }

    // A clip is made as the files beside it (its sound, the locked frames):
    // as the umask allows, not for its writer alone, and as a new file, not
    // through a link left under its name.
    void clipModeAsOtherFiles_data()
    {
        KOVTable::columns<int, bool>({"mask", "linked"}); // the umask
        QTest::newRow("umask 022") << 022 << false;
        QTest::newRow("umask 027") << 027 << false;
        QTest::newRow("umask 027, a link under the name") << 027 << true;
    }
    void clipModeAsOtherFiles()
    {
        QFETCH(int, mask);
        QFETCH(bool, linked);
        const QString clip = m_dir->filePath(QStringLiteral("clip.avi")), wav = m_dir->filePath(QStringLiteral("clip.wav"));
        const QString outside = m_dir->filePath(QStringLiteral("outside.bin"));
        QVERIFY(KOVMediaFixture::writeFile(outside, "precious"));
        QVERIFY(!linked || QFile::link(outside, clip));
        const mode_t before = ::umask(mode_t(mask));
        const bool written = writeClip(clip, 8, 8, {QByteArray("\xff\xd8\xff\xd9", 4)});
        {
            const std::vector<short> samples = KOVMediaFixture::ramp(100);
            KOVAudioSave save(wav, 1, 96000, false);
            save.write(samples.data(), nullptr, 100);
        }
        ::umask(before);
        QVERIFY(written && QFileInfo(wav).size() > 44);
        struct stat c = {}, w = {};
        QVERIFY(::lstat(QFile::encodeName(clip).constData(), &c) == 0 && ::stat(QFile::encodeName(wav).constData(), &w) == 0);
        QVERIFY(S_ISREG(c.st_mode));
        QCOMPARE(c.st_mode & 0777, w.st_mode & 0777);
        QCOMPARE(int(c.st_mode & 0777), 0666 & ~mask);
        QCOMPARE(KOVTest::readAll(outside), QByteArray("precious"));
    }

    void playersReadTheClip()
    {
        if (KOVMediaFixture::run(QStringLiteral("ffprobe"), {QStringLiteral("-version")}).isEmpty())
            QSKIP("ffprobe is not installed");
        QList<QByteArray> frames;
        for (int i = 0; i < 12; ++i) {
            QImage img(320, 240, QImage::Format_RGB32);
            img.fill(QColor::fromHsv((i * 36) % 360, 200, 220));
            frames << QByteArray();
            QBuffer buf(&frames.last());
            buf.open(QIODevice::WriteOnly);
            img.save(&buf, "JPG", 85);
        }
        const QString path = m_dir->filePath(QStringLiteral("clip.avi"));
        QVERIFY(writeClip(path, 320, 240, frames));
        const QString probe = KOVMediaFixture::run(QStringLiteral("ffprobe"),
            {"-v", "error", "-count_frames", "-show_entries",
             "stream=codec_name,codec_tag_string,width,height,nb_read_frames,r_frame_rate", "-of", "default=nw=1", path});
        for (const char* want : {"codec_tag_string=MJPG", "codec_name=mjpeg", "width=320", "height=240",
                                 "r_frame_rate=15/1", "nb_read_frames=12"})
            QVERIFY2(probe.contains(QLatin1String(want)), qPrintable(probe));
        cv::VideoCapture cap(QFile::encodeName(path).toStdString());
        cv::Mat m;
        int read = 0;
        while (cap.read(m) && m.cols == 320 && m.rows == 240)
            ++read;
        QCOMPARE(read, 12);
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestAvilib)
#include "tst_avilib.moc"
