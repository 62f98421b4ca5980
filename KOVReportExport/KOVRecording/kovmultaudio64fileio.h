#ifndef KOVMULTAUDIO64FILEIO_H
#define KOVMULTAUDIO64FILEIO_H

#include "kovmultaudioio.h"

#include <memory>
#include <vector>

// Presents one stereo WAV file as any number of channels: every channel pair
// shows the file's left and right channel. The file is decoded once and the
// pairs share it.
class KOVMultAudio64FileIO : public KOVMultAudioIO
{
public:
    KOVMultAudio64FileIO(int channels, int sampleRate);
    ~KOVMultAudio64FileIO() override;

    int channels() override { return m_Channels; }
    // Refuses files that are not 16-bit stereo; a failed open leaves no
    // frames.
    bool open(char const* path) override;
    void close() override;
    bool fill(short** channelBuffers) override;
    bool fill(short* buffer, int channel) override;
    bool seek(int offset) override;
    bool reSeek(int index) override;
    float timeStamp() override;
    int curIndex() override { return m_count; }
    int maxIndex() override { return m_maxCount; }
    void setSampleRate(int rate) override { m_sampleRate = rate; }

private:
    struct Stereo;
    void copyFrame(short* buffer, int channel) const;

    int m_maxCount = 0;
    int m_count = 0;
    int m_Channels;
    int m_sampleRate;
    int m_bitSize = 2;
    int m_perframeTimeUs = 0;
    std::vector<short*> m_data; // per channel; null for a channel without a pair
    std::shared_ptr<Stereo> m_stereo;
};

#endif // KOVMULTAUDIO64FILEIO_H
