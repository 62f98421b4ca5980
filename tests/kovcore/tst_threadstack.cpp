// Worker-thread runs give their signal stacks back: the OCR starts one run per
// shown frame, so a stack kept per run fills the address space during a long
// playback session.
#include "kovcrashhandler.h"
#include "kovthread.h"

#include <QFile>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <cstring>
#include <thread>

// The address sanitizer gives every thread a signal stack of its own, and the
// crash handler then keeps that one: without this the path under test would
// not run in the sanitizer build.
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options()
{
    return "use_sigaltstack=0";
}

namespace {

const size_t kStackSize = 64 * 1024;

// Bytes of every mapping of the process.
qint64 mappedBytes()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    qint64 total = 0;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const int dash = line.indexOf('-');
        const int blank = line.indexOf(' ');
        if (dash <= 0 || blank <= dash)
            continue;
        const quint64 from = line.left(dash).toULongLong(nullptr, 16);
        const quint64 to = line.mid(dash + 1, blank - dash - 1).toULongLong(nullptr, 16);
        total += qint64(to - from);
    }
    return total;
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
    // Warm up the thread machinery (stack cache, thread-local blocks) first.
    for (int i = 0; i < 50; ++i)
        KOVThread::run([] {})->wait();
    settle();
    const qint64 before = mappedBytes();
    QVERIFY(before > 0);

    std::atomic<int> withOwnStack { 0 };
    for (int i = 0; i < runs; ++i) {
        KOVThread* t = KOVThread::run([&withOwnStack] {
            const stack_t s = currentStack();
            if (!(s.ss_flags & SS_DISABLE) && s.ss_size == kStackSize)
                ++withOwnStack;
        });
        t->wait();
        if (i % 500 == 0)
            settle();
    }
    settle();
    // Every run went through the crash handler's own stack.
    QCOMPARE(withOwnStack.load(), runs);
    const qint64 grown = mappedBytes() - before;
    // Kept stacks would add runs * 64 KiB (625 MiB); allow for allocator growth.
    QVERIFY2(grown < qint64(runs) * qint64(kStackSize) / 20,
             qPrintable(QStringLiteral("mappings grew by %1 bytes").arg(grown)));
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
