// Log handler, worker runner and signal hub.
#include "kovlog.h"
#include "kovmsg.h"
#include "kovtable.h"
#include "kovtestutil.h"
#include "kovthread.h"

#include <QAtomicInt>
#include <QPointer>
#include <QTemporaryDir>

namespace {
QString todayLog()
{
    return QStringLiteral("log/log-") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
           + QStringLiteral(".txt");
}
} // namespace

class TestServices : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        QDir::setCurrent(QDir::tempPath());
    }

    // Our own diagnostics arrive with no file and line 0; others keep theirs.
    void logLineFormat_data()
    {
        KOVTable::columns<int, QString, QByteArray, int>({"type", "level", "file", "line"});
        QTest::newRow("debug") << int(QtDebugMsg) << "Debug:" << QByteArray() << 0;
        QTest::newRow("unknown type") << 99 << "" << QByteArray() << 0;
        QTest::newRow("source location kept") << int(QtWarningMsg) << "Warning:" << QByteArray("kovfile.cpp") << 42;
    }
    void logLineFormat()
    {
        QFETCH(int, type);
        QFETCH(QString, level);
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        QDir().mkpath(QStringLiteral("log"));
        QMessageLogContext ctx(file.isEmpty() ? nullptr : file.constData(), line, "f", "default");
        logMessage(QtMsgType(type), ctx, QStringLiteral("报告 exported 3"));
        const QRegularExpression re(QStringLiteral("^%1\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d Flie\\(%2\\) Line\\(%3\\) 报告 exported 3\r\n$")
                                        .arg(QRegularExpression::escape(level), QRegularExpression::escape(QString::fromLatin1(file)))
                                        .arg(line));
        const QString text = QString::fromLocal8Bit(KOVTest::readAll(todayLog()));
        QVERIFY2(re.match(text).hasMatch(), qPrintable(text));
    }

    void noLogFolderNoFile()
    {
        qInstallMessageHandler(logMessage);
        qWarning() << "dropped";
        QVERIFY(QDir(QStringLiteral(".")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

    void rotationKeepsNewest()
    {
        QDir().mkpath(QStringLiteral("log"));
        for (const char* name : { "log-2026-01-01.txt", "log-2026-01-02.txt", "log-2026-01-03.txt", "other.txt" })
            QFile(QStringLiteral("log/") + QLatin1String(name)).open(QIODevice::WriteOnly);
        logFileManage(1);
        QCOMPARE(QDir(QStringLiteral("log")).entryList(QDir::Files, QDir::Name),
                 QStringList() << "log-2026-01-03.txt" << "other.txt");
    }

    void runnerRunsOnceOnAnotherThreadAndDeletesItself()
    {
        QAtomicInt count;
        QThread* ranOn = nullptr;
        QPointer<KOVThread> t = KOVThread::run([&] {
            ranOn = QThread::currentThread();
            count.fetchAndAddOrdered(1);
        });
        QVERIFY(t);
        QTRY_VERIFY_WITH_TIMEOUT(t.isNull(), 5000);
        QVERIFY(count.loadAcquire() == 1 && ranOn && ranOn != QThread::currentThread());
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestServices)
#include "tst_services.moc"
