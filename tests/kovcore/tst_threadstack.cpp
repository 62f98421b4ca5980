// Worker-thread runs give their signal stacks back: the OCR starts one run per
// shown frame, so a stack kept per run fills the address space during a long
// playback session.
#include "kovcrashhandler.h"
#include "kovthread.h"

#include <QtTest>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mman.h>
#include <thread>
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

// Whether the page holding addr is mapped: msync refuses unmapped memory.
bool isMapped(const void* addr)
{
    const uintptr_t page = uintptr_t(addr) & ~uintptr_t(::sysconf(_SC_PAGESIZE) - 1);
    return ::msync(reinterpret_cast<void*>(page), 1, MS_ASYNC) == 0 || errno != ENOMEM;
}

stack_t currentStack()
{
    stack_t s;
    std::memset(&s, 0, sizeof s);
    ::sigaltstack(nullptr, &s);
    return s;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TstThreadStack : public QObject
{
    Q_OBJECT
private slots:
    void runsHandTheirStacksBack();
    void scopeOnPlainThread_data();
    void scopeOnPlainThread();
};

void TstThreadStack::runsHandTheirStacksBack()
{
    const int runs = 10000;
    int withOwnStack = 0;
    int stillMapped = 0;
    for (int i = 0; i < runs; ++i) {
        std::atomic<void*> sp { nullptr };
        KOVThread* t = KOVThread::run([&sp] {
            const stack_t s = currentStack();
            if (!(s.ss_flags & SS_DISABLE) && s.ss_size == kStackSize)
                sp = s.ss_sp;
        });
        t->wait(); // the task and its stack's release are over
        if (void* p = sp.load()) {
            ++withOwnStack;
            if (isMapped(p))
                ++stillMapped;
        }
        if (i % 500 == 0)
            settle();
    }
    settle();
    // Every run went through the crash handler's own stack, and none kept it
    // (kept, they would hold runs * 64 KiB, 625 MiB).
    QCOMPARE(withOwnStack, runs);
    QCOMPARE(stillMapped, 0);
}

void TstThreadStack::scopeOnPlainThread_data()
{
    QTest::addColumn<bool>("hadStack");
    QTest::newRow("thread without a signal stack") << false;
    QTest::newRow("thread with a signal stack of its own") << true;
}

void TstThreadStack::scopeOnPlainThread()
{
    QFETCH(bool, hadStack);
    struct Seen
    {
        stack_t inside;
        stack_t after;
    } seen;
    static char own[128 * 1024];
    std::thread worker([&] {
        if (hadStack) {
            stack_t s;
            std::memset(&s, 0, sizeof s);
            s.ss_sp = own;
            s.ss_size = sizeof own;
            ::sigaltstack(&s, nullptr);
        }
        {
            const KOVCrashHandler::ThreadStackScope scope;
            seen.inside = currentStack();
        }
        seen.after = currentStack();
        KOVCrashHandler::releaseThread(); // a second release does nothing
    });
    worker.join();
    QVERIFY(!(seen.inside.ss_flags & SS_DISABLE));
    if (hadStack) {
        // The thread's own stack is neither replaced nor taken away.
        QCOMPARE(seen.inside.ss_sp, static_cast<void*>(own));
        QCOMPARE(seen.after.ss_sp, static_cast<void*>(own));
        QVERIFY(!(seen.after.ss_flags & SS_DISABLE));
    } else {
        QCOMPARE(seen.inside.ss_size, kStackSize);
        QVERIFY(seen.after.ss_flags & SS_DISABLE);
    }
}

QTEST_GUILESS_MAIN(TstThreadStack)
#include "tst_threadstack.moc"
