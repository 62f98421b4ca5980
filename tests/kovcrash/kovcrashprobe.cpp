// A small program that starts like the application (same crash handler, same
// error callback, same log handler, the real main window) and then faults in
// the way its first argument names. Run by tst_crash.
//   kovcrashprobe <segv|trap|abort|segv-worker|bus|fpe|ill|segv-stuck> <working dir>
// segv-stuck's error callback never returns, as one deadlocked in the
// allocator would not; the watchdog must still end the process.
#include "kovcrashhandler.h"
#include "kovlog.h"
#include "kovreportexport.h"
#include "kovstartup.h"
#include "kovthread.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

void stuckCallback(unsigned long, bool)
{
    for (;;)
        pause();
}

__attribute__((no_sanitize("address", "undefined"), noinline)) void fault(const char* mode)
{
    if (std::strncmp(mode, "segv", 4) == 0) {
        volatile int* p = reinterpret_cast<volatile int*>(0x10);
        *p = 1;
    } else if (std::strcmp(mode, "trap") == 0) {
#if defined(__x86_64__) || defined(__i386__)
        asm volatile("int3");
#else
        raise(SIGTRAP);
#endif
    } else if (std::strcmp(mode, "abort") == 0) {
        abort();
    } else {
        raise(std::strcmp(mode, "bus") == 0 ? SIGBUS : std::strcmp(mode, "fpe") == 0 ? SIGFPE : SIGILL);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || chdir(argv[2]) != 0)
        return 2;
    const char* mode = argv[1];
    const bool stuck = std::strcmp(mode, "segv-stuck") == 0;
    KOVCrashHandler::install(KOV_APP_VERSION, stuck ? stuckCallback : kovErrCallback, stuck ? 2 : 8);
    QApplication app(argc, argv);
    qInstallMessageHandler(logMessage);
    KOVReportExport w;
    w.show();
    QTimer::singleShot(0, [mode] {
        if (std::strcmp(mode, "segv-worker") == 0)
            KOVThread::run([mode] { fault(mode); });
        else
            fault(mode);
    });
    return app.exec();
}
