// Field getters and error texts of the container.
#include "avilib.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char* const kErrors[] = {
    "avilib - No Error",
    "avilib - AVI file size limit reached",
    "avilib - Error opening AVI file",
    "avilib - Error reading from AVI file",
    "avilib - Error writing to AVI file",
    "avilib - Error writing index (file may still be useable)",
    "avilib - Error closing AVI file",
    "avilib - Operation (read/write) not permitted",
    "avilib - Out of memory (malloc failed)",
    "avilib - Not an AVI file",
    "avilib - AVI file has no header list (corrupted?)",
    "avilib - AVI file has no MOVI list (corrupted?)",
    "avilib - AVI file has no video data",
    "avilib - operation needs an index",
    "avilib - Unkown Error",
};
const int kErrorCount = sizeof kErrors / sizeof kErrors[0];

int errorIndex()
{
    return (AVI_errno < 0 || AVI_errno >= kErrorCount) ? kErrorCount - 1 : AVI_errno;
}

bool hasSystemReason(int e)
{
    return e >= AVI_ERR_OPEN && e <= AVI_ERR_CLOSE;
}

const track_s* track(avi_t* a)
{
    return a ? &a->track[a->aptr] : nullptr;
}

} // namespace

const char* AVI_strerror()
{
    static char text[4096];
    const int e = errorIndex();
    if (!hasSystemReason(e))
        return kErrors[e];
    std::snprintf(text, sizeof text, "%s - %s", kErrors[e], std::strerror(errno));
    return text;
}

void AVI_print_error(const char* str)
{
    const int e = errorIndex();
    std::fprintf(stderr, "%s: %s\n", str ? str : "", kErrors[e]);
    if (hasSystemReason(e))
        std::perror("REASON");
}

long AVI_video_frames(avi_t* a) { return a ? a->video_frames : 0; }
int AVI_video_width(avi_t* a) { return a ? a->width : 0; }
int AVI_video_height(avi_t* a) { return a ? a->height : 0; }
double AVI_frame_rate(avi_t* a) { return a ? a->fps : 0.0; }
char* AVI_video_compressor(avi_t* a) { return a ? a->compressor2 : nullptr; }
long AVI_max_video_chunk(avi_t* a) { return a ? static_cast<long>(a->max_len) : 0; }
int AVI_audio_tracks(avi_t* a) { return a ? a->anum : 0; }
int AVI_audio_channels(avi_t* a) { return a ? static_cast<int>(track(a)->a_chans) : 0; }
long AVI_audio_mp3rate(avi_t* a) { return a ? track(a)->mp3rate : 0; }
int AVI_audio_bits(avi_t* a) { return a ? static_cast<int>(track(a)->a_bits) : 0; }
int AVI_audio_format(avi_t* a) { return a ? static_cast<int>(track(a)->a_fmt) : 0; }
long AVI_audio_rate(avi_t* a) { return a ? track(a)->a_rate : 0; }
long AVI_audio_bytes(avi_t* a) { return a ? static_cast<long>(track(a)->audio_bytes) : 0; }
long AVI_audio_chunks(avi_t* a) { return a ? track(a)->audio_chunks : 0; }
long AVI_audio_codech_offset(avi_t* a) { return a ? static_cast<long>(track(a)->a_codech_off) : 0; }
long AVI_audio_codecf_offset(avi_t* a) { return a ? static_cast<long>(track(a)->a_codecf_off) : 0; }
long AVI_video_codech_offset(avi_t* a) { return a ? static_cast<long>(a->v_codech_off) : 0; }
long AVI_video_codecf_offset(avi_t* a) { return a ? static_cast<long>(a->v_codecf_off) : 0; }
