// Settings file, state object and records.
#include "kovconfig.h"
#include "kovdatastruct.h"
#include "kovinformation.h"
#include "kovtestutil.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Every case starts in an empty working directory.
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void cleanup() { QDir::setCurrent(QDir::tempPath()); }

    void onlyLanguageThenWriteBackKeepsTitles()
    {
        QDir().mkpath(QStringLiteral("cfg"));
        {
            // Whoever installs the program writes the titles with QSettings.
            QSettings init(QStringLiteral("cfg/config.ini"), QSettings::IniFormat);
            init.setValue(QStringLiteral("Language/id"), 1);
            init.setValue(QStringLiteral("OEM_Info/title_ch"), QStringLiteral("声学成像"));
            init.setValue(QStringLiteral("OEM_Info/title_en"), QStringLiteral("Acoustic"));
        }
        KOVConfig cfg;
        QCOMPARE(cfg.m_language, 1);
        QCOMPARE(cfg.m_company, QStringLiteral("Company"));
        QCOMPARE(cfg.m_mainwindow_width, 1300);

        cfg.m_mainwindow_width = 1440;
        QCOMPARE(cfg.saveCfg(), 0);
        QSettings s(QStringLiteral("cfg/config.ini"), QSettings::IniFormat);
        QCOMPARE(s.value("Language/id").toInt(), 1);
        QCOMPARE(s.value("MainwindowSize/width").toInt(), 1440);
        QCOMPARE(s.value("Report_Info/tester").toString(), QStringLiteral("Testers"));
        QCOMPARE(s.value("OEM_Info/title_en").toString(), QStringLiteral("Acoustic"));

        KOVConfig again;
        QCOMPARE(again.m_appTitle_ch, QStringLiteral("声学成像"));
    }

    void badNumbers_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("expectLanguage");
        QTest::addColumn<int>("expectWidth");
        QTest::newRow("text") << "abc" << "wide" << 0 << 1300;
        QTest::newRow("negative size") << "2" << "-40" << 2 << 1300;
        QTest::newRow("zero size") << "-1" << "0" << -1 << 1300;
        QTest::newRow("valid") << "1" << "1024" << 1 << 1024;
    }
    void badNumbers()
    {
        QFETCH(QString, language);
        QFETCH(QString, width);
        QDir().mkpath(QStringLiteral("cfg"));
        QVERIFY(KOVTest::writeEncoded(QStringLiteral("cfg/config.ini"),
                                      QStringLiteral("[Language]\nid=%1\n[MainwindowSize]\nwidth=%2\nheight=x\n")
                                          .arg(language, width), "UTF-8"));
        KOVConfig cfg;
        QTEST(cfg.m_language, "expectLanguage");
        QTEST(cfg.m_mainwindow_width, "expectWidth");
        QCOMPARE(cfg.m_mainwindow_height, 800);
    }

    void changeObjectSizeTruncates()
    {
        QWidget top;
        QWidget* child = new QWidget(&top);
        child->setGeometry(10, 20, 101, 33);
        QWidget* grand = new QWidget(child);
        grand->setGeometry(3, 3, 7, 7);
        new QObject(&top); // a plain child is passed over
        KOVInformation::Instance()->changeObjectSize(top, 1.5);
        QCOMPARE(child->geometry(), QRect(15, 30, 151, 49));
        QCOMPARE(grand->geometry(), QRect(4, 4, 10, 10));
    }

    void usrPathNeedsTrailingSlash()
    {
        QDir().mkpath(QStringLiteral("usr"));
        QVERIFY(KOVTest::writeEncoded(QStringLiteral("usr/usrInfo.ini"), QStringLiteral("[TestInfo]\ncompany=内部\n")));
        QVERIFY(KOVTest::writeEncoded(QStringLiteral("usrusrInfo.ini"), QStringLiteral("[TestInfo]\ncompany=旁边\n")));
        KOVInformation* info = KOVInformation::Instance();
        info->setUsrPath(QDir::currentPath() + QStringLiteral("/usr/"));
        QCOMPARE(info->getCompany(), QStringLiteral("内部"));
        info->setUsrPath(QDir::currentPath() + QStringLiteral("/usr"));
        QCOMPARE(info->getCompany(), QStringLiteral("旁边"));
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
