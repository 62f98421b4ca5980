// The header of the clip container: its byte layout is fixed, players and our
// own reader depend on every offset.
#include "avilibpriv.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace avi {

namespace {

class Out
{
public:
    explicit Out(unsigned char* p)
        : m_p(p)
    {
    }
    void tag(const char* t)
    {
        std::memcpy(m_p + m_at, t, 4);
        m_at += 4;
    }
    void u32(uint32_t v)
    {
        put32(m_p + m_at, v);
        m_at += 4;
    }
    void u16(uint32_t v)
    {
        put16(m_p + m_at, v);
        m_at += 2;
    }
    void zeros(int n) { m_at += n; } // the buffer starts zeroed
    int at() const { return m_at; }

private:
    unsigned char* m_p;
    int m_at = 0;
};

uint32_t usPerFrame(double fps)
{
    return fps < 0.001 ? 0u : static_cast<uint32_t>(static_cast<long>(1000000.0 / fps + 0.5));
}

uint32_t frameRate(double fps)
{
    return fps < 0.001 ? 0u : static_cast<uint32_t>(static_cast<long>(fps * 1000000.0 + 0.5));
}

// Bytes per audio sample frame; MP3 streams count in bytes.
uint32_t sampleSize(const track_s& t)
{
    const long s = ((t.a_bits + 7) / 8) * t.a_chans;
    return s > 0 ? static_cast<uint32_t>(s) : 4u;
}

void audioStreamList(Out& o, const track_s& t)
{
    const bool mp3 = t.a_fmt == WAVE_FORMAT_MPEGLAYER3;
    const uint32_t ss = sampleSize(t);
    const uint32_t scale = mp3 ? 1u : ss;
    const uint32_t rate = mp3 ? static_cast<uint32_t>(t.mp3rate * 1000 / 8) : ss * static_cast<uint32_t>(t.a_rate);
    o.tag("LIST");
    o.u32(92);
    o.tag("strl");
    o.tag("strh");
    o.u32(56);
    o.tag("auds");
    o.u32(0); // handler
    o.u32(0); // flags
    o.u32(0); // priority and language
    o.u32(0); // initial frames
    o.u32(scale);
    o.u32(rate);
    o.u32(0); // start
    o.u32(static_cast<uint32_t>(scale ? t.audio_bytes / scale : 0)); // length
    o.u32(0);          // suggested buffer size
    o.u32(0xFFFFFFFFu); // quality
    o.u32(scale);      // sample size
    o.zeros(8);        // frame rectangle
    o.tag("strf");
    o.u32(16);
    o.u16(static_cast<uint32_t>(t.a_fmt));
    o.u16(static_cast<uint32_t>(t.a_chans));
    o.u32(static_cast<uint32_t>(t.a_rate));
    o.u32(rate); // average bytes per second
    o.u16(mp3 ? 1u : ss); // block alignment
    o.u16(static_cast<uint32_t>(t.a_bits));
}

} // namespace

void buildHeader(const avi_t* a, unsigned char* hdr, bool final, bool indexWritten, int64_t fileLength, int64_t idxStart)
{
    std::memset(hdr, 0, kHeaderBytes);
    Out o(hdr);
    const uint32_t frames = final ? static_cast<uint32_t>(a->video_frames) : 0u;
    uint32_t flags = 0x100; // interleaved
    if (!final || indexWritten)
        flags |= 0x10;
    if (a->must_use_index && (!final || indexWritten))
        flags |= 0x20;

    o.tag("RIFF");
    o.u32(final ? static_cast<uint32_t>(fileLength - 8) : kProvisionalSize);
    o.tag("AVI ");
    o.tag("LIST");
    o.u32(192 + 100 * static_cast<uint32_t>(a->anum));
    o.tag("hdrl");
    o.tag("avih");
    o.u32(56);
    o.u32(usPerFrame(a->fps));
    o.u32(0); // maximum bytes per second
    o.u32(0); // padding granularity
    o.u32(flags);
    o.u32(frames);
    o.u32(0); // initial frames
    o.u32(1 + static_cast<uint32_t>(a->anum));
    o.u32(0); // suggested buffer size
    o.u32(static_cast<uint32_t>(a->width));
    o.u32(static_cast<uint32_t>(a->height));
    o.zeros(16);

    o.tag("LIST");
    o.u32(116);
    o.tag("strl");
    o.tag("strh");
    o.u32(56);
    o.tag("vids");
    std::memcpy(hdr + o.at(), a->compressor, 4);
    o.zeros(4);
    o.u32(0); // flags
    o.u32(0); // priority and language
    o.u32(0); // initial frames
    o.u32(1000000);
    o.u32(frameRate(a->fps));
    o.u32(0); // start
    o.u32(frames);
    o.u32(0);           // suggested buffer size
    o.u32(0xFFFFFFFFu); // quality
    o.u32(0);           // sample size
    o.zeros(8);         // frame rectangle
    o.tag("strf");
    o.u32(40);
    o.u32(40);
    o.u32(static_cast<uint32_t>(a->width));
    o.u32(static_cast<uint32_t>(a->height));
    o.u16(1);
    o.u16(24);
    std::memcpy(hdr + o.at(), a->compressor, 4);
    o.zeros(4);
    o.u32(static_cast<uint32_t>(a->width) * static_cast<uint32_t>(a->height) * 3u);
    o.zeros(16);

    for (int j = 0; j < a->anum; ++j)
        audioStreamList(o, a->track[j]);

    if (final) {
        o.tag("LIST");
        o.u32(76);
        o.tag("INFO");
        o.tag("ISFT");
        o.u32(64);
        o.zeros(64);
    }
    o.tag("JUNK");
    o.u32(static_cast<uint32_t>(2036 - o.at() - 4));
    Out tail(hdr + 2036);
    tail.tag("LIST");
    tail.u32(final ? static_cast<uint32_t>(idxStart - 2044) : kProvisionalSize);
    tail.tag("movi");
}

int writeProvisionalHeader(avi_t* a)
{
    unsigned char hdr[kHeaderBytes];
    buildHeader(a, hdr, false, false, 0, 0);
    if (!writeAllAt(a->fdes, hdr, kHeaderBytes, 0) || lseek(a->fdes, a->pos, SEEK_SET) != a->pos) {
        AVI_errno = AVI_ERR_CLOSE;
        return -1;
    }
    return 0;
}

bool writeAll(int fd, const void* buf, size_t len)
{
    const char* p = static_cast<const char*>(buf);
    while (len > 0) {
        const ssize_t n = ::write(fd, p, len);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        len -= static_cast<size_t>(n);
    }
    return true;
}

bool writeAllAt(int fd, const void* buf, size_t len, int64_t offset)
{
    return lseek(fd, offset, SEEK_SET) == offset && writeAll(fd, buf, len);
}

bool readAllAt(int fd, void* buf, size_t len, int64_t offset)
{
    char* p = static_cast<char*>(buf);
    while (len > 0) {
        const ssize_t n = ::pread(fd, p, len, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        len -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

} // namespace avi
