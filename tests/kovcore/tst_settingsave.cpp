// A settings file that cannot be written is reported to the caller and in the
// log; the setting still holds for the run.
#include "kovinformation.h"
#include "kovwarnings.h"

#include <QDir>
#include <QtTest>

class TstSettingSave : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteReported_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<bool>("blocked");
        const char* names[] = { "language", "import folder", "window size" };
        for (int s = 0; s < 3; ++s) {
            QTest::addRow("%s, cannot be written", names[s]) << s << true;
            QTest::addRow("%s, written", names[s]) << s << false;
        }
    }
    void failedWriteReported()
    {
        QFETCH(int, setting);
        QFETCH(bool, blocked);
        // A plain file named "cfg" keeps "./cfg/config.ini" from being written.
        QFile::remove(QStringLiteral("cfg"));
        QDir(QStringLiteral("cfg")).removeRecursively();
        QFile block(QStringLiteral("cfg"));
        QVERIFY(blocked ? block.open(QIODevice::WriteOnly) : QDir().mkpath(QStringLiteral("cfg")));
        KOVInformation* info = KOVInformation::Instance();
        QStringList warnings;
        bool ok = false;
        {
            KOVWarningCatcher catcher;
            ok = setting == 0   ? info->setLanguageId(7)
                 : setting == 1 ? info->setcustomPath(QStringLiteral("/data/imports/"))
                                : info->setMainwindowSize(QSize(1400, 900));
            warnings = catcher.warnings();
        }

        QCOMPARE(ok, !blocked);
        QCOMPARE(QFileInfo(QStringLiteral("cfg/config.ini")).isFile(), !blocked);
        QCOMPARE(warnings.filter(QStringLiteral("config.ini")).size(), blocked ? 1 : 0);
        // In effect for this run either way.
        QVERIFY(setting == 0   ? info->getLanguageId() == 7
                : setting == 1 ? info->getCustomPath() == QLatin1String("/data/imports/")
                               : info->getMainwindowSize() == QSize(1400, 900));
    }
};

QTEST_GUILESS_MAIN(TstSettingSave)
#include "tst_settingsave.moc"
