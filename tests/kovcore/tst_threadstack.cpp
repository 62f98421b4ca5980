// Worker-thread runs give their signal stacks back: the OCR starts one run per
// shown frame, so a stack kept per run fills the address space during a long
// playback session.
#include "kovcrashhandler.h"
#include "kovthread.h"

#include <QtTest>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/mman.h>
#include <unistd.h>

// The address sanitizer gives every thread a signal stack of its own, and the
// crash handler then keeps that one: without this the path under test would
// not run in the sanitizer build.
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options()
{
    return "use_sigaltstack=0";
}

namespace {

const size_t kStackSize = 64 * 1024;

// msync refuses unmapped memory.
bool isMapped(const void* addr)
{
    const uintptr_t page = uintptr_t(addr) & ~uintptr_t(::sysconf(_SC_PAGESIZE) - 1);
    return ::msync(reinterpret_cast<void*>(page), 1, MS_ASYNC) == 0 || errno != ENOMEM;
}

} // namespace

class TstThreadStack : public QObject
{
    Q_OBJECT
private slots:
    void runsHandTheirStacksBack()
    {
        const int runs = 2000;
        int withOwnStack = 0, stillMapped = 0;
        for (int i = 0; i < runs; ++i) {
            std::atomic<void*> sp { nullptr };
            KOVThread* t = KOVThread::run([&sp] {
                stack_t s {};
                ::sigaltstack(nullptr, &s);
                if (!(s.ss_flags & SS_DISABLE) && s.ss_size == kStackSize)
                    sp = s.ss_sp;
            });
            t->wait(); // the task and its stack's release are over
            if (void* p = sp.load()) {
                ++withOwnStack;
                stillMapped += isMapped(p);
            }
            if (i % 500 == 0) { // the finished threads delete themselves
                QCoreApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
        }
        // Every run went through the crash handler's own stack, and none kept it.
        QCOMPARE(withOwnStack, runs);
        QCOMPARE(stillMapped, 0);
    }
};

QTEST_GUILESS_MAIN(TstThreadStack)
#include "tst_threadstack.moc"
