#include "kovmultaudioio.h"

KOVMultAudioIO::~KOVMultAudioIO() = default;

int KOVMultAudioIO::channels()
{
    return 0;
}

void KOVMultAudioIO::close()
{
}

float KOVMultAudioIO::timeStamp()
{
    return 0.0f;
}

int KOVMultAudioIO::curIndex()
{
    return 0;
}

int KOVMultAudioIO::maxIndex()
{
    return 0;
}

void KOVMultAudioIO::setSampleRate(int)
{
}
