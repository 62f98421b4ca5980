// Writing side of the clip container.
#include "avilib.h"
#include "avilibpriv.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

int AVI_errno = 0;

using namespace avi;

namespace {

const int kIndexStep = 4096;

// Makes room for one more idx1 entry; the entry itself is added only once its
// chunk is on disk, so a failed write leaves no entry behind.
bool reserveIndex(avi_t* a)
{
    if (a->n_idx < a->max_idx)
        return true;
    void* p = std::realloc(a->idx, static_cast<size_t>(a->max_idx + kIndexStep) * sizeof(avi_idx1_entry));
    if (!p) {
        AVI_errno = AVI_ERR_NO_MEM;
        return false;
    }
    a->idx = static_cast<avi_idx1_entry*>(p);
    a->max_idx += kIndexStep;
    return true;
}

void addIndex(avi_t* a, const char* tag, uint32_t flags, int64_t pos, uint32_t len)
{
    avi_idx1_entry& e = a->idx[a->n_idx++];
    std::memcpy(e.tag, tag, 4);
    e.flags = flags;
    e.pos = static_cast<uint32_t>(pos);
    e.len = len;
    if (len > a->max_len)
        a->max_len = len;
}

bool fitsLimit(const avi_t* a, long bytes)
{
    // 64-bit sums: the same test in 32-bit unsigned wraps for large clips and
    // lets a frame through that corrupts every offset after it.
    return a->pos + static_cast<int64_t>(bytes) + 16 + 16 * (static_cast<int64_t>(a->n_idx) + 1) < kSizeLimit;
}

// Tag, length, data and the pad byte of an odd length in one call.
bool writeChunk(int fd, const char* tag, const char* data, long bytes)
{
    unsigned char head[8];
    std::memcpy(head, tag, 4);
    put32(head + 4, static_cast<uint32_t>(bytes));
    static const char pad = 0;
    iovec v[3] = {{head, 8}, {const_cast<char*>(data), static_cast<size_t>(bytes)}, {const_cast<char*>(&pad), 1}};
    const int parts = (bytes & 1) ? 3 : 2;
    const size_t total = 8 + static_cast<size_t>(bytes) + ((bytes & 1) ? 1 : 0);
    ssize_t n;
    do
        n = writev(fd, v, parts);
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return false;
    size_t done = static_cast<size_t>(n);
    // Finish a short write part by part.
    for (int i = 0; i < parts && done < total; ++i) {
        if (done >= v[i].iov_len) {
            done -= v[i].iov_len;
            continue;
        }
        if (!writeAll(fd, static_cast<char*>(v[i].iov_base) + done, v[i].iov_len - done))
            return false;
        done = 0;
    }
    return true;
}

int writeData(avi_t* a, const char* data, long bytes, bool audio, int keyframe)
{
    if (a->mode == AVI_MODE_READ) {
        AVI_errno = AVI_ERR_NOT_PERM;
        return -1;
    }
    if (bytes < 0 || (bytes > 0 && !data)) {
        AVI_errno = AVI_ERR_WRITE;
        return -1;
    }
    if (!fitsLimit(a, bytes)) {
        AVI_errno = AVI_ERR_SIZELIM;
        return -1;
    }
    if (!reserveIndex(a))
        return -1;
    char tag[5] = "00db";
    if (audio) {
        tag[1] = static_cast<char>('1' + a->aptr); // tracks 1 to 8 follow the video stream
        tag[2] = 'w';
        tag[3] = 'b';
    }
    if (!writeChunk(a->fdes, tag, data, bytes)) {
        lseek(a->fdes, a->pos, SEEK_SET);
        AVI_errno = AVI_ERR_WRITE;
        return -1;
    }
    addIndex(a, tag, audio ? 0u : (keyframe ? 0x10u : 0u), a->pos, static_cast<uint32_t>(bytes));
    if (audio) {
        a->track[a->aptr].audio_bytes += bytes;
        a->track[a->aptr].audio_chunks++;
    } else {
        a->last_pos = a->pos;
        a->last_len = static_cast<unsigned>(bytes);
        a->video_frames++;
    }
    a->pos += 8 + ((bytes + 1) & ~1L);
    return 0;
}

// Whether the last chunk written is audio of the current track. Only that
// chunk may grow: after a video frame the bytes would land in the frame, and
// after a duplicate the entry points back into the middle of the file, so the
// write would overwrite the chunks that follow it.
bool lastIsTrackAudio(const avi_t* a)
{
    if (a->n_idx == 0)
        return false;
    const avi_idx1_entry& e = a->idx[a->n_idx - 1];
    const char tag[4] = { '0', static_cast<char>('1' + a->aptr), 'w', 'b' };
    const int64_t end = int64_t(e.pos) + 8 + ((int64_t(e.len) + 1) & ~int64_t(1));
    return std::memcmp(e.tag, tag, 4) == 0 && end == a->pos;
}

} // namespace

