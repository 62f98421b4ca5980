// Start-up as a user meets it: the real program in a fresh working directory.
#include "kovtestutil.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void programStartsAndLogs()
    {
        QTemporaryDir wd;
        QDir dir(wd.path());
        QVERIFY(dir.mkdir(QStringLiteral("log")) && dir.mkdir(QStringLiteral("cfg")));
        const QString exe = QString::fromLocal8Bit(qgetenv("KOV_BINARY_DIR")) + QStringLiteral("/run/KOVReportExport");
        QVERIFY2(QFile::exists(exe), qPrintable(exe));

        QProcess app;
        app.setWorkingDirectory(wd.path());
        app.start(exe, QStringList());
        QVERIFY(app.waitForStarted(10000));
        const QString log = dir.filePath(QDate::currentDate().toString(QStringLiteral("'log/log-'yyyy-MM-dd'.txt'")));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 20000);
        QVERIFY(KOVTest::readAll(log).contains("KOVReportExport start V1.8.0\r\n"));
        QCOMPARE(app.state(), QProcess::Running); // still up: the window is shown and the loop runs
        app.terminate();
        QVERIFY(app.waitForFinished(10000));
        // SIGTERM ends the run as a quit, and quitting with only the browse
        // tab writes no recovery cache.
        QVERIFY(app.exitStatus() == QProcess::NormalExit && !dir.exists(QStringLiteral("cache")));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
