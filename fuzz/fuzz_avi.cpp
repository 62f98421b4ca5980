// A clip: the container reader, then every frame and every audio track read
// through each way the reader offers.
#include "avilib.h"
#include "kovfuzzfile.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    if (size < 1)
        return 0;
    // The first byte picks between the idx1 index and a scan of the movi list.
    const QString path = KOVFuzz::writeInput(QStringLiteral("clip.avi"), data + 1, size - 1);
    avi_t* a = AVI_open_input_file(path.toLocal8Bit().constData(), data[0] & 1);
    if (!a)
        return 0;
    const long frames = AVI_video_frames(a);
    std::vector<char> buf;
    for (long f = 0; f < frames && f < 64; ++f) {
        const long n = AVI_frame_size(a, f);
        KOVFuzz::check(n >= 0, "frame sizes are not negative");
        buf.resize(size_t(n) + 1);
        int key = 0;
        AVI_set_video_position(a, f);
        KOVFuzz::check(AVI_read_frame(a, buf.data(), &key) == n, "a frame reads as long as its size");
    }
    for (int t = 0; t < AVI_audio_tracks(a); ++t) {
        KOVFuzz::check(AVI_set_audio_track(a, t) == 0, "every counted track can be chosen");
        const long chunks = AVI_audio_chunks(a);
        for (long c = 0; c < chunks && c < 64; ++c) {
            const long n = AVI_audio_size(a, c);
            KOVFuzz::check(n >= 0, "chunk sizes are not negative");
        }
        AVI_set_audio_position(a, 0);
        buf.resize(4096);
        AVI_read_audio(a, buf.data(), long(buf.size()));
        AVI_set_audio_position(a, 0);
        const long next = AVI_read_audio_chunk(a, nullptr);
        if (next >= 0 && next < (1 << 24)) {
            buf.resize(size_t(next) + 1);
            AVI_read_audio_chunk(a, buf.data());
        }
    }
    AVI_seek_start(a);
    std::vector<char> vid(1 << 16), aud(1 << 16);
    long len = 0;
    for (int i = 0; i < 64 && AVI_read_data(a, vid.data(), long(vid.size()), aud.data(), long(aud.size()), &len) > 0; ++i) {
    }
    AVI_close(a);
    return 0;
}