avi_t* AVI_open_output_file(const char* filename)
{
    avi_t* a = static_cast<avi_t*>(std::calloc(1, sizeof(avi_t)));
    if (!a) {
        AVI_errno = AVI_ERR_NO_MEM;
        return nullptr;
    }
    // Always a new file: a name already there goes first, so a symbolic or
    // hard link left under it is dropped, not written through to the file
    // it points at. O_EXCL refuses one planted in between. Readable as the
    // umask allows, like the clip's sound and frames: exported copies keep
    // this mode.
    if (filename)
        ::unlink(filename);
    a->fdes = filename ? ::open(filename, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666) : -1;
    if (a->fdes < 0) {
        AVI_errno = AVI_ERR_OPEN;
        std::free(a);
        return nullptr;
    }
    unsigned char zeros[kHeaderBytes] = {};
    if (!writeAllAt(a->fdes, zeros, kHeaderBytes, 0)) {
        ::close(a->fdes);
        AVI_errno = AVI_ERR_WRITE;
        std::free(a);
        return nullptr;
    }
    a->pos = kHeaderBytes;
    a->mode = AVI_MODE_WRITE;
    a->anum = 0;
    a->aptr = 0;
    return a;
}

void AVI_set_video(avi_t* a, int width, int height, double fps, const char* compressor)
{
    if (!a || a->mode == AVI_MODE_READ)
        return;
    a->width = width;
    a->height = height;
    a->fps = fps;
    std::memset(a->compressor, 0, sizeof a->compressor);
    if (compressor && std::strncmp(compressor, "RGB", 3) != 0)
        std::strncpy(a->compressor, compressor, 4);
    writeProvisionalHeader(a);
}

int AVI_set_audio(avi_t* a, int channels, long rate, int bits, int format, long mp3rate)
{
    if (!a || a->mode == AVI_MODE_READ) {
        AVI_errno = AVI_ERR_NOT_PERM;
        return -1;
    }
    // A ninth track has no room in the stream table: refused, not fatal.
    if (a->anum >= AVI_MAX_TRACKS) {
        std::fprintf(stderr, "error - only %d audio tracks supported\n", AVI_MAX_TRACKS);
        AVI_errno = AVI_ERR_NOT_PERM;
        return -1;
    }
    a->aptr = a->anum++;
    track_s& t = a->track[a->aptr];
    t.a_chans = channels;
    t.a_rate = rate;
    t.a_bits = bits;
    t.a_fmt = format;
    t.mp3rate = mp3rate;
    return writeProvisionalHeader(a);
}

int AVI_write_frame(avi_t* a, const char* data, long bytes, int keyframe)
{
    return a ? writeData(a, data, bytes, false, keyframe) : -1;
}

int AVI_dup_frame(avi_t* a)
{
    if (!a)
        return -1;
    if (a->mode == AVI_MODE_READ) {
        AVI_errno = AVI_ERR_NOT_PERM;
        return -1;
    }
    if (a->last_pos == 0)
        return 0;
    if (!reserveIndex(a))
        return -1;
    addIndex(a, "00db", 0x10, a->last_pos, a->last_len);
    a->video_frames++;
    a->must_use_index = 1;
    return 0;
}

int AVI_write_audio(avi_t* a, const char* data, long bytes)
{
    return a ? writeData(a, data, bytes, true, 0) : -1;
}

