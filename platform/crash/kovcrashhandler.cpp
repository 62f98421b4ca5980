#include "kovcrashhandler.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace KOVCrashHandler {
namespace {

const int kSignals[] = { SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP };
char g_version[64] = "V0";
Callback g_callback = nullptr;
long g_utcOffset = 0; // seconds; taken at install because localtime is not signal-safe
pid_t g_mainTid = 0;
std::atomic<long> g_handlingTid { 0 };
unsigned g_watchdogSeconds = 8;
std::atomic<int> g_signal { 0 };

// A small append-only text builder over a fixed buffer: no allocation.
struct Text
{
    char buf[512];
    unsigned long len = 0;
    void add(const char* s)
    {
        while (*s && len + 1 < sizeof buf)
            buf[len++] = *s++;
        buf[len] = 0;
    }
    void addUnsigned(unsigned long long v, unsigned base = 10, int width = 0)
    {
        char tmp[32];
        int n = 0;
        do {
            const unsigned d = static_cast<unsigned>(v % base);
            tmp[n++] = static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
            v /= base;
        } while (v && n < 31);
        while (n < width && n < 31)
            tmp[n++] = '0';
        while (n > 0 && len + 1 < sizeof buf)
            buf[len++] = tmp[--n];
        buf[len] = 0;
    }
    void addSigned(long long v)
    {
        if (v < 0) {
            add("-");
            addUnsigned(static_cast<unsigned long long>(-(v + 1)) + 1);
        } else {
            addUnsigned(static_cast<unsigned long long>(v));
        }
    }
};

void writeAll(int fd, const char* data, unsigned long len)
{
    while (len > 0) {
        const ssize_t n = ::write(fd, data, len);
        if (n <= 0)
            return;
        data += n;
        len -= static_cast<unsigned long>(n);
    }
}

void writeText(int fd, const Text& t) { writeAll(fd, t.buf, t.len); }

// Days since 1970-01-01 to a civil date (Howard Hinnant's algorithm).
void civil(long long days, int& y, int& m, int& d)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

const char* signalName(int sig)
{
    switch (sig) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    case SIGTRAP: return "SIGTRAP";
    default: return "signal";
    }
}

void copyMaps(int fd)
{
    const int maps = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (maps < 0)
        return;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(maps, chunk, sizeof chunk);
        if (n <= 0)
            break;
        writeAll(fd, chunk, static_cast<unsigned long>(n));
    }
    ::close(maps);
}

void writeDump(int sig, const siginfo_t* info, unsigned long code)
{
    const long long now = static_cast<long long>(::time(nullptr)) + g_utcOffset;
    long long days = now / 86400;
    long long secs = now % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    int y, mo, d;
    civil(days, y, mo, d);
    const int h = static_cast<int>(secs / 3600), mi = static_cast<int>(secs / 60 % 60), s = static_cast<int>(secs % 60);

    char path[256];
    dumpFileName(path, sizeof path, g_version, y, mo, d, h, mi, s);
    const int fd = ::open(path, O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return; // no dump folder: the log line and the cache still follow

    Text t;
    t.add("KOV crash dump 1\nversion: ");
    t.add(g_version);
    t.add("\ntime: ");
    t.addUnsigned(static_cast<unsigned>(y), 10, 4); t.add("-");
    t.addUnsigned(static_cast<unsigned>(mo), 10, 2); t.add("-");
    t.addUnsigned(static_cast<unsigned>(d), 10, 2); t.add(" ");
    t.addUnsigned(static_cast<unsigned>(h), 10, 2); t.add(":");
    t.addUnsigned(static_cast<unsigned>(mi), 10, 2); t.add(":");
    t.addUnsigned(static_cast<unsigned>(s), 10, 2);
    t.add("\npid: ");
    t.addSigned(::getpid());
    t.add("\ntid: ");
    t.addSigned(::syscall(SYS_gettid));
    t.add("\nsignal: ");
    t.addSigned(sig);
    t.add(" (");
    t.add(signalName(sig));
    t.add(")\ncode: ");
    t.addSigned(info ? info->si_code : 0);
    t.add("\nexception: 0x");
    t.addUnsigned(code, 16);
    t.add("\naddress: 0x");
    t.addUnsigned(reinterpret_cast<unsigned long long>(info ? info->si_addr : nullptr), 16);
    t.add("\n[backtrace]\n");
    writeText(fd, t);

    void* frames[64];
    const int n = ::backtrace(frames, 64);
    ::backtrace_symbols_fd(frames, n, fd);

    writeAll(fd, "[maps]\n", 7);
    copyMaps(fd);
    ::close(fd);
}

// The callback has not returned in time: end with the fault's own signal, as
// the handler would have. The signal is unblocked here first, since this may
// run on the faulting thread itself, inside the handler that blocks it.
void watchdog(int)
{
    const int sig = g_signal.load();
    for (int s : kSignals)
        ::signal(s, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    ::kill(::getpid(), sig);
    ::_exit(128 + sig); // not reached unless every thread blocks the signal
}

void armWatchdog(int sig)
{
    g_signal.store(sig);
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = watchdog;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGALRM, &sa, nullptr);
    ::alarm(g_watchdogSeconds);
}

void handler(int sig, siginfo_t* info, void*)
{
    const long tid = ::syscall(SYS_gettid);
    long expected = 0;
    if (!g_handlingTid.compare_exchange_strong(expected, tid)) {
        if (expected == tid) {
            // The handler itself faulted: end now with the original default action.
            ::signal(sig, SIG_DFL);
            ::raise(sig);
            return;
        }
        // Another thread is already writing the dump and will end the process.
        for (;;)
            ::pause();
    }

    const unsigned long code = windowsExceptionCode(sig);
    writeDump(sig, info, code);
    if (g_callback) {
        armWatchdog(sig);
        g_callback(code, tid == g_mainTid);
        ::alarm(0);
    }

    for (int s : kSignals)
        ::signal(s, SIG_DFL);
    // For a fault, returning re-runs the instruction, which now gets the
    // default action; for abort() and raise() the signal is sent again.
    ::raise(sig);
}

} // namespace

