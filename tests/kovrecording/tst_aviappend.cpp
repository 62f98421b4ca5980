// Appending audio to the last chunk of a clip: only audio of the current track
// may grow; anything else would write into a video frame or over the chunks
// after it. Every script is read back whole, frames and both audio tracks.
#include "avilib.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray filled(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = static_cast<char>(seed * 31 + i * 7);
    return b;
}

struct Expected
{
    QList<QByteArray> frames;
    QByteArray audio[2];
};

} // namespace

class TstAviAppend : public QObject
{
    Q_OBJECT
private slots:
    void appendOnlyToAudio_data();
    void appendOnlyToAudio();
};

void TstAviAppend::appendOnlyToAudio_data()
{
    // Script steps: F a video frame, D a duplicate of the last frame, A audio
    // on the current track, 0 and 1 choose the track, + an append. The last
    // append's result is checked; earlier ones must succeed.
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("after audio") << "FA+" << true;
    QTest::newRow("twice after audio") << "FA++" << true;
    QTest::newRow("odd lengths after audio") << "AA+" << true;
    QTest::newRow("after a video frame") << "AF+" << false;
    QTest::newRow("after a duplicated frame") << "FAD+" << false;
    QTest::newRow("after another track's audio") << "FA1+" << false;
    QTest::newRow("back on the track that wrote last") << "F1A0A1+" << false;
    QTest::newRow("on the track that wrote last") << "F1A0A+" << true;
    QTest::newRow("nothing written") << "+" << false;
}

void TstAviAppend::appendOnlyToAudio()
{
    QFETCH(QString, script);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("clip.avi")));

    avi_t* a = AVI_open_output_file(path.constData());
    QVERIFY(a);
    AVI_set_video(a, 32, 32, 15.0, "MJPG");
    QCOMPARE(AVI_set_audio(a, 1, 96000, 16, WAVE_FORMAT_PCM, 0), 0);
    QCOMPARE(AVI_set_audio(a, 1, 96000, 16, WAVE_FORMAT_PCM, 0), 0);
    QCOMPARE(AVI_set_audio_track(a, 0), 0);

    Expected want;
    int track = 0;
    int seed = 1;
    int lastResult = 0;
    for (int i = 0; i < script.size(); ++i) {
        const QChar step = script.at(i);
        const QByteArray data = filled(40 + seed % 7, seed); // odd and even lengths
        ++seed;
        if (step == QLatin1Char('F')) {
            QCOMPARE(AVI_write_frame(a, data.constData(), data.size(), 1), 0);
            want.frames << data;
        } else if (step == QLatin1Char('D')) {
            QCOMPARE(AVI_dup_frame(a), 0);
            want.frames << want.frames.last();
        } else if (step == QLatin1Char('A')) {
            QCOMPARE(AVI_write_audio(a, data.constData(), data.size()), 0);
            want.audio[track] += data;
        } else if (step == QLatin1Char('0') || step == QLatin1Char('1')) {
            track = step.digitValue();
            QCOMPARE(AVI_set_audio_track(a, track), 0);
        } else if (step == QLatin1Char('+')) {
            AVI_errno = 0;
            lastResult = AVI_append_audio(a, data.constData(), data.size());
            if (lastResult == 0)
                want.audio[track] += data;
            else
                QCOMPARE(AVI_errno, AVI_ERR_NOT_PERM);
            if (i + 1 < script.size())
                QCOMPARE(lastResult, 0);
        }
    }
    QCOMPARE(lastResult == 0, accepted);
    QCOMPARE(AVI_close(a), 0);

    // Read back through the index: every frame and every audio byte where it
    // was written.
    avi_t* r = AVI_open_input_file(path.constData(), 0);
    QVERIFY(r);
    QCOMPARE(AVI_video_frames(r), long(want.frames.size()));
    for (const QByteArray& f : qAsConst(want.frames)) {
        QByteArray buf(256, '\0');
        int key = -1;
        QCOMPARE(AVI_read_frame(r, buf.data(), &key), long(f.size()));
        QCOMPARE(buf.left(f.size()), f);
    }
    for (int t = 0; t < 2; ++t) {
        QCOMPARE(AVI_set_audio_track(r, t), 0);
        QCOMPARE(AVI_audio_bytes(r), long(want.audio[t].size()));
        QByteArray buf(1024, '\0');
        const long n = AVI_read_audio(r, buf.data(), buf.size());
        QCOMPARE(buf.left(int(qMax(0L, n))), want.audio[t]);
    }
    AVI_close(r);
}

QTEST_GUILESS_MAIN(TstAviAppend)
#include "tst_aviappend.moc"
