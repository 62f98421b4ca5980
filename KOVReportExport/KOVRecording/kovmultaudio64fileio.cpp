#include "kovmultaudio64fileio.h"

#include "kovmmap.h"
#include "kovwavheader.h"

#include <QDebug>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const int kFrame = 1024;
}

struct KOVMultAudio64FileIO::Stereo
{
    std::vector<short> left;
    std::vector<short> right;
};

KOVMultAudio64FileIO::KOVMultAudio64FileIO(int channels, int sampleRate)
    : m_Channels(channels)
    , m_sampleRate(sampleRate)
{
}

KOVMultAudio64FileIO::~KOVMultAudio64FileIO() = default;

bool KOVMultAudio64FileIO::open(char const* path)
{
    close();
    if (m_sampleRate <= 0)
        return false;
    m_perframeTimeUs = 1024000000 / m_sampleRate;
    m_data.assign(static_cast<size_t>(std::max(m_Channels, 0)), nullptr);
    if (m_Channels < 2)
        return true;
    const int fd = path ? ::open(path, O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0)
        return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_size < 44) {
        ::close(fd);
        return false;
    }
    const qint64 size = st.st_size;
    void* view = win32_mmap(nullptr, static_cast<unsigned long long>(size), 3, KOV_MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (!view)
        return false;
    KOVWavHeader h;
    QString why;
    bool ok = h.parse(static_cast<const uchar*>(view), size, &why);
    if (ok && h.channels() != 2) {
        why = QStringLiteral("%1 channels, not stereo").arg(h.channels());
        ok = false;
    }
    const qint64 frames = ok ? h.dataLength() / 2 / 2048 : 0;
    if (ok && frames > 0x7fffffff)
        ok = false;
    if (!ok) {
        qWarning() << "KOVMultAudio64FileIO::open" << path << "refused:" << why;
        win32_munmap(view, static_cast<unsigned long long>(size));
        return false;
    }
    auto stereo = std::make_shared<Stereo>();
    const size_t samples = static_cast<size_t>(h.dataLength() / 4);
    stereo->left.resize(samples);
    stereo->right.resize(samples);
    const uchar* src = static_cast<const uchar*>(view) + h.dataOffset();
    for (size_t i = 0; i < samples; ++i) {
        short l, r;
        std::memcpy(&l, src + 4 * i, 2);
        std::memcpy(&r, src + 4 * i + 2, 2);
        stereo->left[i] = l;
        stereo->right[i] = r;
    }
    win32_munmap(view, static_cast<unsigned long long>(size));
    if (h.clamped())
        qWarning() << "KOVMultAudio64FileIO::open" << path << "claims more samples than it holds";
    m_stereo = stereo;
    for (int p = 0; p + 1 < m_Channels; p += 2) {
        m_data[static_cast<size_t>(p)] = m_stereo->left.data();
        m_data[static_cast<size_t>(p + 1)] = m_stereo->right.data();
    }
    m_maxCount = static_cast<int>(frames);
    m_count = 0;
    return true;
}

void KOVMultAudio64FileIO::close()
{
    m_stereo.reset();
    m_data.clear();
    m_maxCount = 0;
    m_count = 0;
}

void KOVMultAudio64FileIO::copyFrame(short* buffer, int channel) const
{
    const short* src = m_data[static_cast<size_t>(channel)];
    if (src)
        std::memcpy(buffer, src + static_cast<size_t>(m_count) * kFrame, kFrame * sizeof(short));
    else
        std::memset(buffer, 0, kFrame * sizeof(short)); // odd last channel: silence
}

bool KOVMultAudio64FileIO::fill(short** channelBuffers)
{
    if (!channelBuffers || m_count < 0 || m_count >= m_maxCount)
        return false;
    for (int c = 0; c < m_Channels; ++c)
        if (channelBuffers[c])
            copyFrame(channelBuffers[c], c);
    ++m_count;
    return true;
}

bool KOVMultAudio64FileIO::fill(short* buffer, int channel)
{
    if (!buffer || channel < 0 || channel >= m_Channels || m_count < 0 || m_count >= m_maxCount)
        return false;
    copyFrame(buffer, channel);
    ++m_count;
    return true;
}

bool KOVMultAudio64FileIO::seek(int offset)
{
    const long long count = m_count, max = m_maxCount;
    if (count >= max || count + offset >= max || count - offset >= max)
        return false;
    if (offset == 0)
        return true;
    m_count = offset < 0 ? m_maxCount + offset : m_count + offset;
    return true;
}

bool KOVMultAudio64FileIO::reSeek(int index)
{
    if (index < 0 || index >= m_maxCount)
        return false;
    m_count = index;
    return true;
}

float KOVMultAudio64FileIO::timeStamp()
{
    // In double: the int product of the original overflows after 35 minutes.
    return static_cast<float>(static_cast<double>(m_perframeTimeUs) * m_count * 0.001);
}
