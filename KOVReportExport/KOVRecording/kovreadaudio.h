#ifndef KOVREADAUDIO_H
#define KOVREADAUDIO_H

#include <QString>

// Loads a whole 16-bit PCM WAV file through a private mapping and keeps a
// copy of its interleaved samples. A failed load leaves no data and counts 0.
class KOVReadAudio
{
public:
    KOVReadAudio();
    ~KOVReadAudio();
    KOVReadAudio(const KOVReadAudio&) = delete;
    KOVReadAudio& operator=(const KOVReadAudio&) = delete;

    bool initAudioData(QString path);
    int getAudioChannels() const { return m_channel; }
    // Whole frames of 1024 samples per channel; a tail shorter than a frame is
    // held in the data but not counted.
    int getFrameCnt() const { return m_framCnt; }
    // Owned by the loader; valid until the next load or destruction.
    short* getAudioData() const { return m_data; }

private:
    void clear();

    int m_framCnt = 0;
    int m_channel = 0;
    short* m_data = nullptr;
};

#endif // KOVREADAUDIO_H
