// Appending audio to the last chunk of a clip: only audio of the current track
// may grow; anything else would write into a video frame or over the chunks
// after it. Every script is read back whole, frames and both audio tracks.
#include "avilib.h"

#include <QTemporaryDir>
#include <QtTest>

class TstAviAppend : public QObject
{
    Q_OBJECT
private slots:
    void appendOnlyToAudio_data()
    {
        // Steps: F a video frame, D a duplicate of the last frame, A audio on
        // the current track, 0 and 1 choose the track, + an append. The last
        // append's result is checked; earlier ones must succeed.
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("after audio") << "FA+" << true;
        QTest::newRow("twice after audio") << "FA++" << true;
        QTest::newRow("odd lengths after audio") << "AA+" << true;
        QTest::newRow("after a video frame") << "AF+" << false;
        QTest::newRow("after a duplicated frame") << "FAD+" << false;
        QTest::newRow("after another track's audio") << "FA1+" << false;
        QTest::newRow("on the track that wrote last") << "F1A0A+" << true;
        QTest::newRow("nothing written") << "+" << false;
    }
    void appendOnlyToAudio()
    {
        QFETCH(QString, script);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("clip.avi")));
        avi_t* a = AVI_open_output_file(path.constData());
        QVERIFY(a);
        AVI_set_video(a, 32, 32, 15.0, "MJPG");
        QCOMPARE(AVI_set_audio(a, 1, 96000, 16, WAVE_FORMAT_PCM, 0), 0);
        QCOMPARE(AVI_set_audio(a, 1, 96000, 16, WAVE_FORMAT_PCM, 0), 0);
        QCOMPARE(AVI_set_audio_track(a, 0), 0);

        QList<QByteArray> frames;
        QByteArray audio[2];
        int track = 0;
        int result = 0;
        for (int i = 0; i < script.size(); ++i) {
            const char step = script.at(i).toLatin1();
            QByteArray data(40 + i % 7, '\0'); // odd and even lengths
            for (int k = 0; k < data.size(); ++k)
                data[k] = char(i * 31 + k * 7);
            if (step == 'F') {
                QCOMPARE(AVI_write_frame(a, data.constData(), data.size(), 1), 0);
                frames << data;
            } else if (step == 'D') {
                QCOMPARE(AVI_dup_frame(a), 0);
                frames << frames.last();
            } else if (step == 'A') {
                QCOMPARE(AVI_write_audio(a, data.constData(), data.size()), 0);
                audio[track] += data;
            } else if (step == '0' || step == '1') {
                track = step - '0';
                QCOMPARE(AVI_set_audio_track(a, track), 0);
            } else {
                AVI_errno = 0;
                result = AVI_append_audio(a, data.constData(), data.size());
                if (result == 0)
                    audio[track] += data;
                else
                    QCOMPARE(AVI_errno, AVI_ERR_NOT_PERM);
                QVERIFY(result == 0 || i + 1 == script.size());
            }
        }
        QCOMPARE(result == 0, accepted);
        QCOMPARE(AVI_close(a), 0);

        // Read back through the index: every frame and audio byte where it was written.
        avi_t* r = AVI_open_input_file(path.constData(), 0);
        QVERIFY(r);
        QCOMPARE(AVI_video_frames(r), long(frames.size()));
        QByteArray buf(1024, '\0');
        for (const QByteArray& f : qAsConst(frames)) {
            int key = -1;
            QCOMPARE(AVI_read_frame(r, buf.data(), &key), long(f.size()));
            QCOMPARE(buf.left(f.size()), f);
        }
        for (int t = 0; t < 2; ++t) {
            QCOMPARE(AVI_set_audio_track(r, t), 0);
            QCOMPARE(AVI_audio_bytes(r), long(audio[t].size()));
            QCOMPARE(buf.left(int(qMax(0L, AVI_read_audio(r, buf.data(), buf.size())))), audio[t]);
        }
        AVI_close(r);
    }
};

QTEST_GUILESS_MAIN(TstAviAppend)
#include "tst_aviappend.moc"
