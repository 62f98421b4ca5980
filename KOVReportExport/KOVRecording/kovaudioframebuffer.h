#ifndef KOVAUDIOFRAMEBUFFER_H
#define KOVAUDIOFRAMEBUFFER_H

#include <vector>

// Consecutive frames of the channel chosen with setChannel.
class KOVAudioFrameBuffer
{
public:
    KOVAudioFrameBuffer();

    short* data();
    float timeStamp() const { return m_timeStamp; }
    int channel() const { return m_channel; }
    void setChannel(int channel) { m_channel = channel; }
    int dataLength() const { return m_dataLength; }
    int frameCount() const { return m_frameCount; }
    void setFrameCount(int frames) { m_frameCount = frames; }

private:
    friend class KOVMultAudioIODevice;

    std::vector<short> m_data;
    int m_dataLength;
    float m_timeStamp;
    int m_channel;
    int m_frameCount;
};

#endif // KOVAUDIOFRAMEBUFFER_H
