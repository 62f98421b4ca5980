#ifndef KOVMULTAUDIOFRAMEBUFFER_H
#define KOVMULTAUDIOFRAMEBUFFER_H

#include <vector>

// Consecutive frames of every channel. A frame count set before a read asks
// for that many frames; the read writes back how many it delivered.
class KOVMultAudioFrameBuffer
{
public:
    KOVMultAudioFrameBuffer();

    short** data();
    short* data(int channel);
    float timeStamp() const { return m_timeStamp; }
    int channelsCount() const { return m_channels; }
    int sampleLength() const { return m_dataLength; }
    int frameCount() const { return m_frameCount; }
    void setFrameCount(int frames) { m_frameCount = frames; }
    void release();

private:
    friend class KOVMultAudioIODevice;
    void allocate(int channels, int frames);

    std::vector<std::vector<short>> m_store;
    std::vector<short*> m_data;
    int m_dataLength;
    float m_timeStamp;
    int m_channels;
    int m_frameCount;
};

#endif // KOVMULTAUDIOFRAMEBUFFER_H
