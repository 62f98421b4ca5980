#include "kovaudioframebuffer.h"

KOVAudioFrameBuffer::KOVAudioFrameBuffer()
    : m_dataLength(1024)
    , m_timeStamp(0.0f)
    , m_channel(0)
    , m_frameCount(0)
{
}

short* KOVAudioFrameBuffer::data()
{
    return m_data.empty() ? nullptr : m_data.data();
}
