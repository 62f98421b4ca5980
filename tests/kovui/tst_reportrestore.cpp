// Report pages through the recovery cache, and deleting items while reports
// use them. Every step is followed by the windows' own consistency checks.
#include "kovcachefile.h"
#include "kovinformation.h"
#include "kovvideoimg.h"
#include "reporttesthelp.h"

#include <QJsonArray>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportTest;

namespace {

QStringList tabTexts(QTabWidget* tabs)
{
    QStringList t;
    for (int i = 0; i < tabs->count(); ++i)
        t << tabs->tabText(i);
    return t;
}

QList<int> rowsOf(KOVReportWin* page)
{
    const QQueue<int> q = page->chosedItemList();
    return QList<int>(q.begin(), q.end());
}

} // namespace

class TstReportRestore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_usr;
    QStringList m_asked; // title + "|" + text of every box

    void checkWindow(KOVReportExport& w)
    {
        QCOMPARE(w.checkConsistency(), QString());
        for (KOVReportWin* page : w.reportWins())
            QCOMPARE(page->checkConsistency(), QString());
    }
    // Report pages with the given rows ticked, each made current in turn.
    void openReports(KOVReportExport& w, const QList<QList<int>>& reports)
    {
        for (int i = 0; i < reports.size(); ++i) {
            w.addNewReport(i % 2);
            for (int row : reports.at(i))
                tick(w, row);
            checkWindow(w);
        }
    }

