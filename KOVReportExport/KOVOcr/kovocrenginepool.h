#ifndef KOVOCRENGINEPOOL_H
#define KOVOCRENGINEPOOL_H

#include <QList>
#include <QMutex>
#include <QWaitCondition>

class KOVOcrEngine;

// Engines shared by all review pages. A report can hold 100 test-point pages
// and an engine costs about 150 ms and tens of megabytes to start, so pages
// borrow one per recognition instead of owning one each. At most maxEngines()
// exist; a borrower waits while all are busy. Engines live until the process
// ends (or until shutdown() in tests and benchmarks).
class KOVOcrEnginePool
{
public:
    static KOVOcrEnginePool& instance();

    explicit KOVOcrEnginePool(int maxEngines);
    ~KOVOcrEnginePool();

    // Any thread. Never null.
    KOVOcrEngine* acquire();
    void release(KOVOcrEngine* engine);

    int maxEngines() const { return m_max; }
    int engineCount();
    // Borrowers waiting for an engine now.
    int waiting();
    // Ends the idle engines (they are made again on the next need).
    void shutdown();

private:
    QMutex m_mutex;
    QWaitCondition m_returned;
    QList<KOVOcrEngine*> m_idle;
    int m_created = 0;
    int m_waiting = 0;
    int m_max;
    bool m_shutdown = false;
};

#endif // KOVOCRENGINEPOOL_H
