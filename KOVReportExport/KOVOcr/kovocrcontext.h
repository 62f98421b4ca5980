#ifndef KOVOCRCONTEXT_H
#define KOVOCRCONTEXT_H

#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <opencv2/core.hpp>

#include <functional>
#include <memory>

class QObject;
class KOVOcrEnginePool;

// The OCR side of one review page, shared with the worker that recognises
// for it, so the worker never reaches into the page itself.
//
// Requests come from the interface thread, one per shown picture or frame.
// Only the newest request counts: each one gets the next generation number,
// a request still waiting is replaced by a newer one, a result whose
// generation is no longer current is dropped, and invalidate() retires every
// request made so far (another item is shown, or a locked frame shows its
// stored reading). One worker thread per page at a time recognises, with an
// engine borrowed from the shared pool, under the page's OCR lock.
//
// Results are posted to `receiver` on its thread. shutdown() (the page's
// destructor) stops posting and waits for the worker, so the receiver is
// never used after it is gone. A worker that gets the lock or an engine only
// after the page began to close, or after its request was replaced, returns
// it without recognising.
class KOVOcrContext : public std::enable_shared_from_this<KOVOcrContext>
{
public:
    using Deliver = std::function<void(quint64 generation, const QString& text)>;

    static std::shared_ptr<KOVOcrContext> create(QObject* receiver, Deliver deliver, KOVOcrEnginePool* pool = nullptr);
    ~KOVOcrContext();

    // Interface thread. Cuts the reading's region out of image and queues it.
    // False when the image holds no such region (empty or too small); the
    // caller then shows "/" and earlier requests are retired all the same.
    bool request(const cv::Mat& image);
    void invalidate();
    // Whether a delivered result belongs to the newest request.
    bool isCurrent(quint64 generation) const;

    // Closing: no more results are posted, waiting requests are dropped, and
    // the call returns once the worker has ended. Idempotent.
    void shutdown();

    // For tests and measurements: recognitions actually run, and whether a
    // worker is running.
    int recognitions() const;
    bool busy() const;

private:
    KOVOcrContext(QObject* receiver, Deliver deliver, KOVOcrEnginePool* pool);
    void work();
    // Neither closing nor replaced by a newer request.
    bool isWanted(quint64 generation) const;

    QObject* m_receiver;
    Deliver m_deliver;
    KOVOcrEnginePool* m_pool;

    QMutex m_ocrLock; // held for a whole recognition

    mutable QMutex m_stateLock; // guards everything below
    QWaitCondition m_idle;
    quint64 m_generation = 0;
    cv::Mat m_pending;
    quint64 m_pendingGeneration = 0;
    bool m_hasPending = false;
    bool m_workerRunning = false;
    bool m_closing = false;
    int m_recognitions = 0;
};

#endif // KOVOCRCONTEXT_H
