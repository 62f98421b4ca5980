#include "kovocrcontext.h"

#include "kovocrengine.h"
#include "kovocrenginepool.h"
#include "kovocrregion.h"
#include "kovocrtext.h"
#include "kovthread.h"

#include <QMetaObject>
#include <QObject>

std::shared_ptr<KOVOcrContext> KOVOcrContext::create(QObject* receiver, Deliver deliver, KOVOcrEnginePool* pool)
{
    return std::shared_ptr<KOVOcrContext>(
        new KOVOcrContext(receiver, std::move(deliver), pool ? pool : &KOVOcrEnginePool::instance()));
}

KOVOcrContext::KOVOcrContext(QObject* receiver, Deliver deliver, KOVOcrEnginePool* pool)
    : m_receiver(receiver)
    , m_deliver(std::move(deliver))
    , m_pool(pool)
{
}

KOVOcrContext::~KOVOcrContext() = default;

bool KOVOcrContext::request(const cv::Mat& image)
{
    cv::Mat region;
    const bool ok = KOVOcrRegion::cut(image, region);
    QMutexLocker lock(&m_stateLock);
    ++m_generation;
    if (!ok || m_closing) {
        m_hasPending = false;
        m_pending.release();
        return ok;
    }
    m_pending = region;
    m_pendingGeneration = m_generation;
    m_hasPending = true;
    if (!m_workerRunning) {
        m_workerRunning = true;
        std::shared_ptr<KOVOcrContext> self = shared_from_this();
        KOVThread::run([self] { self->work(); });
    }
    return true;
}

void KOVOcrContext::invalidate()
{
    QMutexLocker lock(&m_stateLock);
    ++m_generation;
    m_hasPending = false;
    m_pending.release();
}

bool KOVOcrContext::isCurrent(quint64 generation) const
{
    QMutexLocker lock(&m_stateLock);
    return generation == m_generation;
}

void KOVOcrContext::shutdown()
{
    QMutexLocker lock(&m_stateLock);
    m_closing = true;
    m_hasPending = false;
    m_pending.release();
    while (m_workerRunning)
        m_idle.wait(&m_stateLock);
}

bool KOVOcrContext::isWanted(quint64 generation) const
{
    QMutexLocker lock(&m_stateLock);
    return !m_closing && generation == m_generation;
}

int KOVOcrContext::recognitions() const
{
    QMutexLocker lock(&m_stateLock);
    return m_recognitions;
}

bool KOVOcrContext::busy() const
{
    QMutexLocker lock(&m_stateLock);
    return m_workerRunning;
}

void KOVOcrContext::work()
{
    for (;;) {
        cv::Mat region;
        quint64 generation = 0;
        {
            QMutexLocker lock(&m_stateLock);
            if (m_closing || !m_hasPending) {
                m_workerRunning = false;
                m_idle.wakeAll();
                return;
            }
            region = m_pending;
            generation = m_pendingGeneration;
            m_hasPending = false;
            m_pending.release();
        }

        // A page that is closing waits for this worker: each wait below (the
        // lock, an engine when every shared one is busy) may have outlasted
        // it, and a recognition nobody will see would keep it waiting longer.
        QMutexLocker ocr(&m_ocrLock);
        if (!isWanted(generation))
            continue;
        KOVOcrEngine* engine = m_pool->acquire();
        if (!isWanted(generation)) {
            m_pool->release(engine);
            continue;
        }
        const QString raw = engine->recognise(KOVOcrRegion::binarise(region));
        m_pool->release(engine);
        const QString text = KOVOcrText::postProcess(raw);

        QMutexLocker lock(&m_stateLock);
        ++m_recognitions;
        // Posted, never waited for: the interface thread may itself be
        // waiting on this context (shutdown).
        if (!m_closing && generation == m_generation) {
            Deliver deliver = m_deliver;
            QMetaObject::invokeMethod(
                m_receiver, [deliver, generation, text] { deliver(generation, text); }, Qt::QueuedConnection);
        }
    }
}
