// The crash handler in a real process: dump file, log line, exit status, and
// the watchdog that ends a process whose error callback hangs.
#include "kovcrashhandler.h"
#include "kovtable.h"

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
        dir.mkdir(QStringLiteral("log"));
        if (dumpFolder)
            dir.mkdir(QStringLiteral("dump"));
        QProcess probe;
        probe.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kovcrashprobe"), {mode, wd.path()});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
        QCOMPARE(probe.exitCode(), sig);

        if (dumpFolder) {
            const QStringList dumps = QDir(dir.filePath(QStringLiteral("dump"))).entryList(QDir::Files);
            QCOMPARE(dumps.size(), 1);
            QVERIFY2(QRegularExpression(QStringLiteral("^Dump_V1\\.8\\.0_\\d{8}_\\d{6}\\.dmp$")).match(dumps[0]).hasMatch(),
                     qPrintable(dumps[0]));
            QFile f(dir.filePath(QStringLiteral("dump/")) + dumps[0]);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString dump = QString::fromLatin1(f.readAll());
            QVERIFY(dump.startsWith(QStringLiteral("KOV crash dump 1\nversion: V1.8.0\n")));
            // The maps name the program.
            for (const QString& part : {QStringLiteral("\nsignal: %1 ").arg(sig), "\nexception: 0x" + code + '\n',
                                        QStringLiteral("[backtrace]\n"), QStringLiteral("[maps]\n"),
                                        QStringLiteral("kovcrashprobe")})
                QVERIFY2(dump.contains(part), qPrintable(part));
        } else {
            QVERIFY(!dir.exists(QStringLiteral("dump")));
        }

        const QStringList logs = QDir(dir.filePath(QStringLiteral("log"))).entryList(QDir::Files);
        QCOMPARE(logs.size(), 1);
        QFile log(dir.filePath(QStringLiteral("log/")) + logs[0]);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromLocal8Bit(log.readAll());
        QVERIFY2(text.contains("应用程序发生异常 :  ErrorCode = 0x" + code + ";\r\n"), qPrintable(text));
        // Only the browse tab was open: no recovery cache.
        QVERIFY(!dir.exists(QStringLiteral("cache")));
    }
    // A crash whose error callback never returns still ends the process,
    // with the fault's signal and its dump, within the watchdog's time.
    void stuckCallbackStillEnds()
    {
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

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
