// The crash handler in a real process: dump file, log line, exit status, and
// the watchdog that ends a process whose error callback hangs.
#include "kovcrashhandler.h"
#include "kovtable.h"
#include "kovtestutil.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

class TestCrash : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        struct rlimit none = { 0, 0 };
        setrlimit(RLIMIT_CORE, &none); // no core files from the probes
    }

    void dumpName()
    {
        char name[128];
        KOVCrashHandler::dumpFileName(name, sizeof name, "V1.8.0", 2023, 1, 1, 9, 5, 7);
        QCOMPARE(QString::fromLatin1(name), QStringLiteral("./dump/Dump_V1.8.0_20230101_090507.dmp"));
        char tiny[8];
        KOVCrashHandler::dumpFileName(tiny, sizeof tiny, "V1.8.0", 2023, 1, 1, 9, 5, 7);
        QCOMPARE(QString::fromLatin1(tiny), QStringLiteral("./dump/"));
    }

    void faults_data()
    {
        KOVTable::columns<QString, int, QString, bool>({"mode", "sig", "code", "dumpFolder"});
        QTest::newRow("segv") << "segv" << SIGSEGV << "c0000005" << true;
        QTest::newRow("trap") << "trap" << SIGTRAP << "80000003" << true;
        QTest::newRow("abort") << "abort" << SIGABRT << "40000015" << true;
        QTest::newRow("segv on worker") << "segv-worker" << SIGSEGV << "c0000005" << true;
        QTest::newRow("bus") << "bus" << SIGBUS << "c0000006" << true;
        QTest::newRow("fpe") << "fpe" << SIGFPE << "c0000094" << true;
        QTest::newRow("ill") << "ill" << SIGILL << "c000001d" << true;
        QTest::newRow("no dump folder") << "segv" << SIGSEGV << "c0000005" << false;
    }
    void faults()
    {
        QFETCH(QString, mode);
        QFETCH(int, sig);
        QFETCH(QString, code);
        QFETCH(bool, dumpFolder);
        QTemporaryDir wd;
        QDir dir(wd.path());
        QVERIFY(dir.mkdir(QStringLiteral("log")) && (!dumpFolder || dir.mkdir(QStringLiteral("dump"))));
        QProcess probe;
        probe.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kovcrashprobe"), {mode, wd.path()});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(QPoint(probe.exitStatus(), probe.exitCode()), QPoint(QProcess::CrashExit, sig));
        // The one file in a folder of the working directory.
        const auto only = [&dir](const QString& folder) {
            const QStringList files = QDir(dir.filePath(folder)).entryList(QDir::Files);
            return files.size() == 1 ? files[0] + QLatin1Char('\n') + QString::fromLocal8Bit(KOVTest::readAll(dir.filePath(folder + '/' + files[0]))) : QString();
        };
        if (dumpFolder) {
            const QString dump = only(QStringLiteral("dump"));
            QVERIFY2(QRegularExpression(QStringLiteral("^Dump_V1\\.8\\.0_\\d{8}_\\d{6}\\.dmp\nKOV crash dump 1\nversion: V1.8.0\n")).match(dump).hasMatch(),
                     qPrintable(dump.left(200)));
            // The maps name the program.
            for (const QString& part : {QStringLiteral("\nsignal: %1 ").arg(sig), "\nexception: 0x" + code + '\n',
                                        QStringLiteral("[backtrace]\n"), QStringLiteral("[maps]\n"),
                                        QStringLiteral("kovcrashprobe")})
                QVERIFY2(dump.contains(part), qPrintable(part));
        }
        QCOMPARE(dir.exists(QStringLiteral("dump")), dumpFolder);
        const QString log = only(QStringLiteral("log"));
        QVERIFY2(log.contains("应用程序发生异常 :  ErrorCode = 0x" + code + ";\r\n"), qPrintable(log));
        // Only the browse tab was open: no recovery cache.
        QVERIFY(!dir.exists(QStringLiteral("cache")));
    }
    // A crash whose error callback never returns still ends the process,
    // with the fault's signal and its dump, within the watchdog's time.
    void stuckCallbackStillEnds()
    {
        QTemporaryDir wd;
        QVERIFY(QDir(wd.path()).mkdir(QStringLiteral("dump")));
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kovcrashprobe"), {QStringLiteral("segv-stuck"), wd.path()});
        const bool ended = p.waitForFinished(20000); // a hang here is the fault under test
        if (!ended)
            p.kill();
        QVERIFY2(ended, "the crashed process hung in its error callback");
        QCOMPARE(QPoint(p.exitStatus(), p.exitCode()), QPoint(QProcess::CrashExit, SIGSEGV));
        QCOMPARE(QDir(wd.filePath(QStringLiteral("dump"))).entryList(QDir::Files).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
