// Closing the main window: every open report is offered for export, tab by
// tab with its own save dialog; a running export is waited for first.
#include "kovinformation.h"
#include "kovsavedialog.h"
#include "reporttesthelp.h"
#include "reviewfixture.h"
#include "xlsxtesthelp.h"

#include <QAction>
#include <QCalendarWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace ReportTest;

class TestClosing : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_items;
    QStringList m_asked; // "title|text" of each message box
    int m_answer = 0;
    QStringList m_saveAsked; // "current tab|proposed name" per save dialog
    QString m_saveDir;       // where the dialog answers; empty cancels
    KOVReportExport* m_window = nullptr;

    // Report pages of one ticked row each: gas, electricity, gas...
    void openReports(KOVReportExport& w, int count)
    {
        importInto(w, m_items);
        for (int i = 0; i < count; ++i) {
            w.addNewReport(i % 2);
            tick(w, i);
        }
        QCOMPARE(w.getMainTabNum(), count + 1);
    }

    void answerBoxes()
    {
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList&) {
            m_asked << title + QLatin1Char('|') + text;
            return m_answer;
        };
    }

private slots:
    void initTestCase()
    {
        QVERIFY(KOVXlsxTest::installTemplates(QDir::currentPath()));
        m_items = makeUserDir(m_root.filePath(QStringLiteral("items")), 3);
        QVERIFY(!m_items.isEmpty());
        answerBoxes();
        KOVSaveDialog::s_answer = [this](const QString&, const QString& proposed, const QString&) {
            m_saveAsked << QStringLiteral("%1|%2").arg(mainTabs(*m_window)->currentIndex()).arg(proposed);
            return m_saveDir.isEmpty() ? QString() : m_saveDir + QLatin1Char('/') + proposed + ".xlsx";
        };
    }

    void init()
    {
        m_asked.clear();
        m_answer = 0;
        m_saveAsked.clear();
        m_saveDir.clear();
    }

    void offer_data()
    {
        QTest::addColumn<int>("reports");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QStringList>("dialogs");
        QTest::newRow("browse tab alone asks nothing") << 0 << 0 << true << QStringList{};
        QTest::newRow("two reports, yes: two exports")
            << 2 << 0 << true << QStringList{"1|气体报告1", "2|电力报告2"};
        QTest::newRow("two reports, yes, both dialogs cancelled")
            << 2 << 0 << false << QStringList{"1|气体报告1", "2|电力报告2"};
        QTest::newRow("two reports, no: nothing exported") << 2 << 1 << true << QStringList{};
        QTest::newRow("box closed without an answer counts as no") << 1 << -1 << true << QStringList{};
    }
    void offer()
    {
        QFETCH(int, reports);
        QFETCH(int, answer);
        QFETCH(bool, saved);
        QFETCH(QStringList, dialogs);
        const QString out = m_root.filePath(QStringLiteral("out_%1").arg(QTest::currentDataTag()));
        QDir().mkpath(out);
        m_saveDir = saved ? out : QString();
        m_answer = answer;
        KOVReportExport w;
        m_window = &w;
        openReports(w, reports);
        w.resize(1333, 777);
        QVERIFY(w.close());

        QCOMPARE(m_asked, reports > 0 ? QStringList{QStringLiteral("提示|应用程序正在退出，是否导出数据！")}
                                      : QStringList{});
        QCOMPARE(m_saveAsked, dialogs);
        // Each answered dialog left its workbook behind.
        for (const QString& d : dialogs) {
            const QString name = d.section(QLatin1Char('|'), 1);
            QCOMPARE(QFile::exists(out + QLatin1Char('/') + name + QLatin1Char('/') + name + ".xlsx"), saved);
        }
        QSettings s(QStringLiteral("./cfg/config.ini"), QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("/MainwindowSize/width")).toInt(), 1280); // at factor 1, from 100 dpi
        m_window = nullptr;
    }

    // A close that arrives while an export runs (here from inside its
    // progress dialog) lets it end before the offer and before the close.
    void closeDuringExport()
    {
        KOVReportExport w;
        m_window = &w;
        openReports(w, 1);
        m_saveDir = m_root.filePath(QStringLiteral("during"));
        QDir().mkpath(m_saveDir);
        QSignalSpy finish(&w, &KOVReportExport::sigFinishProgressBar);
        bool exportingWhenAsked = true;
        int finishedWhenAsked = -1;
        KOVMessageBox::s_answer = [&](QMessageBox::Icon, const QString&, const QString&, const QStringList&) {
            exportingWhenAsked = w.isExporting();
            finishedWhenAsked = finish.size();
            return 1;
        };
        QTimer::singleShot(0, &w, [&w] { w.close(); });
        w.on_actionsaveReport_triggered();
        answerBoxes();
        QVERIFY(!exportingWhenAsked);
        QCOMPARE(finishedWhenAsked, 1);
        QVERIFY(w.isHidden());
        QString error;
        QVERIFY2(!KOVXlsxTest::inspect(m_saveDir + "/气体报告1/气体报告1.xlsx", &error).isEmpty(), qPrintable(error));
        m_window = nullptr;
    }

    // A report's ✕ asks before its test points (and their locked pictures)
    // go; an empty report closes at once.
    void closeReportTab_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("tabsAfter");
        QTest::newRow("empty report, no question") << 0 << 1 << 1;
        QTest::newRow("test points, no keeps it") << 2 << 1 << 2;
        QTest::newRow("test points, box closed keeps it") << 1 << -1 << 2;
        QTest::newRow("test points, yes closes") << 1 << 0 << 1;
    }
    void closeReportTab()
    {
        QFETCH(int, points);
        QFETCH(int, answer);
        KOVReportExport w;
        importInto(w, m_items);
        w.addNewReport(0);
        for (int r = 0; r < points; ++r)
            tick(w, r);
        m_asked.clear();
        m_answer = answer;
        emit mainTabs(w)->tabCloseRequested(1);
        QTEST(w.getMainTabNum(), "tabsAfter");
        QCOMPARE(m_asked, points ? QStringList{QStringLiteral("警告|报告 气体报告1 中有测试点，\r\n是否关闭报告并删除测试点！")}
                                 : QStringList{});
        if (w.getMainTabNum() == 2)
            QCOMPARE(w.reportWins().at(0)->chosedItemList().size(), points);
    }

    // A cache that cannot be written (its name taken by a folder) is told
    // while the window still shows, and its pictures do not stay behind.
    void cacheNotWrittenAtClose()
    {
        QDir(QStringLiteral("cache")).removeRecursively();
        QVERIFY(QDir().mkpath(QStringLiteral("cache/cache.json")));
        QVERIFY(QFile(QStringLiteral("cache/old.jpg")).open(QIODevice::WriteOnly));
        KOVReportExport w;
        m_window = &w;
        // A shown video frame is saved as a picture beside the document.
        const QString usr = m_root.filePath(QStringLiteral("video"));
        QVERIFY(!ReviewFixture::makeItem(usr, "v", "VID_1.mp4", KOVGen::ItemKind::Video, 3, 0).path.isEmpty());
        QVERIFY(QFile(usr + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly));
        importInto(w, usr);
        w.addNewReport(0);
        tick(w, 0);
        w.show();
        mainTabs(w)->setCurrentIndex(0);
        w.clickItemtoShow(0);
        QStringList shownWhenAsked;
        KOVMessageBox::s_answer = [&](QMessageBox::Icon, const QString& title, const QString& text, const QStringList&) {
            shownWhenAsked << QStringLiteral("%1|%2|%3").arg(title, text.left(9)).arg(w.isVisible());
            return 1;
        };
        QVERIFY(w.close());
        answerBoxes();
        QCOMPARE(shownWhenAsked, (QStringList{"提示|应用程序正在退出，|1", "警告|恢复缓存未能写入，|1"}));
        QCOMPARE(QDir(QStringLiteral("cache")).entryList({"*.jpg"}, QDir::Files), QStringList{"old.jpg"});
        QDir(QStringLiteral("cache")).removeRecursively();
        m_window = nullptr;
    }

    // The menu's language is for the next start: the run keeps its own for
    // the workbook's template and new reports' calendars.
    void languageChoiceWaitsForRestart()
    {
        const bool chinese = KOVInformation::Instance()->runLanguageId() == 0;
        KOVReportExport w;
        m_window = &w;
        openReports(w, 1);
        w.findChild<QAction*>(chinese ? "actionEnglish" : "actionChinese")->trigger();
        QCOMPARE(KOVInformation::Instance()->getLanguageId(), chinese ? 1 : 0); // stored at once
        w.addNewReport(1);
        QCOMPARE(w.reportWins().at(1)->findChild<QCalendarWidget*>()->locale().language(),
                 chinese ? QLocale::Chinese : QLocale::English);
        m_saveDir = m_root.filePath(QStringLiteral("language"));
        QDir().mkpath(m_saveDir);
        mainTabs(w)->setCurrentIndex(1);
        w.on_actionsaveReport_triggered();
        w.waitForExport();
        KOVInformation::Instance()->setLanguageId(chinese ? 0 : 1);
        const QString name = chinese ? "气体报告1" : "Gas Report 1";
        const QJsonObject book = KOVXlsxTest::inspect(m_saveDir + '/' + name + '/' + name + ".xlsx");
        QCOMPARE(book.value("sheets").toArray().at(0).toObject().value("name").toString(),
                 chinese ? QStringLiteral("检测报告") : QStringLiteral("Report"));
        m_window = nullptr;
    }
};

QTEST_MAIN(TestClosing)
#include "tst_closing.moc"
