#include "kovmultaudioframebuffer.h"
#include <cstddef>

KOVMultAudioFrameBuffer::KOVMultAudioFrameBuffer()
    : m_dataLength(1024)
    , m_timeStamp(0.0f)
    , m_channels(0)
    , m_frameCount(0)
{
}

short** KOVMultAudioFrameBuffer::data()
{
    return m_data.empty() ? nullptr : m_data.data();
}

short* KOVMultAudioFrameBuffer::data(int channel)
{
    if (channel < 0 || channel >= m_channels || channel >= static_cast<int>(m_data.size()))
        return nullptr;
    return m_data[static_cast<std::size_t>(channel)];
}

void KOVMultAudioFrameBuffer::release()
{
    m_store.clear();
    m_data.clear();
    m_frameCount = 0;
    m_timeStamp = 0.0f;
}

void KOVMultAudioFrameBuffer::allocate(int channels, int frames)
{
    m_channels = channels;
    const std::size_t need = static_cast<std::size_t>(frames) * static_cast<std::size_t>(m_dataLength);
    // A later read of more frames or channels must not write past the old
    // storage.
    if (static_cast<int>(m_store.size()) != channels || (!m_store.empty() && m_store[0].size() < need)) {
        m_store.assign(static_cast<std::size_t>(channels), std::vector<short>(need));
        m_data.clear();
        for (auto& c : m_store)
            m_data.push_back(c.data());
    }
}
