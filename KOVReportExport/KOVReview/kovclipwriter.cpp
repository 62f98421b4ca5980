#include "kovclipwriter.h"

#include "avilib.h"
#include "kovclipnames.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {
// Frames waiting for the encoder: beyond this the caller waits, so a slow
// disk costs playback smoothness instead of unbounded memory.
const size_t kMaxQueued = 32;
}

struct KOVClipWriterPrivate
{
    avi_t* avi = nullptr;
    std::thread worker;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable room;
    std::deque<QImage> queue;
    bool stopping = false;
    // Written by the worker only; read after it has ended.
    int written = 0;
    QString error;

    void run();
    bool writeOne(const QImage& frame);
};

bool KOVClipWriterPrivate::writeOne(const QImage& frame)
{
    QByteArray bytes;
    QString why;
    if (!KOVClipNames::encodeJpeg(frame, &bytes, &why)) {
        error = QStringLiteral("frame %1 not encoded: %2").arg(written).arg(why);
        return false;
    }
    if (AVI_write_frame(avi, bytes.constData(), bytes.size(), 1) != 0) {
        error = QStringLiteral("frame %1 not written: %2").arg(written).arg(QString::fromLocal8Bit(AVI_strerror()));
        return false;
    }
    ++written;
    return true;
}

void KOVClipWriterPrivate::run()
{
#ifdef Q_OS_LINUX
    // Below the interface thread: woken by a new frame, the encoder would
    // otherwise take the processor from the playback that queued it.
    setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10);
#endif
    bool failed = false;
    for (;;) {
        QImage frame;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty())
                return;
            frame = std::move(queue.front());
            queue.pop_front();
        }
        room.notify_one();
        // After a failed frame the rest are dropped: a clip with a gap would
        // look whole to the player.
        if (!failed)
            failed = !writeOne(frame);
    }
}

KOVClipWriter::KOVClipWriter()
    : d(new KOVClipWriterPrivate)
{
}

KOVClipWriter::~KOVClipWriter()
{
    close();
}

bool KOVClipWriter::open(const QString& path, int width, int height, double fps)
{
    close();
    d->error.clear();
    d->written = 0;
    d->avi = AVI_open_output_file(QFile::encodeName(path).constData());
    if (!d->avi) {
        d->error = QString::fromLocal8Bit(AVI_strerror());
        return false;
    }
    AVI_set_video(d->avi, width, height, fps, "MJPG");
    d->stopping = false;
    d->worker = std::thread([this] { d->run(); });
    return true;
}

bool KOVClipWriter::isOpen() const
{
    return d->avi != nullptr;
}

void KOVClipWriter::addFrame(const QImage& frame, bool wake)
{
    if (!d->avi)
        return;
    {
        std::unique_lock<std::mutex> lock(d->mutex);
        d->room.wait(lock, [this] { return d->queue.size() < kMaxQueued; });
        d->queue.push_back(frame);
    }
    if (wake)
        d->wake.notify_one();
}

void KOVClipWriter::wake()
{
    d->wake.notify_one();
}

bool KOVClipWriter::close()
{
    if (!d->avi)
        return false;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = true;
    }
    d->wake.notify_one();
    d->worker.join();
    const bool framesOk = d->error.isEmpty();
    const bool closed = AVI_close(d->avi) == 0;
    d->avi = nullptr;
    if (!closed && framesOk)
        d->error = QString::fromLocal8Bit(AVI_strerror());
    return framesOk && closed;
}

int KOVClipWriter::framesWritten() const
{
    return d->written;
}

QString KOVClipWriter::error() const
{
    return d->error;
}
