#include "kovocrenginepool.h"

#include "kovocrengine.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

KOVOcrEnginePool& KOVOcrEnginePool::instance()
{
    // Pages recognise one frame at a time each and normally only the visible
    // page recognises; two engines cover a page plus the restore burst of a
    // report without holding a hundred of them.
    static KOVOcrEnginePool pool(std::max(1, std::min(2, QThread::idealThreadCount())));
    // The engine library keeps its loaded data in a cache of its own that is
    // destroyed with the other static objects, possibly before this pool:
    // end the engines while the application object still exists.
    static const bool registered = [] {
        qAddPostRoutine([] { KOVOcrEnginePool::instance().shutdown(); });
        return true;
    }();
    Q_UNUSED(registered);
    return pool;
}

KOVOcrEnginePool::KOVOcrEnginePool(int maxEngines)
    : m_max(std::max(1, maxEngines))
{
}

KOVOcrEnginePool::~KOVOcrEnginePool()
{
    {
        QMutexLocker lock(&m_mutex);
        m_shutdown = true;
    }
    shutdown();
}

KOVOcrEngine* KOVOcrEnginePool::acquire()
{
    QMutexLocker lock(&m_mutex);
    ++m_waiting;
    while (m_idle.isEmpty() && m_created >= m_max)
        m_returned.wait(&m_mutex);
    --m_waiting;
    if (!m_idle.isEmpty())
        return m_idle.takeLast();
    ++m_created;
    // Start outside the lock: loading takes long and other borrowers may
    // meanwhile get an engine that is returned.
    lock.unlock();
    return new KOVOcrEngine;
}

void KOVOcrEnginePool::release(KOVOcrEngine* engine)
{
    if (!engine)
        return;
    QMutexLocker lock(&m_mutex);
    if (m_shutdown) {
        --m_created;
        lock.unlock();
        delete engine;
        return;
    }
    m_idle.append(engine);
    m_returned.wakeOne();
}

int KOVOcrEnginePool::engineCount()
{
    QMutexLocker lock(&m_mutex);
    return m_created;
}

int KOVOcrEnginePool::waiting()
{
    QMutexLocker lock(&m_mutex);
    return m_waiting;
}

void KOVOcrEnginePool::shutdown()
{
    QList<KOVOcrEngine*> idle;
    {
        QMutexLocker lock(&m_mutex);
        idle.swap(m_idle);
        m_created -= idle.size();
    }
    qDeleteAll(idle);
}
