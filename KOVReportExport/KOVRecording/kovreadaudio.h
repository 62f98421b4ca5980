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

    // The most whole frames per channel a load accepts. Every holder of a
    // channel keeps it in one Qt container, and a container holds less than
    // 2 GiB: at 4 bytes a sample in the audio buffer that is 93 minutes at
    // 96 kHz. Longer audio is refused, not held.
    static constexpr int kMaxFrames = (0x7fffffff - 64) / int(sizeof(float)) / 1024;

    bool initAudioData(QString path);
    // Whether the last load was refused for holding more than kMaxFrames.
    bool tooLong() const { return m_tooLong; }
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
    bool m_tooLong = false;
    short* m_data = nullptr;
};

#endif // KOVREADAUDIO_H
