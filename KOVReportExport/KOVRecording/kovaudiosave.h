#ifndef KOVAUDIOSAVE_H
#define KOVAUDIOSAVE_H

#include <QObject>
#include <QString>

class KOVAudioSavePrivate;

// Collects 16-bit samples and writes them as a canonical 44-byte-header WAV
// file when destroyed; the file does not exist before that.
class KOVAudioSave : public QObject
{
    Q_OBJECT

public:
    KOVAudioSave(QString path, int channels, int sampleRate, bool fifomode);
    ~KOVAudioSave() override;

    // Appends n samples per channel: ch1 alone for one channel, ch1 and ch2
    // interleaved for two. A count of 0 or less, or a missing buffer, adds
    // nothing; so does a write that would take the file past 4 GiB.
    void write(const short* ch1, const short* ch2, int n);
    int channelNumber() const;
    quint32 audioLength() const;

private:
    KOVAudioSavePrivate* d;
};

#endif // KOVAUDIOSAVE_H
