// Reading positions and reads of the container's reader.
#include "avilib.h"
#include "avilibpriv.h"

#include <cstring>

using namespace avi;

namespace {

bool readable(avi_t* a)
{
    if (!a)
        return false;
    if (a->mode == AVI_MODE_WRITE) {
        AVI_errno = AVI_ERR_NOT_PERM;
        return false;
    }
    return true;
}

bool hasVideoIndex(avi_t* a)
{
    if (!a->video_index && a->video_frames > 0) {
        AVI_errno = AVI_ERR_NO_IDX;
        return false;
    }
    return true;
}

} // namespace

long AVI_frame_size(avi_t* a, long frame)
{
    if (!readable(a) || !hasVideoIndex(a))
        return -1;
    if (frame < 0 || frame >= a->video_frames)
        return 0;
    return static_cast<long>(a->video_index[frame].len);
}

long AVI_audio_size(avi_t* a, long chunk)
{
    if (!readable(a))
        return -1;
    const track_s& t = a->track[a->aptr];
    if (chunk < 0 || chunk >= t.audio_chunks || !t.audio_index)
        return 0;
    return static_cast<long>(t.audio_index[chunk].len);
}

long AVI_get_video_position(avi_t* a, long frame)
{
    if (!readable(a) || !hasVideoIndex(a))
        return -1;
    if (frame < 0 || frame >= a->video_frames)
        return 0;
    return static_cast<long>(a->video_index[frame].pos);
}

int AVI_seek_start(avi_t* a)
{
    if (!readable(a))
        return -1;
    a->video_pos = 0;
    a->pos = a->movi_start;
    for (int j = 0; j < a->anum; ++j) {
        a->track[j].audio_posc = 0;
        a->track[j].audio_posb = 0;
    }
    return 0;
}

int AVI_set_video_position(avi_t* a, long frame)
{
    if (!readable(a) || !hasVideoIndex(a))
        return -1;
    if (frame < 0)
        frame = 0;
    a->video_pos = static_cast<int>(frame > a->video_frames ? a->video_frames : frame);
    return 0;
}

int AVI_set_audio_position(avi_t* a, long byte)
{
    if (!readable(a))
        return -1;
    track_s& t = a->track[a->aptr];
    if (!t.audio_index) {
        AVI_errno = AVI_ERR_NO_IDX;
        return -1;
    }
    if (byte < 0)
        byte = 0;
    long n = 0;
    while (n < t.audio_chunks - 1 && t.audio_index[n].tot + t.audio_index[n].len <= byte)
        ++n;
    t.audio_posc = n;
    const int64_t within = byte - t.audio_index[n].tot;
    t.audio_posb = within < t.audio_index[n].len ? within : t.audio_index[n].len;
    return 0;
}

long AVI_read_frame(avi_t* a, char* vidbuf, int* keyframe)
{
    if (!readable(a) || !hasVideoIndex(a))
        return -1;
    if (a->video_pos < 0 || a->video_pos >= a->video_frames)
        return -1;
    const video_index_entry& e = a->video_index[a->video_pos];
    if (keyframe)
        *keyframe = (e.key & 0x10) ? 1 : 0;
    if (vidbuf && e.len > 0 && !readAllAt(a->fdes, vidbuf, static_cast<size_t>(e.len), e.pos)) {
        AVI_errno = AVI_ERR_READ;
        return -1;
    }
    a->video_pos++;
    return static_cast<long>(e.len);
}

long AVI_read_audio(avi_t* a, char* audbuf, long bytes)
{
    if (!readable(a))
        return -1;
    track_s& t = a->track[a->aptr];
    if (!t.audio_index) {
        AVI_errno = AVI_ERR_NO_IDX;
        return -1;
    }
    long done = 0;
    while (done < bytes && t.audio_posc < t.audio_chunks) {
        const audio_index_entry& e = t.audio_index[t.audio_posc];
        const int64_t left = e.len - t.audio_posb;
        if (left <= 0) {
            t.audio_posc++;
            t.audio_posb = 0;
            continue;
        }
        const int64_t n = left < bytes - done ? left : bytes - done;
        if (!readAllAt(a->fdes, audbuf + done, static_cast<size_t>(n), e.pos + t.audio_posb)) {
            AVI_errno = AVI_ERR_READ;
            return -1;
        }
        done += static_cast<long>(n);
        t.audio_posb += n;
    }
    return done;
}

long AVI_read_audio_chunk(avi_t* a, char* audbuf)
{
    if (!readable(a))
        return -1;
    track_s& t = a->track[a->aptr];
    if (!t.audio_index) {
        AVI_errno = AVI_ERR_NO_IDX;
        return -1;
    }
    if (t.audio_posc >= t.audio_chunks)
        return 0;
    const audio_index_entry& e = t.audio_index[t.audio_posc];
    const int64_t left = e.len - t.audio_posb;
    if (!audbuf)
        return static_cast<long>(left);
    if (left > 0 && !readAllAt(a->fdes, audbuf, static_cast<size_t>(left), e.pos + t.audio_posb)) {
        AVI_errno = AVI_ERR_READ;
        return -1;
    }
    t.audio_posc++;
    t.audio_posb = 0;
    return static_cast<long>(left);
}

int AVI_read_data(avi_t* a, char* vidbuf, long max_vidbuf, char* audbuf, long max_audbuf, long* len)
{
    if (!readable(a))
        return -1;
    unsigned char head[8];
    while (a->pos + 8 <= a->movi_end) {
        if (!readAllAt(a->fdes, head, 8, a->pos)) {
            AVI_errno = AVI_ERR_READ;
            return -1;
        }
        const int64_t n = get32(head + 4);
        if (std::memcmp(head, "LIST", 4) == 0) {
            a->pos += 12;
            continue;
        }
        if (n > a->movi_end - a->pos - 8)
            return 0;
        const int64_t data = a->pos + 8;
        a->pos = data + n + (n & 1);
        const bool video = std::memcmp(head, a->video_tag, 3) == 0;
        const bool audio = a->anum > 0 && std::memcmp(head, a->track[a->aptr].audio_tag, 4) == 0;
        if (!video && !audio)
            continue;
        if (len)
            *len = static_cast<long>(n);
        char* buf = video ? vidbuf : audbuf;
        const long room = video ? max_vidbuf : max_audbuf;
        if (n > room || (!buf && n > 0)) {
            AVI_errno = AVI_ERR_READ;
            return -1;
        }
        if (n > 0 && !readAllAt(a->fdes, buf, static_cast<size_t>(n), data)) {
            AVI_errno = AVI_ERR_READ;
            return -1;
        }
        return video ? 1 : 2;
    }
    return 0;
}
