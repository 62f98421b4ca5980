// A stereo WAV file through the multi-channel reader: frames of every channel,
// moves from either end, and buffers of several frames.
#include "kovaudioframe.h"
#include "kovaudioframebuffer.h"
#include "kovfuzzfile.h"
#include "kovmultaudioframe.h"
#include "kovmultaudioframebuffer.h"
#include "kovmultaudioiodevice.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    if (size < 1)
        return 0;
    // The first byte picks the moves; the rest is the file.
    const int pick = data[0];
    KOVMultAudioIODevice dev;
    if (!dev.open(KOVFuzz::writeInput(QStringLiteral("multi.wav"), data + 1, size - 1).toLocal8Bit().constData()))
        return 0;
    const int max = dev.maxIndex();
    KOVMultAudioFrame frame;
    for (const int offset : {0, 1, -1, pick % 7 - 3, max, -max})
        dev.readFrame(&frame, offset);
    KOVAudioFrame one;
    one.setChannel(pick % 130 - 1);
    for (const int index : {0, -1, max - 1, pick - 128})
        dev.readFrame(&one, index);
    KOVMultAudioFrameBuffer buffer;
    buffer.setFrameCount(1 + pick % 4);
    dev.readFrameBuffer(&buffer, pick % 5 - 2);
    KOVAudioFrameBuffer ones;
    ones.setChannel(pick % 3);
    ones.setFrameCount(1 + pick % 3);
    dev.readFrameBuffer(&ones, pick % 9 - 4);
    KOVFuzz::check(dev.curIndex() >= dev.minIndex() && dev.curIndex() <= max, "the position stays in the file");
    dev.close();
    return 0;
}
