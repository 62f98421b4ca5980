// Opening side of the container's reader. Nothing in a file is trusted: every
// chunk and list length is checked against the file before it is followed, so
// a truncated or hostile file ends the walk instead of a read past its end.
#include "avilib.h"
#include "avilibpriv.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace avi;

namespace {

// A header list larger than this is not a clip header.
const uint32_t kMaxHeaderList = 16u * 1024u * 1024u;

bool is(const unsigned char* p, const char* tag)
{
    return std::memcmp(p, tag, 4) == 0;
}

template <typename T>
bool append(T*& array, int64_t& count, int64_t& capacity, const T& v)
{
    if (count == capacity) {
        const int64_t grown = capacity ? capacity * 2 : 1024;
        void* p = std::realloc(array, static_cast<size_t>(grown) * sizeof(T));
        if (!p) {
            AVI_errno = AVI_ERR_NO_MEM;
            return false;
        }
        array = static_cast<T*>(p);
        capacity = grown;
    }
    array[count++] = v;
    return true;
}

char* copyBytes(const unsigned char* p, uint32_t len)
{
    char* c = static_cast<char*>(std::malloc(len ? len : 1));
    if (c)
        std::memcpy(c, p, len);
    return c;
}

struct Parse
{
    avi_t* a;
    int64_t fileSize = 0;
    int64_t hdrlOff = 0; // file offset of hdrl[0]
    std::vector<unsigned char> hdrl;
    std::vector<unsigned char> idx1;
    bool haveIdx1 = false;
    int64_t vCount = 0, vCap = 0;
    int64_t aCount[AVI_MAX_TRACKS] = {}, aCap[AVI_MAX_TRACKS] = {};
};

// The stream list of one stream: the first video stream and up to eight
// audio streams are kept.
int parseStreamList(Parse& s, size_t from, size_t to, int streamNo, bool& haveVideo)
{
    avi_t* a = s.a;
    const unsigned char* h = s.hdrl.data();
    const unsigned char* strh = nullptr;
    bool video = false, audio = false;
    for (size_t p = from; p + 8 <= to;) {
        const uint32_t len = get32(h + p + 4);
        if (len > to - p - 8)
            break;
        const unsigned char* body = h + p + 8;
        const int64_t bodyOff = s.hdrlOff + static_cast<int64_t>(p) + 8;
        if (is(h + p, "strh") && len >= 48) {
            strh = body;
            video = is(body, "vids") && !haveVideo;
            audio = is(body, "auds") && a->anum < AVI_MAX_TRACKS;
            if (video) {
                haveVideo = true;
                a->video_strn = streamNo;
                std::memcpy(a->compressor, body + 4, 4);
                a->compressor[4] = 0;
                const uint32_t scale = get32(body + 20), rate = get32(body + 24);
                a->fps = scale ? static_cast<double>(rate) / scale : 0.0;
                a->v_codech_off = bodyOff + 4;
            } else if (audio) {
                track_s& t = a->track[a->anum];
                t.audio_strn = streamNo;
                t.a_codech_off = bodyOff + 4;
            }
        } else if (is(h + p, "strf") && strh) {
            if (video && len >= 40) {
                a->width = static_cast<int>(get32(body + 4));
                a->height = static_cast<int>(get32(body + 8));
                std::memcpy(a->compressor2, body + 16, 4);
                a->compressor2[4] = 0;
                a->v_codecf_off = bodyOff + 16;
                std::free(a->bitmap_info_header);
                a->bitmap_info_header = copyBytes(body, len);
                if (!a->bitmap_info_header)
                    return AVI_ERR_NO_MEM;
            } else if (audio && len >= 16 && a->anum < AVI_MAX_TRACKS) {
                // Checked here, not only at the stream header: every format
                // chunk of a list adds a track, and a list may hold many.
                track_s& t = a->track[a->anum];
                t.a_fmt = get16(body);
                t.a_chans = get16(body + 2);
                t.a_rate = get32(body + 4);
                t.mp3rate = 8 * static_cast<long>(get32(body + 8)) / 1000;
                t.a_bits = get16(body + 14);
                t.a_codecf_off = bodyOff;
                t.audio_tag[0] = static_cast<char>('0' + streamNo / 10 % 10);
                t.audio_tag[1] = static_cast<char>('0' + streamNo % 10);
                t.audio_tag[2] = 'w';
                t.audio_tag[3] = 'b';
                a->wave_format_ex[a->anum] = copyBytes(body, len);
                if (!a->wave_format_ex[a->anum])
                    return AVI_ERR_NO_MEM;
                a->anum++;
                audio = false; // one stream, one track
            }
        }
        p += 8 + len + (len & 1);
    }
    return 0;
}

int parseHeaderList(Parse& s)
{
    const unsigned char* h = s.hdrl.data();
    const size_t size = s.hdrl.size();
    int streamNo = 0;
    bool haveVideo = false;
    for (size_t p = 0; p + 8 <= size;) {
        const uint32_t len = get32(h + p + 4);
        if (len > size - p - 8)
            break;
        if (is(h + p, "LIST") && len >= 4 && is(h + p + 8, "strl")) {
            const int err = parseStreamList(s, p + 12, p + 8 + len, streamNo++, haveVideo);
            if (err)
                return err;
        }
        p += 8 + len + (len & 1);
    }
    if (!haveVideo)
        return AVI_ERR_NO_VIDS;
    avi_t* a = s.a;
    a->video_tag[0] = static_cast<char>('0' + a->video_strn / 10 % 10);
    a->video_tag[1] = static_cast<char>('0' + a->video_strn % 10);
    a->video_tag[2] = 'd';
    a->video_tag[3] = 'b';
    return 0;
}

// Top-level chunks: the header list, the movi list and the index.
int walkTopLevel(Parse& s)
{
    avi_t* a = s.a;
    unsigned char head[12];
    if (s.fileSize < 12 || !readAllAt(a->fdes, head, 12, 0) || !is(head, "RIFF") || !is(head + 8, "AVI "))
        return AVI_ERR_NO_AVI;
    a->movi_start = -1;
    for (int64_t off = 12; off + 8 <= s.fileSize;) {
        if (!readAllAt(a->fdes, head, 8, off))
            return AVI_ERR_READ;
        const int64_t len = get32(head + 4);
        const int64_t data = off + 8;
        const int64_t avail = s.fileSize - data;
        if (is(head, "LIST")) {
            if (len < 4 || avail < 4 || !readAllAt(a->fdes, head + 8, 4, data))
                break;
            if (is(head + 8, "hdrl") && s.hdrl.empty()) {
                if (len > avail || len > kMaxHeaderList)
                    return AVI_ERR_NO_HDRL;
                s.hdrl.resize(static_cast<size_t>(len - 4));
                s.hdrlOff = data + 4;
                if (!s.hdrl.empty() && !readAllAt(a->fdes, s.hdrl.data(), s.hdrl.size(), s.hdrlOff))
                    return AVI_ERR_READ;
            } else if (is(head + 8, "movi") && a->movi_start < 0) {
                // A clip whose recording was cut off still says 0xFEFFF003 here.
                a->movi_start = data + 4;
                a->movi_end = len > avail ? s.fileSize : data + len;
            }
        } else if (is(head, "idx1") && !s.haveIdx1) {
            const int64_t usable = (len < avail ? len : avail) / 16 * 16;
            s.idx1.resize(static_cast<size_t>(usable));
            if (usable > 0 && !readAllAt(a->fdes, s.idx1.data(), s.idx1.size(), data))
                return AVI_ERR_READ;
            s.haveIdx1 = true;
        }
        if (len > avail)
            break;
        off = data + len + (len & 1);
    }
    if (s.hdrl.empty())
        return AVI_ERR_NO_HDRL;
    if (a->movi_start < 0)
        return AVI_ERR_NO_MOVI;
    return 0;
}

int addChunk(Parse& s, const unsigned char* tag, int64_t data, int64_t len, bool key)
{
    avi_t* a = s.a;
    if (len < 0 || data < 0 || data > s.fileSize || len > s.fileSize - data)
        return 0; // a chunk the file does not hold is not indexed
    if (std::memcmp(tag, a->video_tag, 3) == 0) {
        if (!append(a->video_index, s.vCount, s.vCap, video_index_entry{key ? 0x10 : 0, data, len}))
            return AVI_ERR_NO_MEM;
        if (static_cast<uint64_t>(len) > a->max_len)
            a->max_len = static_cast<unsigned>(len);
        return 0;
    }
    for (int j = 0; j < a->anum; ++j) {
        track_s& t = a->track[j];
        if (std::memcmp(tag, t.audio_tag, 4) != 0)
            continue;
        if (!append(t.audio_index, s.aCount[j], s.aCap[j], audio_index_entry{data, len, t.audio_bytes}))
            return AVI_ERR_NO_MEM;
        t.audio_bytes += len;
        return 0;
    }
    return 0;
}

int indexFromIdx1(Parse& s)
{
    const size_t n = s.idx1.size() / 16;
    const unsigned char* e = s.idx1.data();
    // Offsets are either absolute or relative to the "movi" tag.
    const int64_t base = (n > 0 && get32(e + 8) < s.a->movi_start - 4) ? s.a->movi_start - 4 : 0;
    for (size_t i = 0; i < n; ++i, e += 16) {
        const int err = addChunk(s, e, base + get32(e + 8) + 8, get32(e + 12), (get32(e + 4) & 0x10) != 0);
        if (err)
            return err;
    }
    return 0;
}

int indexFromScan(Parse& s)
{
    avi_t* a = s.a;
    unsigned char head[8];
    for (int64_t off = a->movi_start; off + 8 <= a->movi_end;) {
        if (!readAllAt(a->fdes, head, 8, off))
            return AVI_ERR_READ;
        const int64_t len = get32(head + 4);
        if (is(head, "LIST")) { // step into a "rec " list
            off += 12;
            continue;
        }
        if (len > a->movi_end - off - 8)
            break;
        const int err = addChunk(s, head, off + 8, len, true);
        if (err)
            return err;
        off += 8 + len + (len & 1);
    }
    return 0;
}

} // namespace

