// Quit, crash or signal with reports open, start again, restore: the same
// rows, tabs and current tab, through the real start-up.
#include "kovtable.h"
#include "kovtestutil.h"
#include "reporttesthelp.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

class TstStartRestore : public QObject
{
    Q_OBJECT

    // Exit code, or minus the signal that ended the probe.
    static int run(const QString& wd, const QStringList& args)
    {
        QProcess p;
        p.setWorkingDirectory(wd);
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kovstartprobe"), args);
        if (!p.waitForFinished(120000))
            p.kill();
        p.waitForFinished();
        return p.exitStatus() == QProcess::CrashExit ? -p.exitCode() : p.exitCode();
    }

private slots:
    // Quit, crash or ended from outside (the run leaves its reports as a
    // quit does); a fault in the middle of the restore leaves the saved
    // cache whole.
    void reportsComeBack_data()
    {
        // steps: the first shows what is saved; ended: by the last step
        KOVTable::columns<QStringList, int, int>({"steps", "ended", "dumps"});
        QTest::newRow("quit") << QStringList{"open"} << 0 << 0;
        QTest::newRow("SIGSEGV") << QStringList{"crash"} << -SIGSEGV << 1;
        QTest::newRow("SIGTERM") << QStringList{"term"} << 0 << 0;
        QTest::newRow("SIGHUP") << QStringList{"hup"} << 0 << 0;
        QTest::newRow("fault during the restore") << QStringList{"open", "restorecrash"} << -SIGSEGV << -1;
        QTest::newRow("fault as the restore ends") << QStringList{"open", "restoreendcrash"} << -SIGSEGV << -1;
    }
    void reportsComeBack()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, dumps);
        const struct rlimit none = { 0, 0 };
        QCOMPARE(setrlimit(RLIMIT_CORE, &none), 0);
        QTemporaryDir wd;
        QDir dir(wd.path());
        for (const char* sub : { "log", "dump", "cfg" })
            dir.mkdir(QLatin1String(sub));
        const QString usr = ReportTest::makeUserDir(dir.filePath(QStringLiteral("users/default")), 4);
        const QString before = dir.filePath(QStringLiteral("before")), after = dir.filePath(QStringLiteral("after"));
        int ended = 0;
        for (const QString& step : steps)
            ended = run(wd.path(), { step, wd.path(), usr, step == steps.first() ? before : after });
        QTEST(ended, "ended");
        QVERIFY(dumps < 0 || QDir(dir.filePath(QStringLiteral("dump"))).entryList(QDir::Files).size() == dumps);
        QCOMPARE(run(wd.path(), { QStringLiteral("check"), wd.path(), usr, after }), 0);
        const QString shown = QString::fromUtf8(KOVTest::readAll(before));
        QVERIFY2(shown.endsWith(QStringLiteral("\ncurrent 1\nrows 0,2;1\n")), qPrintable(shown)); // consistent
        QCOMPARE(QString::fromUtf8(KOVTest::readAll(after)), shown);
    }
};

QTEST_GUILESS_MAIN(TstStartRestore)
#include "tst_startrestore.moc"
