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

// msync refuses unmapped memory.
bool isMapped(const void* addr)
{
    const uintptr_t page = uintptr_t(addr) & ~uintptr_t(::sysconf(_SC_PAGESIZE) - 1);
    return ::msync(reinterpret_cast<void*>(page), 1, MS_ASYNC) == 0 || errno != ENOMEM;
}

stack_t currentStack()
{
    stack_t s {};
    ::sigaltstack(nullptr, &s);
    return s;
}

} // namespace

class TstThreadStack : public QObject
{
    Q_OBJECT
private slots:
    void runsHandTheirStacksBack()
    {
        const int runs = 2000;
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

    void scopeOnPlainThread_data()
    {
        QTest::addColumn<bool>("hadStack");
        QTest::newRow("thread without a signal stack") << false;
        QTest::newRow("thread with a signal stack of its own") << true;
    }
    void scopeOnPlainThread()
    {
        QFETCH(bool, hadStack);
        stack_t inside {}, after {};
        static char own[128 * 1024];
        std::thread worker([&] {
            if (hadStack) {
                stack_t s {};
                s.ss_sp = own;
                s.ss_size = sizeof own;
                ::sigaltstack(&s, nullptr);
            }
            {
                const KOVCrashHandler::ThreadStackScope scope;
                inside = currentStack();
            }
            after = currentStack();
            KOVCrashHandler::releaseThread(); // a second release does nothing
        });
        worker.join();
        QVERIFY(!(inside.ss_flags & SS_DISABLE));
        // A stack the thread had is neither replaced nor taken away; one the
        // scope made is switched off before it is unmapped.
        QCOMPARE(inside.ss_size, hadStack ? sizeof own : kStackSize);
        QCOMPARE(bool(after.ss_flags & SS_DISABLE), !hadStack);
        if (hadStack)
            QCOMPARE(after.ss_sp, static_cast<void*>(own));
    }
};

QTEST_GUILESS_MAIN(TstThreadStack)
#include "tst_threadstack.moc"
