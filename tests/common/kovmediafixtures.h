#ifndef KOVMEDIAFIXTURES_H
#define KOVMEDIAFIXTURES_H

// Inputs for the media tests, made here: WAV bytes with honest or lying
// headers and numbered samples.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QtEndian>
#include <vector>

namespace KOVMediaFixture {

// 16-bit PCM WAV with a canonical header; claimedData overrides the data
// length field and channelField the channel count (to make lying headers).
inline QByteArray wav(const std::vector<short>& interleaved, int channels, int rate = 96000,
                      qint64 claimedData = -1, int channelField = -1)
{
    const quint32 data = static_cast<quint32>(interleaved.size() * 2);
    QByteArray b(44, '\0');
    uchar* p = reinterpret_cast<uchar*>(b.data());
    memcpy(p, "RIFF", 4);
    qToLittleEndian<quint32>(data + 36, p + 4);
    memcpy(p + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, p + 16);
    qToLittleEndian<quint16>(1, p + 20);
    qToLittleEndian<quint16>(static_cast<quint16>(channelField >= 0 ? channelField : channels), p + 22);
    qToLittleEndian<quint32>(static_cast<quint32>(rate), p + 24);
    qToLittleEndian<quint32>(static_cast<quint32>(rate * channels * 2), p + 28);
    qToLittleEndian<quint16>(static_cast<quint16>(channels * 2), p + 32);
    qToLittleEndian<quint16>(16, p + 34);
    memcpy(p + 36, "data", 4);
    qToLittleEndian<quint32>(claimedData >= 0 ? static_cast<quint32>(claimedData) : data, p + 40);
    b.append(reinterpret_cast<const char*>(interleaved.data()), static_cast<int>(data));
    return b;
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Samples numbered so every position is recognisable: value = (i * step + offset) wrapped to 16 bits.
inline std::vector<short> ramp(size_t n, int step = 1, int offset = 0)
{
    std::vector<short> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<short>((static_cast<long>(i) * step + offset) % 32768);
    return v;
}

// Runs a program and returns its standard output; empty when it is missing.
inline QString run(const QString& program, const QStringList& args, QString* err = nullptr, int* exitCode = nullptr)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return QString();
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace KOVMediaFixture

#endif // KOVMEDIAFIXTURES_H
