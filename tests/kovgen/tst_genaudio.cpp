// Generated WAV files: the canonical 44-byte header, the sample content, and
// what ffprobe makes of them.
#include "kovgen.h"
#include "kovtestutil.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>

using namespace KOVGen;

namespace {

quint32 u32(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData() + at));
}

quint16 u16(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData() + at));
}

} // namespace

class TestGenAudio : public QObject
{
    Q_OBJECT

private slots:
    void header_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("content");
        QTest::newRow("mono noise 1 s") << 1 << 1.0 << int(AudioContent::Noise);
        QTest::newRow("stereo bursts 0.5 s") << 2 << 0.5 << int(AudioContent::PdBursts);
        QTest::newRow("mono tone odd length") << 1 << 0.01234 << int(AudioContent::Tone);
        QTest::newRow("stereo silence") << 2 << 0.2 << int(AudioContent::Silence);
        QTest::newRow("no samples") << 1 << 0.0 << int(AudioContent::Noise);
        QTest::newRow("negative length gives no samples") << 2 << -1.0 << int(AudioContent::Tone);
    }
    void header()
    {
        QFETCH(int, channels);
        QFETCH(double, seconds);
        QFETCH(int, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("音频 a.wav"));
        WavOptions o;
        o.channels = channels;
        o.seconds = seconds;
        o.content = AudioContent(content);
        QVERIFY(writeWav(path, o));
        const QByteArray b = KOVTest::readAll(path);
        const quint32 n = seconds > 0 ? quint32(int(seconds * 96000)) : 0;
        const quint32 data = n * quint32(channels) * 2;
        QCOMPARE(quint32(b.size()), 44 + data);
        QCOMPARE(b.left(4), QByteArray("RIFF"));
        QCOMPARE(u32(b, 4), data + 36);
        QCOMPARE(b.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(u32(b, 16), 16u);
        QCOMPARE(u16(b, 20), quint16(1));
        QCOMPARE(u16(b, 22), quint16(channels));
        QCOMPARE(u32(b, 24), 96000u);
        QCOMPARE(u32(b, 28), quint32(96000 * channels * 2));
        QCOMPARE(u16(b, 32), quint16(channels * 2));
        QCOMPARE(u16(b, 34), quint16(16));
        QCOMPARE(b.mid(36, 4), QByteArray("data"));
        QCOMPARE(u32(b, 40), data);

        const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
        if (ffprobe.isEmpty() || n == 0)
            return;
        QProcess p;
        p.start(ffprobe, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_streams"), path});
        QVERIFY(p.waitForFinished(30000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(out.contains(QLatin1String("codec_name=pcm_s16le")), qPrintable(out));
        QVERIFY(out.contains(QLatin1String("sample_rate=96000")));
        QVERIFY(out.contains(QStringLiteral("channels=%1").arg(channels)));
        QVERIFY(out.contains(QStringLiteral("duration_ts=%1").arg(n)));
    }

    void unwritablePathFails()
    {
        QTemporaryDir dir;
        QVERIFY(!writeWav(dir.filePath(QStringLiteral("no/such/a.wav")), WavOptions()));
    }

    void contentLevels_data()
    {
        QTest::addColumn<int>("content");
        QTest::addColumn<double>("minPeak");
        QTest::addColumn<double>("maxPeak");
        QTest::newRow("silence is all zero") << int(AudioContent::Silence) << 0.0 << 0.0;
        QTest::newRow("tone peaks at its amplitude") << int(AudioContent::Tone) << 0.29 << 0.32;
        QTest::newRow("noise stays below full scale") << int(AudioContent::Noise) << 0.5 << 1.0;
    }
    void contentLevels()
    {
        QFETCH(int, content);
        QFETCH(double, minPeak);
        QFETCH(double, maxPeak);
        WavOptions o;
        o.content = AudioContent(content);
        o.amplitude = 0.3;
        o.noiseLevel = content == int(AudioContent::Tone) ? 0.0 : 0.002;
        o.seconds = 0.5;
        const QVector<qint16> s = makeSamples(o);
        int peak = 0;
        for (qint16 v : s)
            peak = qMax(peak, qAbs(int(v)));
        QVERIFY2(peak >= int(minPeak * 32767) && peak <= int(maxPeak * 32767), qPrintable(QString::number(peak)));
    }

    // Bursts sit at the asked phase of every mains period and ring at an
    // ultrasonic carrier; the noise between them stays at its floor.
    void burstsAtPhase_data()
    {
        QTest::addColumn<int>("mains");
        QTest::addColumn<double>("phase");
        QTest::newRow("50 Hz at 90 degrees") << 50 << 90.0;
        QTest::newRow("50 Hz at 270 degrees") << 50 << 270.0;
        QTest::newRow("60 Hz at 30 degrees") << 60 << 30.0;
        QTest::newRow("60 Hz at 180 degrees") << 60 << 180.0;
    }
    void burstsAtPhase()
    {
        QFETCH(int, mains);
        QFETCH(double, phase);
        WavOptions o;
        o.content = AudioContent::PdBursts;
        o.mainsHz = mains;
        o.phasesDeg = {phase};
        o.amplitude = 0.5;
        o.noiseLevel = 0.003;
        o.seconds = 0.2;
        const QVector<qint16> s = makeSamples(o);
        const int period = 96000 / mains;
        const int expect = int(period * phase / 360.0);
        for (int p = 0; (p + 1) * period <= s.size(); ++p) {
            int at = 0;
            for (int i = 1; i < period; ++i)
                if (qAbs(s[p * period + i]) > qAbs(s[p * period + at]))
                    at = i;
            QVERIFY2(qAbs(at - expect) <= 8, qPrintable(QStringLiteral("period %1: peak at %2").arg(p).arg(at)));
            QVERIFY(qAbs(s[p * period + at]) > 0.15 * 32767);
            // Carrier: the burst changes sign about every 1.2 samples (40 kHz).
            int signChanges = 0;
            for (int k = 0; k < 12; ++k)
                signChanges += (s[p * period + at + k] > 0) != (s[p * period + at + k + 1] > 0);
            QVERIFY(signChanges >= 8);
            // Half a period away, only the floor.
            const int quiet = (at + period / 2) % period;
            QVERIFY(qAbs(s[p * period + quiet]) < 0.03 * 32767);
        }
    }

    // What the pulse capture will make of the demo's discharge audio: after a
    // 25 kHz high-pass (two biquad sections), each mains period's peak stands
    // out of the RMS of its 4864-sample window by more than the margin for
    // its level, so every period counts as a pulse.
    void burstsStandOutAfterHighPass()
    {
        WavOptions o;
        o.content = AudioContent::PdBursts;
        o.amplitude = 0.5;
        o.noiseLevel = 0.003;
        o.seconds = 0.5;
        const QVector<qint16> pcm = makeSamples(o);
        QVector<double> x(pcm.size());
        for (int i = 0; i < x.size(); ++i)
            x[i] = pcm[i] / 32767.0;
        const double w0 = 2 * M_PI * 25000 / 96000;
        const double alpha = std::sin(w0) / (2 * 0.707);
        const double c = std::cos(w0);
        const double a0 = 1 + alpha;
        const double b[3] = {(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0};
        const double a[2] = {-2 * c / a0, (1 - alpha) / a0};
        for (int section = 0; section < 2; ++section) {
            double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
            for (double& v : x) {
                const double y = b[0] * v + b[1] * x1 + b[2] * x2 - a[0] * y1 - a[1] * y2;
                x2 = x1;
                x1 = v;
                y2 = y1;
                y1 = y;
                v = y;
            }
        }
        auto level = [](double v) { return v >= 1e-6 ? 20 * std::log10(v) + 120 : 0.0; };
        int periods = 0;
        for (int start = 0; start + 4864 <= x.size(); start += 1920, ++periods) {
            double sum = 0;
            double peak = 0;
            for (int i = start; i < start + 4864; ++i) {
                sum += x[i] * x[i];
                peak = qMax(peak, x[i]);
            }
            const double l = level(peak);
            const double d = l - level(std::sqrt(sum / 4864));
            const double margin = l < 42 ? 15 : l < 45 ? 13.5 : l < 48 ? 12 : l < 51 ? 10.5 : l < 54 ? 9 : 7.5;
            QVERIFY2(d > margin, qPrintable(QStringLiteral("window at %1: level %2, margin %3").arg(start).arg(l).arg(d)));
        }
        QVERIFY(periods >= 20);
    }

    void seededAndChannelsDiffer()
    {
        WavOptions o;
        o.channels = 2;
        o.seconds = 0.1;
        const QVector<qint16> a = makeSamples(o);
        QCOMPARE(makeSamples(o), a);
        o.seed = 2;
        QVERIFY(makeSamples(o) != a);
        // The second channel has its own noise, not a copy of the first.
        int same = 0;
        for (int i = 0; i + 1 < a.size(); i += 2)
            same += a[i] == a[i + 1];
        QVERIFY(same < a.size() / 20);
    }

    void clampsInsteadOfWrapping()
    {
        WavOptions o;
        o.content = AudioContent::Tone;
        o.amplitude = 3.0; // far beyond full scale
        o.noiseLevel = 0;
        o.seconds = 0.01;
        const QVector<qint16> s = makeSamples(o);
        int high = 0;
        for (qint16 v : s) {
            QVERIFY(v >= -32767 && v <= 32767);
            high += v == 32767;
        }
        QVERIFY(high > 0);
    }
};

QTEST_GUILESS_MAIN(TestGenAudio)
#include "tst_genaudio.moc"
