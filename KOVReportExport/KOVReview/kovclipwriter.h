#ifndef KOVCLIPWRITER_H
#define KOVCLIPWRITER_H

#include <QImage>
#include <QString>

#include <memory>

struct KOVClipWriterPrivate;

// Writes a clip video: each frame given is encoded as a JPEG of quality 100
// and written as one key frame of an MJPG AVI. Encoding takes longer than a
// playback tick may spend, so it runs on a thread of the writer's own, one
// frame after another in the order given; the caller only queues.
class KOVClipWriter
{
public:
    KOVClipWriter();
    ~KOVClipWriter(); // closes an open clip
    KOVClipWriter(const KOVClipWriter&) = delete;
    KOVClipWriter& operator=(const KOVClipWriter&) = delete;

    // Creates the file (replacing one of that name) and declares its video.
    // False when the file cannot be created; error() says why.
    bool open(const QString& path, int width, int height, double fps);
    bool isOpen() const;
    // Queues a frame; nothing while no clip is open. With wake false the
    // encoder starts on it only at the next wake() (or close()), so a caller
    // can finish its own work on the frame first.
    void addFrame(const QImage& frame, bool wake = true);
    void wake();
    // Writes what is queued, the index and the header. False when any frame
    // or the closing failed; the file is then not a usable clip.
    bool close();

    int framesWritten() const;
    QString error() const;

private:
    std::unique_ptr<KOVClipWriterPrivate> d;
};

#endif // KOVCLIPWRITER_H
