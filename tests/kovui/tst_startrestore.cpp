// Quit or crash with reports open, start again, restore: the same rows, tabs
// and current tab, through the real start-up.
#include "reporttesthelp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    void reportsComeBack_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("ended");
        QTest::newRow("quit") << "open" << 0;
        QTest::newRow("SIGSEGV") << "crash" << -SIGSEGV;
    }
    void reportsComeBack()
    {
        QFETCH(QString, how);
        struct rlimit none = { 0, 0 };
        setrlimit(RLIMIT_CORE, &none);
        QTemporaryDir wd;
        QDir dir(wd.path());
        for (const char* sub : { "log", "dump", "cfg" })
            dir.mkdir(QLatin1String(sub));
        const QString usr = ReportTest::makeUserDir(dir.filePath(QStringLiteral("users/default")), 4);
        QTEST(run(wd.path(), { how, wd.path(), usr }), "ended");
        QCOMPARE(QDir(dir.filePath(QStringLiteral("dump"))).entryList(QDir::Files).size(), how == "crash" ? 1 : 0);
        const QString out = dir.filePath(QStringLiteral("shown.json"));
        QCOMPARE(run(wd.path(), { QStringLiteral("check"), wd.path(), out }), 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QJsonObject shown = QJsonDocument::fromJson(f.readAll()).object();
        QCOMPARE(shown.value("fault").toString(), QString());
        QCOMPARE(shown.value("names").toArray().size(), 4);
        QCOMPARE(shown.value("current").toInt(), 1);
        QCOMPARE(shown.value("rows").toArray(), (QJsonArray { QJsonArray { 0, 2 }, QJsonArray { 1 } }));
        const QJsonArray tabs = shown.value("tabs").toArray();
        QCOMPARE(tabs.size(), 3);
        QVERIFY(!tabs.at(1).toString().isEmpty() && tabs.at(1) != tabs.at(2));
    }
};

QTEST_GUILESS_MAIN(TstStartRestore)
#include "tst_startrestore.moc"
