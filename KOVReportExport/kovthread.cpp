#include "kovthread.h"

#include "kovcrashhandler.h"

KOVThread::KOVThread(QObject* parent)
    : QThread(parent)
{
}

KOVThread::~KOVThread() = default;

KOVThread* KOVThread::run(std::function<void()> func)
{
    KOVThread* thread = new KOVThread();
    thread->m_func = std::move(func);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::InheritPriority);
    return thread;
}

void KOVThread::run()
{
    // A fault on this thread (stack overflow included) must still reach the
    // crash handler, which needs a signal stack of its own on every thread;
    // it is handed back when the task ends.
    const KOVCrashHandler::ThreadStackScope signalStack;
    if (m_func)
        m_func();
    else
        exec();
}

KOVSync::KOVSync(std::function<void()> func, QObject* parent)
    : QObject(parent)
    , m_func(std::move(func))
{
}

void KOVSync::doSync()
{
    if (m_func)
        m_func();
}
