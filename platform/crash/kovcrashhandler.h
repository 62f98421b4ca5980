#ifndef KOVCRASHHANDLER_H
#define KOVCRASHHANDLER_H

// Process-wide fault handler: the Linux counterpart of an unhandled-exception
// filter that writes a minidump.
//
// On SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT or SIGTRAP, on whichever thread
// raised it, the handler runs once:
//   1. writes "./dump/Dump_<version>_<yyyyMMdd_hhmmss>.dmp" (local time) with
//      async-signal-safe calls only; no file when "./dump/" is missing;
//   2. calls the application's callback with the Windows-style exception code
//      of the signal (see windowsExceptionCode), which logs and saves what it can;
//      a watchdog ends the process as step 3 would when the callback has not
//      returned within the given seconds: code that faulted while holding a
//      lock (the allocator's, say) can leave the callback waiting forever;
//   3. restores the default action and raises the signal again, so the process
//      ends with the signal's status.
//
// Dump format (text, one "key: value" per line, then two sections):
//   KOV crash dump 1
//   version: <version>
//   time: yyyy-MM-dd hh:mm:ss
//   pid: <decimal>
//   tid: <decimal>
//   signal: <number> (<name>)
//   code: <si_code, decimal>
//   exception: 0x<windows code, hex>
//   address: 0x<fault address, hex>
//   [backtrace]
//   <one frame per line, as backtrace_symbols_fd writes them>
//   [maps]
//   <the process's /proc/self/maps>
namespace KOVCrashHandler {

typedef void (*Callback)(unsigned long exceptionCode, bool onMainThread);

// Installs the handler for the process and an alternate signal stack for the
// calling thread. version is copied; it names the dump file. The callback gets
// watchdogSeconds (at least 1) to finish.
void install(const char* version, Callback callback, unsigned watchdogSeconds = 8);

// Gives the calling thread an alternate signal stack, so a stack overflow on
// it still reaches the handler. Threads of our own call it when they start
// and call releaseThread before they end: the stack is a 64 KiB mapping that
// nothing else frees, and the OCR alone starts a thread per shown frame.
void prepareThread();

// Switches off and unmaps the stack prepareThread mapped for the calling
// thread; nothing when it mapped none (the thread had a stack already).
void releaseThread();

// Keeps the calling thread's own signal stack for the scope's lifetime.
struct ThreadStackScope
{
    ThreadStackScope() { prepareThread(); }
    ~ThreadStackScope() { releaseThread(); }
    ThreadStackScope(const ThreadStackScope&) = delete;
    ThreadStackScope& operator=(const ThreadStackScope&) = delete;
};

// The code a Windows filter would have seen for this signal:
//   SIGSEGV 0xc0000005 access violation     SIGBUS  0xc0000006 in-page error
//   SIGFPE  0xc0000094 integer divide       SIGILL  0xc000001d illegal instruction
//   SIGABRT 0x40000015 fatal application exit SIGTRAP 0x80000003 breakpoint
// Any other signal gives 0xe0000000 | signal number.
unsigned long windowsExceptionCode(int sig);

// "./dump/Dump_<version>_<yyyyMMdd_hhmmss>.dmp" for the given broken-down local
// time; written into buf (NUL-terminated, cut to size). Async-signal-safe.
void dumpFileName(char* buf, unsigned long size, const char* version, int year, int month, int day,
                  int hour, int minute, int second);

} // namespace KOVCrashHandler

#endif // KOVCRASHHANDLER_H
