// Settings file and state object; a settings file that cannot be written.
#include "kovconfig.h"
#include "kovinformation.h"
#include "kovtable.h"
#include "kovtestutil.h"
#include "kovwarnings.h"

#include <QSettings>
#include <QTemporaryDir>


class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Every case starts in an empty working directory.
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(m_dir->path()) && QDir().mkpath(QStringLiteral("cfg")));
    }
    void cleanup() { QDir::setCurrent(QDir::tempPath()); }

    void onlyLanguageThenWriteBackKeepsTitles()
    {
        {
            // Whoever installs the program writes the titles with QSettings.
            QSettings init(QStringLiteral("cfg/config.ini"), QSettings::IniFormat);
            init.setValue(QStringLiteral("Language/id"), 1);
            init.setValue(QStringLiteral("OEM_Info/title_ch"), QStringLiteral("声学成像"));
            init.setValue(QStringLiteral("OEM_Info/title_en"), QStringLiteral("Acoustic"));
        }
        KOVConfig cfg;
        QCOMPARE(QStringList({QString::number(cfg.m_language), cfg.m_company, QString::number(cfg.m_mainwindow_width)}),
                 QStringList({"1", "Company", "1300"}));
        cfg.m_mainwindow_width = 1440;
        QCOMPARE(cfg.saveCfg(), 0);
        QSettings s(QStringLiteral("cfg/config.ini"), QSettings::IniFormat);
        QCOMPARE(QStringList({s.value("Language/id").toString(), s.value("MainwindowSize/width").toString(),
                              s.value("Report_Info/tester").toString(), s.value("OEM_Info/title_en").toString()}),
                 QStringList({"1", "1440", "Testers", "Acoustic"}));
        QCOMPARE(KOVConfig().m_appTitle_ch, QStringLiteral("声学成像"));
    }

    void badNumbers_data()
    {
        KOVTable::columns<QString, QString, int, int>({"language", "width", "expectLanguage", "expectWidth"});
        QTest::newRow("text") << "abc" << "wide" << 0 << 1300;
        QTest::newRow("negative size") << "2" << "-40" << 2 << 1300;
        QTest::newRow("zero size") << "-1" << "0" << -1 << 1300;
        QTest::newRow("valid") << "1" << "1024" << 1 << 1024;
    }
    void badNumbers()
    {
        QFETCH(QString, language);
        QFETCH(QString, width);
        QVERIFY(KOVTest::writeEncoded(QStringLiteral("cfg/config.ini"),
            QStringLiteral("[Language]\nid=%1\n[MainwindowSize]\nwidth=%2\nheight=x\n").arg(language, width), "UTF-8"));
        KOVConfig cfg;
        QTEST(cfg.m_language, "expectLanguage");
        QTEST(cfg.m_mainwindow_width, "expectWidth");
        QCOMPARE(cfg.m_mainwindow_height, 800);
    }

    // A settings file that cannot be written (a plain file named "cfg" is in
    // the way) is reported to the caller and in the log; the setting still
    // holds for the run.
    void failedWriteReported_data()
    {
        KOVTable::columns<int, bool>({"setting", "blocked"});
        const char* names[] = {"language", "import folder", "window size"};
        for (int s = 0; s < 3; ++s) {
            QTest::addRow("%s, cannot be written", names[s]) << s << true;
            QTest::addRow("%s, written", names[s]) << s << false;
        }
    }
    void failedWriteReported()
    {
        QFETCH(int, setting);
        QFETCH(bool, blocked);
        QFile block(QStringLiteral("cfg"));
        QVERIFY(!blocked || (QDir(QStringLiteral("cfg")).removeRecursively() && block.open(QIODevice::WriteOnly)));
        KOVInformation* info = KOVInformation::Instance();
        KOVWarningCatcher catcher;
        const bool ok = setting == 0   ? info->setLanguageId(7)
                        : setting == 1 ? info->setcustomPath(QStringLiteral("/data/imports/"))
                                       : info->setMainwindowSize(QSize(1400, 900));
        QCOMPARE(QPoint(ok, QFileInfo(QStringLiteral("cfg/config.ini")).isFile()), QPoint(!blocked, !blocked));
        QCOMPARE(catcher.warnings().filter(QStringLiteral("config.ini")).size(), blocked ? 1 : 0);
        QVERIFY(setting == 0   ? info->getLanguageId() == 7
                : setting == 1 ? info->getCustomPath() == QLatin1String("/data/imports/")
                               : info->getMainwindowSize() == QSize(1400, 900));
        if (setting == 0 && !blocked)
            QCOMPARE(KOVConfig().m_language, 7); // what the next start reads
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
