#include "kovwavheader.h"

#include <QtEndian>
#include <cstring>

namespace {

const qint64 kCanonicalHeader = 44;

bool tagIs(const uchar* p, const char* tag)
{
    return std::memcmp(p, tag, 4) == 0;
}

} // namespace

QByteArray KOVWavHeader::build(int channels, int sampleRate, quint32 dataLength)
{
    uchar p[kCanonicalHeader] = {};
    const qint16 ch = static_cast<qint16>(channels);
    const quint16 align = static_cast<quint16>(ch * 16 / 8);
    std::memcpy(p, "RIFF", 4);
    qToLittleEndian<quint32>(dataLength + 36, p + 4);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, p + 16);
    qToLittleEndian<quint16>(1, p + 20);
    qToLittleEndian<quint16>(static_cast<quint16>(ch), p + 22);
    qToLittleEndian<quint32>(static_cast<quint32>(sampleRate), p + 24);
    qToLittleEndian<quint32>(static_cast<quint32>(align) * static_cast<quint32>(sampleRate), p + 28);
    qToLittleEndian<quint16>(align, p + 32);
    qToLittleEndian<quint16>(16, p + 34);
    std::memcpy(p + 36, "data", 4);
    qToLittleEndian<quint32>(dataLength, p + 40);
    return QByteArray(reinterpret_cast<const char*>(p), static_cast<int>(kCanonicalHeader));
}

bool KOVWavHeader::parse(const uchar* bytes, qint64 fileSize, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    *this = KOVWavHeader();
    if (!bytes || fileSize < kCanonicalHeader)
        return fail(QStringLiteral("shorter than a WAV header: %1 bytes").arg(fileSize));
    if (!tagIs(bytes, "RIFF") || !tagIs(bytes + 8, "WAVE"))
        return fail(QStringLiteral("not a RIFF WAVE file"));
    // Walk the chunks rather than assume offsets 22 and 40: a file with an
    // extra chunk would otherwise be read from the wrong place.
    bool haveFormat = false;
    for (qint64 at = 12; at + 8 <= fileSize;) {
        const uchar* c = bytes + at;
        const qint64 len = qFromLittleEndian<quint32>(c + 4);
        const qint64 body = at + 8;
        if (tagIs(c, "fmt ")) {
            if (len < 16 || len > fileSize - body)
                return fail(QStringLiteral("format chunk cut off"));
            const quint16 format = qFromLittleEndian<quint16>(c + 8);
            m_channels = qFromLittleEndian<quint16>(c + 10);
            m_sampleRate = static_cast<int>(qFromLittleEndian<quint32>(c + 12) & 0x7fffffff);
            const quint16 bits = qFromLittleEndian<quint16>(c + 22);
            if ((format != 1 && format != 0xFFFE) || bits != 16)
                return fail(QStringLiteral("not 16-bit PCM: format %1, %2 bits").arg(format).arg(bits));
            if (m_channels < 1)
                return fail(QStringLiteral("channel count 0"));
            haveFormat = true;
        } else if (tagIs(c, "data")) {
            if (!haveFormat)
                return fail(QStringLiteral("data before the format chunk"));
            m_dataOffset = body;
            m_dataLength = len;
            const qint64 frame = 2LL * m_channels;
            const qint64 held = (fileSize - body) / frame * frame;
            if (m_dataLength > held) {
                m_dataLength = held;
                m_clamped = true;
            }
            return true;
        }
        at = body + len + (len & 1);
    }
    return fail(haveFormat ? QStringLiteral("no data chunk") : QStringLiteral("no format chunk"));
}
