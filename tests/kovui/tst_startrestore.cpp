// Quit or crash with reports open, start again, restore: the same rows, tabs
// and current tab, through the real start-up.
#include "kovgen.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

class TstStartRestore : public QObject
{
    Q_OBJECT

    QString probe() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/kovstartprobe"); }

    // Exit code, or -signal when a signal ended the probe.
    int run(const QString& wd, const QStringList& args)
    {
        QProcess p;
        p.setWorkingDirectory(wd);
        p.start(probe(), args);
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            return 999;
        }
        return p.exitStatus() == QProcess::CrashExit ? -1 : p.exitCode();
    }

private slots:
    void initTestCase()
    {
        struct rlimit none = { 0, 0 };
        setrlimit(RLIMIT_CORE, &none);
    }

    void reportsComeBack_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("ended");
        QTest::newRow("quit") << "open" << 0;
        QTest::newRow("SIGSEGV") << "crash" << -1;
    }
    void reportsComeBack()
    {
        QFETCH(QString, how);
        QFETCH(int, ended);
        QTemporaryDir wd;
        QDir dir(wd.path());
        for (const char* sub : { "log", "dump", "cfg" })
            dir.mkdir(QLatin1String(sub));
        KOVGen::DirOptions opt;
        opt.outDir = dir.filePath(QStringLiteral("users/default"));
        opt.items = 4;
        opt.light = true;
        QVERIFY(KOVGen::writeUserDirectory(opt).ok);

        QCOMPARE(run(wd.path(), { how, wd.path(), opt.outDir }), ended);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("cache/cache.json"))));
        if (how == QLatin1String("crash"))
            QCOMPARE(QDir(dir.filePath(QStringLiteral("dump"))).entryList(QDir::Files).size(), 1);

        const QString out = dir.filePath(QStringLiteral("shown.json"));
        QCOMPARE(run(wd.path(), { QStringLiteral("check"), wd.path(), out }), 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QJsonObject shown = QJsonDocument::fromJson(f.readAll()).object();
        QCOMPARE(shown.value(QStringLiteral("names")).toArray().size(), 4);
        const QJsonArray tabs = shown.value(QStringLiteral("tabs")).toArray();
        QCOMPARE(tabs.size(), 3);
        QCOMPARE(shown.value(QStringLiteral("current")).toInt(), 1);
        const QJsonArray ticked = shown.value(QStringLiteral("ticked")).toArray();
        QCOMPARE(ticked.at(1).toArray(), (QJsonArray { 0, 2 }));
        QCOMPARE(ticked.at(2).toArray(), (QJsonArray { 1 }));
        QVERIFY(!tabs.at(1).toString().isEmpty());
        QVERIFY(tabs.at(1).toString() != tabs.at(2).toString());
    }
};

QTEST_GUILESS_MAIN(TstStartRestore)
#include "tst_startrestore.moc"