private slots:
    void initTestCase()
    {
        m_usr = makeUserDir(m_root.filePath(QStringLiteral("default")), 7);
        QVERIFY(!m_usr.isEmpty());
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList&) {
            m_asked << title + QLatin1Char('|') + text;
            return 0;
        };
    }
    void init()
    {
        m_asked.clear();
        KOVCacheFile().remove();
    }

    void reportPageRoundTrip_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("current");
        QTest::newRow("three points, tab 1 current") << QList<int> { 4, 0, 2 } << 1;
        QTest::newRow("no test point") << QList<int>() << -1;
    }
    void reportPageRoundTrip()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, current);
        KOVReportExport w;
        importInto(w, m_usr);
        openReports(w, { QList<int>(), rows }); // the page under test is report 2
        KOVReportWin* saved = w.reportWins().at(1);
        saved->findChild<QLineEdit*>(QStringLiteral("infoCompany"))->setText(QStringLiteral("电 厂"));
        if (current >= 0)
            pointTabs(saved)->setCurrentIndex(current);
        QJsonObject root;
        saved->saveData(root);
        const QJsonObject o = root.value(QStringLiteral("reportInfo")).toObject();
        QCOMPARE(o.value(QStringLiteral("preStr")), QJsonValue(2));
        QCOMPARE(o.value(QStringLiteral("currentIndex")).toInt(), current);
        QCOMPARE(o.value(QStringLiteral("testPointList")).toArray().size(), rows.size());
        QCOMPARE(o.value(QStringLiteral("chosedItemList")).toArray().size(), rows.size());

        KOVReportWin back;
        QList<KOVReportInfo> sent;
        connect(&back, &KOVReportWin::sigReportInfoChanged, this, [&sent](KOVReportInfo_t r) { sent << r; });
        back.restoreData(root);
        QCOMPARE(back.checkConsistency(), QString());
        QCOMPARE(back.windowTitle(), saved->windowTitle());
        QCOMPARE(back.getReportData().company, QStringLiteral("电 厂"));
        QCOMPARE(back.getReportData().type, 1);
        QCOMPARE(back.reportNumber(), 2);
        QCOMPARE(back.pointNum(), saved->pointNum());
        QCOMPARE(rowsOf(&back), rows);
        QCOMPARE(tabTexts(pointTabs(&back)), tabTexts(pointTabs(saved)));
        QCOMPARE(pointTabs(&back)->currentIndex(), current);
        QVERIFY(!sent.isEmpty());
        QCOMPARE(sent.last().pointInfoList.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(sent.last().pointInfoList.at(i).name, saved->pointInfoList().at(i).name);
            QCOMPARE(back.testPointPages().at(i)->shownItem(), rows.at(i));
        }
    }

    // Rows from a cache that does not match the restored list: one per test
    // point, none outside the list, none twice.
    void untrustedRows_data()
    {
        QTest::addColumn<QJsonArray>("cached");
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("short") << QJsonArray { 3 } << QList<int> { 3, -1, -1 };
        QTest::newRow("beyond the list") << QJsonArray { 1, 70, -1 } << QList<int> { 1, -1, -1 };
        QTest::newRow("a row twice") << QJsonArray { 5, 5, 2 } << QList<int> { 5, -1, 2 };
    }
    void untrustedRows()
    {
        QFETCH(QJsonArray, cached);
        QFETCH(QList<int>, rows);
        KOVReportExport w;
        importInto(w, m_usr);
        openReports(w, { { 1, 3, 5 } });
        QJsonObject root;
        w.reportWins().at(0)->saveData(root);
        QJsonObject o = root.value(QStringLiteral("reportInfo")).toObject();
        o.insert(QStringLiteral("chosedItemList"), cached);
        o.insert(QStringLiteral("currentIndex"), 12);
        root.insert(QStringLiteral("reportInfo"), o);
        KOVReportWin back;
        back.restoreData(root);
        QCOMPARE(back.checkConsistency(), QString());
        QCOMPARE(rowsOf(&back), rows);
        QCOMPARE(pointTabs(&back)->currentIndex(), 2); // the last restored
    }

    void windowRoundTrip()
    {
        QStringList tabs;
        {
            KOVReportExport w;
            importInto(w, m_usr);
            openReports(w, { { 0, 2 }, { 1, 6, 3 } });
            mainTabs(w)->setCurrentIndex(1);
            checkWindow(w);
            tabs = tabTexts(mainTabs(w));
            w.saveData();
        }
        const QJsonObject root = [] {
            QJsonObject r;
            QString why;
            KOVCacheFile().read(&r, &why);
            return r;
        }();
        QCOMPARE(root.value(QStringLiteral("winList")).toArray().size(), 2);
        QCOMPARE(root.value(QStringLiteral("currentIndex")).toInt(), 1);
        QCOMPARE(root.value(QStringLiteral("reportNum")).toInt(), 3);

        KOVReportExport back;
        back.restoreData();
        checkWindow(back);
        QCOMPARE(tabTexts(mainTabs(back)), tabs);
        QCOMPARE(mainTabs(back)->currentIndex(), 1);
        QCOMPARE(back.reportWins().size(), 2);
        QCOMPARE(rowsOf(back.reportWins().at(0)), (QList<int> { 0, 2 }));
        QCOMPARE(rowsOf(back.reportWins().at(1)), (QList<int> { 1, 6, 3 }));
        QCOMPARE(back.reportRecords().at(1).pointInfoList.size(), 3);
        QCOMPARE(back.reportNum(), 3);
        for (int r = 0; r < back.itemEntries().size(); ++r)
            QCOMPARE(back.itemEntries().at(r)->isBoxChecked(), r == 0 || r == 2);
        // The next report continues the numbering.
        back.addNewReport(0);
        QVERIFY(mainTabs(back)->tabText(3).endsWith(QLatin1Char('3')));
        checkWindow(back);
    }

    // Deleting with report pages open: refused while a report uses the item,
    // rows renumbered in every report otherwise, whichever tab is current.
    void deleteWithReports_data()
    {
        QTest::addColumn<int>("currentTab");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("first");
        QTest::addColumn<QList<int>>("second");
        QTest::addColumn<QString>("refusal"); // empty: deleted
        QTest::newRow("used by both reports") << 1 << 2 << QList<int> { 2, 5 } << QList<int> { 2, 0 }
                                               << QStringLiteral("气体报告1\r\n电力报告2\r\n");
        QTest::newRow("last report current") << 2 << 3 << QList<int> { 2, 4 } << QList<int> { 5, 0 } << QString();
        QTest::newRow("first report current") << 1 << 3 << QList<int> { 2, 4 } << QList<int> { 5, 0 } << QString();
        QTest::newRow("browse tab current") << 0 << 1 << QList<int> { 1, 4 } << QList<int> { 5, 0 } << QString();
    }
    void deleteWithReports()
    {
        QFETCH(int, currentTab);
        QFETCH(int, row);
        QFETCH(QList<int>, first);
        QFETCH(QList<int>, second);
        QFETCH(QString, refusal);
        KOVReportExport w;
        importInto(w, m_usr);
        // Report 1 uses rows 2 and 5; report 2 uses 6 and 0 (or 2 and 0).
        openReports(w, { { 2, 5 }, { refusal.isEmpty() ? 6 : 2, 0 } });
        mainTabs(w)->setCurrentIndex(currentTab);
        const QString name = w.fileNameList().at(row);
        w.findChild<QListWidget*>(QStringLiteral("listWidget"))->setCurrentRow(row);
        w.on_actionDelete_triggered();
        checkWindow(w);
        QCOMPARE(rowsOf(w.reportWins().at(0)), first);
        QCOMPARE(rowsOf(w.reportWins().at(1)), second);
        if (refusal.isEmpty()) {
            QVERIFY(m_asked.isEmpty());
            QVERIFY(!w.fileNameList().contains(name));
        } else {
            QCOMPARE(m_asked.size(), 1);
            QVERIFY(m_asked.at(0).startsWith(QStringLiteral("删除文件|") + name + QStringLiteral("\r\n")));
            QVERIFY2(m_asked.at(0).endsWith(QStringLiteral("\r\n\r\n") + refusal), qPrintable(m_asked.at(0)));
            QCOMPARE(w.fileNameList().size(), 7);
        }
        // Ticks on the list are those of the current report.
        if (currentTab > 0) {
            const QList<int> rows = rowsOf(w.reportWins().at(currentTab - 1));
            for (int r = 0; r < w.itemEntries().size(); ++r)
                QCOMPARE(w.itemEntries().at(r)->isBoxChecked(), rows.contains(r));
        }
    }

    void batchOfAllRowsRefused()
    {
        KOVReportExport w;
        importInto(w, m_usr);
        openReports(w, { { 1 } });
        w.on_actionbatchDel_triggered();
        w.findChild<QListWidget*>(QStringLiteral("listWidget"))->selectAll();
        w.on_batch_okPB_clicked();
        QCOMPARE(m_asked, QStringList { QStringLiteral("警告|删除所有文件前，请先删除所有报告页！") });
        QCOMPARE(w.fileNameList().size(), 7);
        QVERIFY(!w.findChild<QWidget*>(QStringLiteral("groupBox_batchDel"))->isHidden());
        w.on_batch_noPB_clicked();
        checkWindow(w);
    }

    void cleanupTestCase() { KOVMessageBox::s_answer = nullptr; }
};

QTEST_MAIN(TstReportRestore)
#include "tst_reportrestore.moc"
