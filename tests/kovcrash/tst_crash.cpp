// The crash handler in a real process: dump file, log line, exit status.
#include "kovcrashhandler.h"

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

class TestCrash : public QObject
{
    Q_OBJECT

    // Runs the probe and returns the signal that ended it (0 if it exited).
    int runProbe(const QString& mode, const QString& dir)
    {
        const QByteArray exe = QFINDTESTDATA_probe().toLocal8Bit();
        const QByteArray m = mode.toLocal8Bit(), d = dir.toLocal8Bit();
        char* args[] = { const_cast<char*>(exe.constData()), const_cast<char*>(m.constData()),
                         const_cast<char*>(d.constData()), nullptr };
        pid_t pid = 0;
        if (posix_spawn(&pid, exe.constData(), nullptr, nullptr, args, environ) != 0)
            return -1;
        int status = 0;
        if (waitpid(pid, &status, 0) != pid)
            return -1;
        return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    static QString QFINDTESTDATA_probe()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/kovcrashprobe");
    }

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

    // Every entry of the table, and the fallback for a signal outside it.
    void exceptionCodes_data()
    {
        QTest::addColumn<int>("sig");
        QTest::addColumn<qulonglong>("code");
        QTest::newRow("SIGSEGV") << SIGSEGV << 0xc0000005ULL;
        QTest::newRow("SIGBUS") << SIGBUS << 0xc0000006ULL;
        QTest::newRow("SIGFPE") << SIGFPE << 0xc0000094ULL;
        QTest::newRow("SIGILL") << SIGILL << 0xc000001dULL;
        QTest::newRow("SIGABRT") << SIGABRT << 0x40000015ULL;
        QTest::newRow("SIGTRAP") << SIGTRAP << 0x80000003ULL;
        QTest::newRow("SIGUSR1 outside the table") << SIGUSR1 << (0xe0000000ULL | SIGUSR1);
    }
    void exceptionCodes()
    {
        QFETCH(int, sig);
        QTEST(qulonglong(KOVCrashHandler::windowsExceptionCode(sig)), "code");
    }

    void faults_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("sig");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("dumpFolder");
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

        QCOMPARE(runProbe(mode, wd.path()), sig);

        if (dumpFolder) {
            const QStringList dumps = QDir(dir.filePath(QStringLiteral("dump"))).entryList(QDir::Files);
            QCOMPARE(dumps.size(), 1);
            QVERIFY2(QRegularExpression(QStringLiteral("^Dump_V1\\.8\\.0_\\d{8}_\\d{6}\\.dmp$")).match(dumps[0]).hasMatch(),
                     qPrintable(dumps[0]));
            QFile f(dir.filePath(QStringLiteral("dump/")) + dumps[0]);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString dump = QString::fromLatin1(f.readAll());
            QVERIFY(dump.startsWith(QStringLiteral("KOV crash dump 1\nversion: V1.8.0\n")));
            QVERIFY(dump.contains(QStringLiteral("\nsignal: %1 ").arg(sig)));
            QVERIFY(dump.contains(QStringLiteral("\nexception: 0x") + code + QLatin1Char('\n')));
            QVERIFY(dump.contains(QStringLiteral("[backtrace]\n")));
            QVERIFY(dump.contains(QStringLiteral("[maps]\n")));
            QVERIFY(dump.contains(QStringLiteral("kovcrashprobe"))); // the maps name the program
        } else {
            QVERIFY(!dir.exists(QStringLiteral("dump")));
        }

        const QStringList logs = QDir(dir.filePath(QStringLiteral("log"))).entryList(QDir::Files);
        QCOMPARE(logs.size(), 1);
        QFile log(dir.filePath(QStringLiteral("log/")) + logs[0]);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromLocal8Bit(log.readAll());
        const QString expected = QStringLiteral("应用程序发生异常 :  ErrorCode = 0x") + code + QStringLiteral(";\r\n");
        QVERIFY2(text.contains(expected), qPrintable(text));
        // Only the browse tab was open: no recovery cache.
        QVERIFY(!dir.exists(QStringLiteral("cache")));
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
