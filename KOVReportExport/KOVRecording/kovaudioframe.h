#ifndef KOVAUDIOFRAME_H
#define KOVAUDIOFRAME_H

#include <vector>

// One frame (1024 samples) of the channel chosen with setChannel.
class KOVAudioFrame
{
public:
    KOVAudioFrame();

    short* data();
    float timeStamp() const { return m_timeStamp; }
    int channel() const { return m_channel; }
    void setChannel(int channel) { m_channel = channel; }
    int dataLength() const { return m_dataLength; }

private:
    friend class KOVMultAudioIODevice;

    std::vector<short> m_data;
    int m_dataLength;
    float m_timeStamp;
    int m_channel;
};

#endif // KOVAUDIOFRAME_H