unsigned long windowsExceptionCode(int sig)
{
    switch (sig) {
    case SIGSEGV: return 0xc0000005UL;
    case SIGBUS: return 0xc0000006UL;
    case SIGFPE: return 0xc0000094UL;
    case SIGILL: return 0xc000001dUL;
    case SIGABRT: return 0x40000015UL;
    case SIGTRAP: return 0x80000003UL;
    default: return 0xe0000000UL | static_cast<unsigned long>(sig);
    }
}

void dumpFileName(char* buf, unsigned long size, const char* version, int year, int month, int day, int hour,
                  int minute, int second)
{
    Text t;
    t.add("./dump/Dump_");
    t.add(version);
    t.add("_");
    t.addUnsigned(static_cast<unsigned>(year), 10, 4);
    t.addUnsigned(static_cast<unsigned>(month), 10, 2);
    t.addUnsigned(static_cast<unsigned>(day), 10, 2);
    t.add("_");
    t.addUnsigned(static_cast<unsigned>(hour), 10, 2);
    t.addUnsigned(static_cast<unsigned>(minute), 10, 2);
    t.addUnsigned(static_cast<unsigned>(second), 10, 2);
    t.add(".dmp");
    if (size == 0)
        return;
    const unsigned long n = t.len < size - 1 ? t.len : size - 1;
    std::memcpy(buf, t.buf, n);
    buf[n] = 0;
}

// The stack prepareThread mapped for this thread, if it mapped one.
static thread_local void* t_ownStack = nullptr;
const size_t kThreadStackSize = 64 * 1024;

void prepareThread()
{
    // A thread that already has a signal stack (a sanitizer runtime gives
    // every thread one) keeps it.
    stack_t current;
    if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE))
        return;
    // Mapped rather than allocated: the heap may be what is broken when the
    // handler runs.
    void* mem = ::mmap(nullptr, kThreadStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mem == MAP_FAILED)
        return;
    stack_t ss;
    std::memset(&ss, 0, sizeof ss);
    ss.ss_sp = mem;
    ss.ss_size = kThreadStackSize;
    ss.ss_flags = 0;
    if (::sigaltstack(&ss, nullptr) != 0) {
        ::munmap(mem, kThreadStackSize);
        return;
    }
    t_ownStack = mem;
}

void releaseThread()
{
    if (!t_ownStack)
        return;
    // Switched off before it is unmapped, so a signal in between never lands
    // on freed memory. Not called from the handler: the stack is then in use.
    stack_t off;
    std::memset(&off, 0, sizeof off);
    off.ss_flags = SS_DISABLE;
    if (::sigaltstack(&off, nullptr) != 0)
        return; // still in use: leave it mapped rather than pull it away
    ::munmap(t_ownStack, kThreadStackSize);
    t_ownStack = nullptr;
}

void install(const char* version, Callback callback, unsigned watchdogSeconds)
{
    std::strncpy(g_version, version, sizeof g_version - 1);
    g_callback = callback;
    g_watchdogSeconds = watchdogSeconds > 0 ? watchdogSeconds : 1;
    g_mainTid = static_cast<pid_t>(::syscall(SYS_gettid));

    ::tzset();
    const time_t now = ::time(nullptr);
    struct tm local;
    if (::localtime_r(&now, &local))
        g_utcOffset = local.tm_gmtoff;

    // backtrace() loads libgcc on its first call, which is not safe inside a
    // signal handler; make that call now.
    void* warm[1];
    ::backtrace(warm, 1);

    prepareThread();
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_sigaction = handler;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int s : kSignals)
        ::sigaction(s, &sa, nullptr);
}

} // namespace KOVCrashHandler