int AVI_append_audio(avi_t* a, const char* data, long bytes)
{
    if (!a)
        return -1;
    if (a->mode == AVI_MODE_READ) {
        AVI_errno = AVI_ERR_NOT_PERM;
        return -1;
    }
    if (bytes < 0 || (bytes > 0 && !data)) {
        AVI_errno = AVI_ERR_WRITE;
        return -1;
    }
    if (!lastIsTrackAudio(a)) {
        AVI_errno = AVI_ERR_NOT_PERM;
        return -1;
    }
    avi_idx1_entry& e = a->idx[a->n_idx - 1];
    const int64_t chunk = e.pos;
    const int64_t oldLen = e.len;
    const int64_t newLen = oldLen + bytes;
    if (chunk + 8 + newLen + 16 * static_cast<int64_t>(a->n_idx) + 16 >= kSizeLimit) {
        AVI_errno = AVI_ERR_SIZELIM;
        return -1;
    }
    unsigned char len[4];
    put32(len, static_cast<uint32_t>(newLen));
    static const char pad = 0;
    // The new data replaces the old pad byte, if any.
    if (!writeAllAt(a->fdes, len, 4, chunk + 4) || !writeAllAt(a->fdes, data, static_cast<size_t>(bytes), chunk + 8 + oldLen)
        || ((newLen & 1) && !writeAll(a->fdes, &pad, 1))) {
        lseek(a->fdes, a->pos, SEEK_SET);
        AVI_errno = AVI_ERR_WRITE;
        return -1;
    }
    e.len = static_cast<uint32_t>(newLen);
    if (e.len > a->max_len)
        a->max_len = e.len;
    a->track[a->aptr].audio_bytes += bytes;
    a->pos = chunk + 8 + ((newLen + 1) & ~int64_t(1));
    return 0;
}

long AVI_bytes_remain(avi_t* a)
{
    if (!a || a->mode == AVI_MODE_READ)
        return 0;
    return static_cast<long>(0xFEFFF7F7LL - a->pos - 16 * static_cast<int64_t>(a->n_idx));
}

long AVI_bytes_written(avi_t* a)
{
    if (!a || a->mode == AVI_MODE_READ)
        return 0;
    return static_cast<long>(a->pos + 16 * static_cast<int64_t>(a->n_idx) + 8);
}

int AVI_set_audio_track(avi_t* a, int track)
{
    if (!a || track < 0 || track >= a->anum)
        return -1;
    a->aptr = track;
    return 0;
}

int AVI_get_audio_track(avi_t* a)
{
    return a ? a->aptr : -1;
}

int AVI_set_audio_bitrate(avi_t* a, long bitrate)
{
    if (!a || a->mode == AVI_MODE_READ) {
        AVI_errno = AVI_ERR_NOT_PERM;
        return -1;
    }
    a->track[a->aptr].mp3rate = bitrate;
    return 0;
}

unsigned long AVI_max_size()
{
    return 0xFEFFF7FFul;
}

namespace {

// The idx1 chunk, then the final header; the file is cut to its true length so
// that a longer earlier file at the same path loses its tail.
int finishWrite(avi_t* a)
{
    const int64_t idxStart = a->pos;
    bool indexWritten = false;
    {
        const size_t n = static_cast<size_t>(a->n_idx);
        unsigned char* buf = static_cast<unsigned char*>(std::malloc(8 + 16 * n));
        if (buf) {
            std::memcpy(buf, "idx1", 4);
            put32(buf + 4, static_cast<uint32_t>(16 * n));
            for (size_t i = 0; i < n; ++i) {
                unsigned char* p = buf + 8 + 16 * i;
                std::memcpy(p, a->idx[i].tag, 4);
                put32(p + 4, a->idx[i].flags);
                put32(p + 8, a->idx[i].pos);
                put32(p + 12, a->idx[i].len);
            }
            indexWritten = writeAllAt(a->fdes, buf, 8 + 16 * n, idxStart);
            std::free(buf);
        }
    }
    int ret = 0;
    if (indexWritten) {
        a->pos = idxStart + 8 + 16 * static_cast<int64_t>(a->n_idx);
    } else {
        AVI_errno = AVI_ERR_WRITE_INDEX;
        ret = -1;
    }
    unsigned char hdr[kHeaderBytes];
    buildHeader(a, hdr, true, indexWritten, a->pos, idxStart);
    if (!writeAllAt(a->fdes, hdr, kHeaderBytes, 0) || ftruncate(a->fdes, a->pos) != 0) {
        AVI_errno = AVI_ERR_CLOSE;
        return -1;
    }
    return ret;
}

} // namespace

int AVI_close(avi_t* a)
{
    if (!a)
        return -1;
    int ret = 0;
    if (a->mode == AVI_MODE_WRITE)
        ret = finishWrite(a);
    if (::close(a->fdes) != 0 && ret == 0 && a->mode == AVI_MODE_WRITE) {
        AVI_errno = AVI_ERR_CLOSE;
        ret = -1;
    }
    std::free(a->idx);
    std::free(a->video_index);
    std::free(a->bitmap_info_header);
    for (int j = 0; j < AVI_MAX_TRACKS; ++j) {
        std::free(a->track[j].audio_index);
        std::free(a->wave_format_ex[j]);
    }
    std::free(a);
    return ret;
}
