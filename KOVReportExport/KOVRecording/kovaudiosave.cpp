#include "kovaudiosave.h"

#include "kovnewfile.h"
#include "kovwavheader.h"

#include <QByteArray>
#include <QDebug>
#include <algorithm>

class KOVAudioSavePrivate
{
public:
    QString m_path;
    int m_fd = -1;
    int m_chNumber = 0;
    int m_sample = 0;
    quint32 m_length = 0;
    bool m_fifomode = false;
    QByteArray m_data;
};

KOVAudioSave::KOVAudioSave(QString path, int channels, int sampleRate, bool fifomode)
    : d(new KOVAudioSavePrivate)
{
    d->m_path = path;
    d->m_chNumber = channels;
    d->m_sample = sampleRate;
    d->m_fifomode = fifomode;
}

KOVAudioSave::~KOVAudioSave()
{
    // As a new file: a link left under the clip's name must not carry the
    // samples into a file elsewhere.
    const QByteArray header = KOVWavHeader::build(d->m_chNumber, d->m_sample, d->m_length);
    QString why;
    if (!KOVNewFile::write(d->m_path, QList<QByteArray> { header, d->m_data }, &why))
        qWarning() << "KOVAudioSave: writing" << d->m_path << "failed:" << why;
    delete d;
}

void KOVAudioSave::write(const short* ch1, const short* ch2, int n)
{
    const int channels = d->m_chNumber;
    if (n <= 0 || !ch1 || (channels == 2 && !ch2))
        return;
    if (channels != 1 && channels != 2) {
        qWarning() << "KOVAudioSave: no samples stored for" << channels << "channels";
        return;
    }
    const qint64 bytes = qint64(n) * channels * 2;
    // The RIFF size field is 32-bit and holds the data length plus 36; a
    // QByteArray holds at most 2 GiB.
    if (bytes + d->m_length > 0x7fffffffLL - 36) {
        qWarning() << "KOVAudioSave: clip too long for a WAV file";
        return;
    }
    const int old = d->m_data.size();
    d->m_data.resize(old + static_cast<int>(bytes));
    short* out = reinterpret_cast<short*>(d->m_data.data() + old);
    if (channels == 1) {
        std::copy(ch1, ch1 + n, out);
    } else {
        for (int i = 0; i < n; ++i) {
            out[2 * i] = ch1[i];
            out[2 * i + 1] = ch2[i];
        }
    }
    d->m_length += static_cast<quint32>(bytes);
}

int KOVAudioSave::channelNumber() const
{
    return d->m_chNumber;
}

quint32 KOVAudioSave::audioLength() const
{
    return d->m_length;
}
