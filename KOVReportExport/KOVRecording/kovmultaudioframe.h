#ifndef KOVMULTAUDIOFRAME_H
#define KOVMULTAUDIOFRAME_H

#include <vector>

// One frame (1024 samples) of every channel, filled by KOVMultAudioIODevice.
class KOVMultAudioFrame
{
public:
    KOVMultAudioFrame();

    short** data();
    short* data(int channel);
    float timeStamp() const { return m_timeStamp; }
    int channelsCount() const { return m_channels; }
    int sampleLength() const { return m_dataLength; }

private:
    friend class KOVMultAudioIODevice;
    void allocate(int channels);

    std::vector<std::vector<short>> m_store;
    std::vector<short*> m_data;
    int m_dataLength;
    int m_channels;
    float m_timeStamp;
};

#endif // KOVMULTAUDIOFRAME_H
