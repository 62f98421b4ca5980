// Item audio: 16-bit PCM WAV at 96000 Hz with the canonical 44-byte header.
#include "kovgen.h"
#include "kovgenrandom.h"

#include <QFile>
#include <QtEndian>

#include <cmath>

namespace KOVGen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// The imager's scale: float x becomes int(x * 32767), truncated.
qint16 toPcm(double x)
{
    const double v = x * 32767.0;
    if (v >= 32767.0)
        return 32767;
    if (v <= -32767.0)
        return -32767;
    return qint16(v);
}

// A partial-discharge pulse as the microphone hears it: a short ultrasound
// ring-down, 0.1 ms time constant, at each burst phase of every mains period.
void addBursts(QVector<double>& x, const WavOptions& o, KOVGenRandom& r)
{
    const int rate = o.sampleRate;
    const double period = double(rate) / (o.mainsHz == 60 ? 60 : 50);
    const double tau = 0.0001 * rate;
    const int len = int(6 * tau) + 1;
    for (int p = 0; p * period < x.size(); ++p) {
        for (double phase : o.phasesDeg) {
            const int start = int(p * period + period * phase / 360.0) + r.range(-3, 3);
            const double amp = o.amplitude * r.uniform(0.6, 1.0);
            for (int k = 0; k < len; ++k) {
                const int i = start + k;
                if (i < 0 || i >= x.size())
                    continue;
                x[i] += amp * std::exp(-k / tau) * std::sin(kTwoPi * o.burstHz * k / rate);
            }
        }
    }
}

QVector<double> channel(const WavOptions& o, int n, KOVGenRandom r)
{
    QVector<double> x(n, 0.0);
    const double noise = o.content == AudioContent::Noise ? o.amplitude : o.noiseLevel;
    if (o.content != AudioContent::Silence)
        for (int i = 0; i < n; ++i)
            x[i] = noise * r.gauss();
    if (o.content == AudioContent::Tone)
        for (int i = 0; i < n; ++i)
            x[i] += o.amplitude * std::sin(kTwoPi * o.toneHz * i / o.sampleRate);
    if (o.content == AudioContent::PdBursts)
        addBursts(x, o, r);
    return x;
}

void putU32(QByteArray& b, int at, quint32 v)
{
    qToLittleEndian(v, reinterpret_cast<uchar*>(b.data() + at));
}

void putU16(QByteArray& b, int at, quint16 v)
{
    qToLittleEndian(v, reinterpret_cast<uchar*>(b.data() + at));
}

} // namespace

QVector<qint16> makeSamples(const WavOptions& o)
{
    const int channels = qBound(1, o.channels, 2);
    const int n = o.seconds > 0 && o.sampleRate > 0 ? int(o.seconds * o.sampleRate) : 0;
    KOVGenRandom root(o.seed);
    QVector<qint16> out(n * channels);
    for (int c = 0; c < channels; ++c) {
        // The second microphone hears the same source a little weaker and
        // its own noise.
        const QVector<double> x = channel(o, n, root.fork(quint64(c) + 1));
        const double gain = c == 0 ? 1.0 : 0.6;
        for (int i = 0; i < n; ++i)
            out[i * channels + c] = toPcm(gain * x[i]);
    }
    return out;
}

QByteArray wavBytes(const QVector<qint16>& samples, int channels, int sampleRate)
{
    const quint32 dataLen = quint32(samples.size()) * 2;
    QByteArray b(44, '\0');
    b.replace(0, 4, "RIFF");
    putU32(b, 4, dataLen + 36);
    b.replace(8, 4, "WAVE");
    b.replace(12, 4, "fmt ");
    putU32(b, 16, 16);
    putU16(b, 20, 1);
    putU16(b, 22, quint16(channels));
    putU32(b, 24, quint32(sampleRate));
    const quint16 align = quint16(channels * 16 / 8);
    putU32(b, 28, quint32(align) * quint32(sampleRate));
    putU16(b, 32, align);
    putU16(b, 34, 16);
    b.replace(36, 4, "data");
    putU32(b, 40, dataLen);
    b.reserve(44 + int(dataLen));
    for (qint16 s : samples) {
        const quint16 u = quint16(s);
        b.append(char(u & 0xFF)).append(char(u >> 8));
    }
    return b;
}

bool writeWav(const QString& path, const WavOptions& o)
{
    const QByteArray bytes = wavBytes(makeSamples(o), qBound(1, o.channels, 2), o.sampleRate);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

} // namespace KOVGen
