// A WAV file of an item: the header reader on the bytes, the loader on the file.
#include "kovfuzzfile.h"
#include "kovreadaudio.h"
#include "kovwavheader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    KOVWavHeader header;
    QString why;
    if (header.parse(data, qint64(size), &why)) {
        KOVFuzz::check(header.channels() > 0 && header.dataOffset() >= 0 && header.dataLength() >= 0
                           && header.dataOffset() + header.dataLength() <= qint64(size),
                       "the samples lie inside the file");
    }
    KOVReadAudio audio;
    if (audio.initAudioData(KOVFuzz::writeInput(QStringLiteral("audio.wav"), data, size))) {
        // Every counted sample is read, so a short buffer shows.
        const qint64 samples = qint64(audio.getFrameCnt()) * 1024 * audio.getAudioChannels();
        KOVFuzz::check(samples == 0 || audio.getAudioData(), "counted samples have data");
        long sum = 0;
        for (qint64 i = 0; i < samples; ++i)
            sum += audio.getAudioData()[i];
        (void)sum;
    } else {
        KOVFuzz::check(!audio.getAudioData() && audio.getFrameCnt() == 0, "a failed load leaves nothing");
    }
    return 0;
}
