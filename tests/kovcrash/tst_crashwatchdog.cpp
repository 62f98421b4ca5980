// A crash whose error callback never returns still ends the process, with the
// fault's signal and its dump, within the watchdog's time.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

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
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kovcrashprobe"),
                { QStringLiteral("segv-stuck"), wd.path() });
        const bool ended = p.waitForFinished(20000); // a hang here is the fault under test
        if (!ended)
            p.kill();
        QVERIFY2(ended, "the crashed process hung in its error callback");
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        QCOMPARE(p.exitCode(), SIGSEGV);
        QCOMPARE(QDir(wd.filePath(QStringLiteral("dump"))).entryList(QDir::Files).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TstCrashWatchdog)
#include "tst_crashwatchdog.moc"
