#ifndef AVILIB_H
#define AVILIB_H

// The clip container: a RIFF AVI writer (MJPG video, optional PCM/MP3 audio
// tracks, an idx1 index) and a reader of such files. C-style free functions
// around a handle; failures set AVI_errno and return -1 or null.
//
// File offsets are 64-bit here even though the format stores 32-bit ones: the
// size limit below keeps every stored offset in range, and the arithmetic that
// checks it must not wrap.

#include <cstdint>

#define AVI_MAX_TRACKS 8

struct video_index_entry
{
    int64_t key;
    int64_t pos; // offset of the data, past the chunk header
    int64_t len;
};

struct audio_index_entry
{
    int64_t pos;
    int64_t len;
    int64_t tot; // audio bytes before this chunk
};

// One entry of the idx1 chunk as it is written: tag, flags, absolute offset of
// the chunk's tag, data length.
struct avi_idx1_entry
{
    char tag[4];
    uint32_t flags;
    uint32_t pos;
    uint32_t len;
};

struct track_s
{
    long a_fmt;
    long a_chans;
    long a_rate;
    long a_bits;
    long mp3rate;
    long audio_strn;
    int64_t audio_bytes;
    long audio_chunks;
    char audio_tag[4];
    long audio_posc;
    int64_t audio_posb;
    int64_t a_codech_off;
    int64_t a_codecf_off;
    audio_index_entry* audio_index;
};

struct avi_t
{
    int fdes;
    int mode; // 0 writing, 1 reading
    int width;
    int height;
    double fps;
    char compressor[8];
    char compressor2[8];
    int video_strn;
    int video_frames;
    char video_tag[4];
    int video_pos;
    unsigned max_len;
    track_s track[AVI_MAX_TRACKS];
    int64_t pos; // where the next chunk goes
    int n_idx;
    int max_idx;
    int64_t v_codech_off;
    int64_t v_codecf_off;
    avi_idx1_entry* idx;
    video_index_entry* video_index;
    int64_t last_pos;
    unsigned last_len;
    int must_use_index;
    int64_t movi_start;
    int anum;
    int aptr;
    char* bitmap_info_header;
    char* wave_format_ex[AVI_MAX_TRACKS];
    int64_t movi_end; // reader: end of the movi data within the file
};

#define AVI_MODE_WRITE 0
#define AVI_MODE_READ 1

#define AVI_ERR_SIZELIM 1
#define AVI_ERR_OPEN 2
#define AVI_ERR_READ 3
#define AVI_ERR_WRITE 4
#define AVI_ERR_WRITE_INDEX 5
#define AVI_ERR_CLOSE 6
#define AVI_ERR_NOT_PERM 7
#define AVI_ERR_NO_MEM 8
#define AVI_ERR_NO_AVI 9
#define AVI_ERR_NO_HDRL 10
#define AVI_ERR_NO_MOVI 11
#define AVI_ERR_NO_VIDS 12
#define AVI_ERR_NO_IDX 13

#define WAVE_FORMAT_PCM 0x0001
#define WAVE_FORMAT_MPEGLAYER3 0x0055

extern int AVI_errno;

// Writing
avi_t* AVI_open_output_file(const char* filename);
void AVI_set_video(avi_t* AVI, int width, int height, double fps, const char* compressor);
int AVI_set_audio(avi_t* AVI, int channels, long rate, int bits, int format, long mp3rate);
int AVI_write_frame(avi_t* AVI, const char* data, long bytes, int keyframe);
int AVI_dup_frame(avi_t* AVI);
int AVI_write_audio(avi_t* AVI, const char* data, long bytes);
// Grows the last chunk written by bytes; refused (AVI_ERR_NOT_PERM) unless
// that chunk is audio of the current track.
int AVI_append_audio(avi_t* AVI, const char* data, long bytes);
long AVI_bytes_remain(avi_t* AVI);
long AVI_bytes_written(avi_t* AVI);
int AVI_set_audio_track(avi_t* AVI, int track);
int AVI_get_audio_track(avi_t* AVI);
int AVI_set_audio_bitrate(avi_t* AVI, long bitrate);
unsigned long AVI_max_size();
int AVI_close(avi_t* AVI);

// Reading
avi_t* AVI_open_input_file(const char* filename, int getIndex);
avi_t* AVI_open_fd(int fd, int getIndex);
long AVI_video_frames(avi_t* AVI);
int AVI_video_width(avi_t* AVI);
int AVI_video_height(avi_t* AVI);
double AVI_frame_rate(avi_t* AVI);
char* AVI_video_compressor(avi_t* AVI);
long AVI_max_video_chunk(avi_t* AVI);
int AVI_audio_tracks(avi_t* AVI);
int AVI_audio_channels(avi_t* AVI);
long AVI_audio_mp3rate(avi_t* AVI);
int AVI_audio_bits(avi_t* AVI);
int AVI_audio_format(avi_t* AVI);
long AVI_audio_rate(avi_t* AVI);
long AVI_audio_bytes(avi_t* AVI);
long AVI_audio_chunks(avi_t* AVI);
long AVI_audio_codech_offset(avi_t* AVI);
long AVI_audio_codecf_offset(avi_t* AVI);
long AVI_video_codech_offset(avi_t* AVI);
long AVI_video_codecf_offset(avi_t* AVI);
long AVI_frame_size(avi_t* AVI, long frame);
long AVI_audio_size(avi_t* AVI, long chunk);
long AVI_get_video_position(avi_t* AVI, long frame);
int AVI_seek_start(avi_t* AVI);
int AVI_set_video_position(avi_t* AVI, long frame);
int AVI_set_audio_position(avi_t* AVI, long byte);
long AVI_read_frame(avi_t* AVI, char* vidbuf, int* keyframe);
long AVI_read_audio(avi_t* AVI, char* audbuf, long bytes);
long AVI_read_audio_chunk(avi_t* AVI, char* audbuf);
// Next chunk of the movi list in file order: 1 video, 2 audio, 0 at the end,
// -1 on error or when the buffer is too small (len then holds the size).
int AVI_read_data(avi_t* AVI, char* vidbuf, long max_vidbuf, char* audbuf, long max_audbuf, long* len);

// Errors
const char* AVI_strerror();
void AVI_print_error(const char* str);

#endif // AVILIB_H
