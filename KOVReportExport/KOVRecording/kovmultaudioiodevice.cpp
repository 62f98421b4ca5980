#include "kovmultaudioiodevice.h"

#include "kovaudioframe.h"
#include "kovaudioframebuffer.h"
#include "kovmultaudio64fileio.h"
#include "kovmultaudioframe.h"
#include "kovmultaudioframebuffer.h"

#include <QMutex>
#include <QMutexLocker>
#include <vector>

namespace {
const int kChannels = 128;
const int kFileRate = 96000;
const int kFrame = 1024;
}

class KOVMultAudioIODevicePrivate
{
public:
    KOVMultAudioIO* m_io = nullptr;
    int m_sampleRate = 96000;
    bool m_isOpen = false;
    mutable QMutex m_locker;

    // Frames to read: the asked count when it fits what is left, else all
    // that is left.
    int framesToRead(int asked) const
    {
        const int remaining = m_io->maxIndex() - m_io->curIndex();
        return (asked >= 1 && asked < remaining) ? asked : remaining;
    }
};

KOVMultAudioIODevice::KOVMultAudioIODevice()
    : d(new KOVMultAudioIODevicePrivate)
{
}

KOVMultAudioIODevice::~KOVMultAudioIODevice()
{
    close();
    delete d;
}

bool KOVMultAudioIODevice::open(char const* path)
{
    QMutexLocker lock(&d->m_locker);
    if (d->m_io)
        return false;
    KOVMultAudioIO* io = new KOVMultAudio64FileIO(kChannels, kFileRate);
    if (!io->open(path)) {
        delete io;
        return false;
    }
    d->m_io = io;
    d->m_isOpen = true;
    return true;
}

bool KOVMultAudioIODevice::isOpen() const
{
    QMutexLocker lock(&d->m_locker);
    return d->m_io != nullptr;
}

void KOVMultAudioIODevice::close()
{
    QMutexLocker lock(&d->m_locker);
    if (!d->m_io)
        return;
    d->m_io->close();
    delete d->m_io;
    d->m_io = nullptr;
    d->m_isOpen = false;
}

void KOVMultAudioIODevice::setSampleRate(int rate)
{
    QMutexLocker lock(&d->m_locker);
    d->m_sampleRate = rate;
}

int KOVMultAudioIODevice::sampleRate() const
{
    QMutexLocker lock(&d->m_locker);
    return d->m_sampleRate;
}

bool KOVMultAudioIODevice::readFrame(KOVMultAudioFrame* frame, int offset)
{
    QMutexLocker lock(&d->m_locker);
    KOVMultAudioIO* io = d->m_io;
    if (!io || !frame || !io->seek(offset))
        return false;
    frame->m_timeStamp = io->timeStamp();
    frame->allocate(io->channels());
    return io->fill(frame->data());
}

bool KOVMultAudioIODevice::readFrame(KOVAudioFrame* frame, int index)
{
    QMutexLocker lock(&d->m_locker);
    KOVMultAudioIO* io = d->m_io;
    if (!io || !frame || frame->m_channel < 0 || frame->m_channel >= io->channels())
        return false;
    const int was = io->curIndex();
    if (index < 0)
        index += io->maxIndex();
    if (!io->reSeek(index))
        return false;
    frame->m_timeStamp = io->timeStamp();
    frame->m_data.resize(static_cast<size_t>(frame->m_dataLength));
    const bool ok = io->fill(frame->m_data.data(), frame->m_channel);
    io->reSeek(was);
    return ok;
}

bool KOVMultAudioIODevice::readFrameBuffer(KOVMultAudioFrameBuffer* buffer, int offset)
{
    QMutexLocker lock(&d->m_locker);
    KOVMultAudioIO* io = d->m_io;
    if (!io || !buffer || !io->seek(offset))
        return false;
    const int frames = d->framesToRead(buffer->m_frameCount);
    buffer->m_timeStamp = io->timeStamp();
    buffer->m_frameCount = frames;
    const int channels = io->channels();
    buffer->allocate(channels, frames);
    std::vector<short*> at(static_cast<size_t>(channels));
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c)
            at[static_cast<size_t>(c)] = buffer->m_data[static_cast<size_t>(c)] + static_cast<size_t>(f) * kFrame;
        if (!io->fill(at.data()))
            return false;
    }
    return true;
}

bool KOVMultAudioIODevice::readFrameBuffer(KOVAudioFrameBuffer* buffer, int index)
{
    QMutexLocker lock(&d->m_locker);
    KOVMultAudioIO* io = d->m_io;
    if (!io || !buffer || buffer->m_channel < 0 || buffer->m_channel >= io->channels())
        return false;
    const int was = io->curIndex();
    if (index < 0)
        index += io->maxIndex();
    if (!io->reSeek(index))
        return false;
    const int frames = d->framesToRead(buffer->m_frameCount);
    buffer->m_timeStamp = io->timeStamp();
    buffer->m_frameCount = frames;
    buffer->m_data.resize(static_cast<size_t>(frames) * static_cast<size_t>(buffer->m_dataLength));
    bool ok = true;
    for (int f = 0; f < frames && ok; ++f)
        ok = io->fill(buffer->m_data.data() + static_cast<size_t>(f) * kFrame, buffer->m_channel);
    io->reSeek(was);
    return ok;
}

int KOVMultAudioIODevice::curIndex() const
{
    QMutexLocker lock(&d->m_locker);
    return d->m_io ? d->m_io->curIndex() : 0;
}

int KOVMultAudioIODevice::maxIndex() const
{
    QMutexLocker lock(&d->m_locker);
    return d->m_io ? d->m_io->maxIndex() : 0;
}

int KOVMultAudioIODevice::minIndex() const
{
    QMutexLocker lock(&d->m_locker);
    KOVMultAudioIO* io = d->m_io;
    if (!io)
        return 0;
    const int was = io->curIndex();
    io->reSeek(0);
    const int r = io->curIndex();
    io->reSeek(was);
    return r;
}
