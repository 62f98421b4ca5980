#include "kovmultaudioframe.h"
#include <cstddef>

KOVMultAudioFrame::KOVMultAudioFrame()
    : m_dataLength(1024)
    , m_channels(0)
    , m_timeStamp(0.0f)
{
}

short** KOVMultAudioFrame::data()
{
    return m_data.empty() ? nullptr : m_data.data();
}

short* KOVMultAudioFrame::data(int channel)
{
    if (channel < 0 || channel >= m_channels || channel >= static_cast<int>(m_data.size()))
        return nullptr;
    return m_data[static_cast<std::size_t>(channel)];
}

void KOVMultAudioFrame::allocate(int channels)
{
    m_channels = channels;
    if (static_cast<int>(m_store.size()) == channels)
        return;
    m_store.assign(static_cast<std::size_t>(channels), std::vector<short>(static_cast<std::size_t>(m_dataLength)));
    m_data.clear();
    for (auto& c : m_store)
        m_data.push_back(c.data());
}
