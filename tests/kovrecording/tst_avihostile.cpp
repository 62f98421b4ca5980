// Clip headers nobody sane writes: stream lists with many format chunks, more
// audio streams than the reader keeps. The reader must keep at most its eight
// tracks, one per stream, and stay able to read the video.
#include "avilib.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, reinterpret_cast<uchar*>(b.data()));
    return b;
}

QByteArray chunk(const char* tag, const QByteArray& body)
{
    return QByteArray(tag, 4) + le32(quint32(body.size())) + body + (body.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

QByteArray list(const char* type, const QByteArray& body)
{
    return chunk("LIST", QByteArray(type, 4) + body);
}

QByteArray streamHeader(const char* kind)
{
    QByteArray h(56, '\0');
    h.replace(0, 4, kind);
    h.replace(20, 4, le32(1)); // scale
    h.replace(24, 4, le32(25)); // rate
    return h;
}

QByteArray audioFormat(quint16 channels)
{
    QByteArray f(16, '\0');
    f[0] = 1; // PCM
    f[2] = char(channels);
    f.replace(4, 4, le32(8000));
    f[14] = 16;
    return f;
}

// A clip of one 4-byte video frame after one video stream and `streams`
// audio stream lists of `formats` format chunks each.
QByteArray clip(int streams, int formats)
{
    QByteArray bitmap(40, '\0');
    bitmap.replace(0, 4, le32(40));
    bitmap.replace(4, 4, le32(16));
    bitmap.replace(8, 4, le32(8));
    QByteArray hdrl = chunk("avih", QByteArray(56, '\0'))
                      + list("strl", chunk("strh", streamHeader("vids")) + chunk("strf", bitmap));
    for (int s = 0; s < streams; ++s) {
        QByteArray body = chunk("strh", streamHeader("auds"));
        for (int f = 0; f < formats; ++f)
            body += chunk("strf", audioFormat(quint16(1 + f % 2)));
        hdrl += list("strl", body);
    }
    const QByteArray movi = list("movi", chunk("00db", QByteArray("\xff\xd8\xff\xd9", 4)));
    const QByteArray riff = QByteArray("AVI ") + list("hdrl", hdrl) + movi;
    return QByteArray("RIFF") + le32(quint32(riff.size())) + riff;
}

} // namespace

class TestAviHostile : public QObject
{
    Q_OBJECT

private slots:
    void tracksStayWithinTheLimit_data()
    {
        QTest::addColumn<int>("streams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<int>("tracks");
        QTest::newRow("one stream, forty formats") << 1 << 40 << 1;
        QTest::newRow("eight streams, two formats each") << 8 << 2 << 8;
        QTest::newRow("twelve streams") << 12 << 1 << 8;
        QTest::newRow("stream without format") << 1 << 0 << 0;
    }
    void tracksStayWithinTheLimit()
    {
        QFETCH(int, streams);
        QFETCH(int, formats);
        QFETCH(int, tracks);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hostile.avi"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(clip(streams, formats));
        f.close();

        avi_t* a = AVI_open_input_file(QFile::encodeName(path).constData(), 1);
        QVERIFY(a);
        QCOMPARE(AVI_audio_tracks(a), tracks);
        // The first format of a stream is the one kept.
        for (int t = 0; t < tracks; ++t) {
            QCOMPARE(AVI_set_audio_track(a, t), 0);
            QCOMPARE(AVI_audio_channels(a), 1);
        }
        QCOMPARE(AVI_set_audio_track(a, tracks), -1);
        QCOMPARE(AVI_video_width(a), 16);
        QCOMPARE(AVI_video_frames(a), 1L);
        char frame[8] = {};
        int key = 0;
        QCOMPARE(AVI_read_frame(a, frame, &key), 4L);
        QCOMPARE(QByteArray(frame, 4), QByteArray("\xff\xd8\xff\xd9", 4));
        QCOMPARE(AVI_close(a), 0);
    }
};

QTEST_GUILESS_MAIN(TestAviHostile)
#include "tst_avihostile.moc"
