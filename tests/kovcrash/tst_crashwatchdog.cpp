// A crash whose error callback never returns still ends the process, with the
// fault's signal and its dump, within the watchdog's time.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

class TstCrashWatchdog : public QObject
{
    Q_OBJECT
private slots:
    void stuckCallbackStillEnds()
    {
        struct rlimit none = { 0, 0 };
        setrlimit(RLIMIT_CORE, &none);
        QTemporaryDir wd;
        QDir(wd.path()).mkdir(QStringLiteral("dump"));
        const QByteArray exe = (QCoreApplication::applicationDirPath() + QStringLiteral("/kovcrashprobe")).toLocal8Bit();
        const QByteArray dir = wd.path().toLocal8Bit();
        char mode[] = "segv-stuck";
        char* args[] = { const_cast<char*>(exe.constData()), mode, const_cast<char*>(dir.constData()), nullptr };
        QElapsedTimer clock;
        clock.start();
        pid_t pid = 0;
        QCOMPARE(posix_spawn(&pid, exe.constData(), nullptr, nullptr, args, environ), 0);
        int status = 0;
        // Bounded wait: a hang here is the fault under test, not a test hang.
        bool ended = false;
        for (int i = 0; i < 300 && !ended; ++i) {
            ended = waitpid(pid, &status, WNOHANG) == pid;
            if (!ended)
                QTest::qSleep(100);
        }
        if (!ended) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            QFAIL("the crashed process hung in its error callback");
        }
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGSEGV);
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(QDir(wd.filePath(QStringLiteral("dump"))).entryList(QDir::Files).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TstCrashWatchdog)
#include "tst_crashwatchdog.moc"
