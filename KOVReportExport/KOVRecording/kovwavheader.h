#ifndef KOVWAVHEADER_H
#define KOVWAVHEADER_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The WAV header as the imager and our clip writer store it (canonical 44
// bytes), and a reader of a mapped file that trusts none of its numbers.
class KOVWavHeader
{
public:
    // The 44-byte header of 16-bit PCM with dataLength bytes of samples.
    static QByteArray build(int channels, int sampleRate, quint32 dataLength);

    // Finds the format and data chunks in the first fileSize bytes. Refuses
    // (false, with the reason in error) anything that is not 16-bit PCM with
    // at least one channel; a data length beyond the file is cut to the whole
    // sample frames the file holds, and clamped() tells so.
    bool parse(const uchar* bytes, qint64 fileSize, QString* error);

    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }
    qint64 dataOffset() const { return m_dataOffset; }
    qint64 dataLength() const { return m_dataLength; }
    bool clamped() const { return m_clamped; }

private:
    int m_channels = 0;
    int m_sampleRate = 0;
    qint64 m_dataOffset = 0;
    qint64 m_dataLength = 0;
    bool m_clamped = false;
};

#endif // KOVWAVHEADER_H
