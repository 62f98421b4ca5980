// A settings file that cannot be written is reported to the caller and in the
// log; the setting still holds for the run.
#include "kovinformation.h"

#include <QDir>
#include <QSettings>
#include <QtTest>

namespace {

QStringList g_warnings;

void collect(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    if (type == QtWarningMsg)
        g_warnings << msg;
}

// A plain file named "cfg" keeps "./cfg/config.ini" from being written.
bool blockCfg(bool block)
{
    QFile::remove(QStringLiteral("cfg"));
    QDir(QStringLiteral("cfg")).removeRecursively();
    if (!block)
        return QDir().mkpath(QStringLiteral("cfg"));
    QFile f(QStringLiteral("cfg"));
    return f.open(QIODevice::WriteOnly);
}

} // namespace

class TstSettingSave : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteReported_data();
    void failedWriteReported();
};

void TstSettingSave::failedWriteReported_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("blocked");
    for (const char* s : { "language", "import folder", "window size" }) {
        QTest::newRow(qPrintable(QStringLiteral("%1, cannot be written").arg(QLatin1String(s))))
            << QString::fromLatin1(s) << true;
        QTest::newRow(qPrintable(QStringLiteral("%1, written").arg(QLatin1String(s)))) << QString::fromLatin1(s)
                                                                                        << false;
    }
}

void TstSettingSave::failedWriteReported()
{
    QFETCH(QString, setting);
    QFETCH(bool, blocked);
    QVERIFY(blockCfg(blocked));
    KOVInformation* info = KOVInformation::Instance();
    g_warnings.clear();
    qInstallMessageHandler(collect);
    bool ok = false;
    if (setting == QLatin1String("language"))
        ok = info->setLanguageId(7);
    else if (setting == QLatin1String("import folder"))
        ok = info->setcustomPath(QStringLiteral("/data/imports/"));
    else
        ok = info->setMainwindowSize(QSize(1400, 900));
    qInstallMessageHandler(nullptr);

    QCOMPARE(ok, !blocked);
    QCOMPARE(g_warnings.size(), blocked ? 1 : 0);
    if (blocked)
        QVERIFY2(g_warnings.first().contains(QLatin1String("config.ini")), qPrintable(g_warnings.first()));
    else
        QVERIFY(QFileInfo(QStringLiteral("cfg/config.ini")).isFile());
    // In effect for this run either way.
    if (setting == QLatin1String("language"))
        QCOMPARE(info->getLanguageId(), 7);
    else if (setting == QLatin1String("import folder"))
        QCOMPARE(info->getCustomPath(), QStringLiteral("/data/imports/"));
    else
        QCOMPARE(info->getMainwindowSize(), QSize(1400, 900));
}

QTEST_GUILESS_MAIN(TstSettingSave)
#include "tst_settingsave.moc"