avi_t* AVI_open_fd(int fd, int getIndex)
{
    avi_t* a = static_cast<avi_t*>(std::calloc(1, sizeof(avi_t)));
    if (!a) {
        AVI_errno = AVI_ERR_NO_MEM;
        return nullptr;
    }
    a->fdes = fd;
    a->mode = AVI_MODE_READ;
    Parse s;
    s.a = a;
    struct stat st;
    int err = fstat(fd, &st) != 0 ? AVI_ERR_READ : 0;
    s.fileSize = st.st_size;
    if (!err)
        err = walkTopLevel(s);
    if (!err)
        err = parseHeaderList(s);
    if (!err)
        err = (s.haveIdx1 && !getIndex) ? indexFromIdx1(s) : indexFromScan(s);
    if (err) {
        AVI_errno = err;
        a->fdes = -1; // the caller keeps its descriptor
        a->mode = AVI_MODE_READ;
        AVI_close(a);
        return nullptr;
    }
    a->video_frames = static_cast<int>(s.vCount);
    for (int j = 0; j < a->anum; ++j)
        a->track[j].audio_chunks = static_cast<long>(s.aCount[j]);
    a->video_pos = 0;
    a->aptr = 0;
    a->pos = a->movi_start;
    return a;
}

avi_t* AVI_open_input_file(const char* filename, int getIndex)
{
    const int fd = filename ? ::open(filename, O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0) {
        AVI_errno = AVI_ERR_OPEN;
        return nullptr;
    }
    avi_t* a = AVI_open_fd(fd, getIndex);
    if (!a)
        ::close(fd);
    return a;
}
