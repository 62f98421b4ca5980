#include "kovaudioframe.h"

KOVAudioFrame::KOVAudioFrame()
    : m_dataLength(1024)
    , m_timeStamp(0.0f)
    , m_channel(0)
{
}

short* KOVAudioFrame::data()
{
    return m_data.empty() ? nullptr : m_data.data();
}
