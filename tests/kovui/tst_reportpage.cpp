// Report pages through the real windows: opening and numbering, ticking and
// unticking test points, dragged and closed tabs, records arriving late.
// Every step ends with the windows' own consistency checks.
#include "kovreportrules.h"
#include "kovvideoimg.h"
#include "reporttesthelp.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportTest;

#define CONSISTENT(w) QVERIFY2(faults(w).isEmpty(), qPrintable(faults(w)))

class TestReportPage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_small; // 6 items
    QString m_large; // 101 items
    Answers m_answers;

    KOVReportWin* current(KOVReportExport& w)
    {
        return qobject_cast<KOVReportWin*>(mainTabs(w)->currentWidget());
    }
    void untick(KOVReportExport& w, int row)
    {
        w.itemEntries().at(row)->findChild<QCheckBox*>(QStringLiteral("chose_checkBox"))->setChecked(false);
    }
    // A video test point's record, its five files in itemDir/hideImg where
    // pages write them.
    KOVTestPointInfo videoRecord(const QString& name, const QString& itemDir)
    {
        const QString dir = itemDir + "/hideImg/";
        QDir().mkpath(dir);
        for (const char* f : {"w.png", "f.jpg", "p.png", "a.wav", "v.avi"})
            QFile(dir + QLatin1String(f)).open(QIODevice::WriteOnly);
        KOVTestPointInfo p;
        p.name = name;
        p.type = ItemType::video;
        p.wavform = p.marked = p.pdd = p.hasClip = true;
        p.wavformImgPath = dir + "w.png";
        p.videoImgPathList << dir + "f.jpg";
        p.pddImgPathList << dir + "p.png";
        p.clipAudio = dir + "a.wav";
        p.clipVideo = dir + "v.avi";
        return p;
    }

private slots:
    void initTestCase()
    {
        m_small = makeUserDir(m_root.filePath("small"), 6);
        m_large = makeUserDir(m_root.filePath("large"), KOVReportRules::kMaxPoints + 1);
        QVERIFY(!m_small.isEmpty() && !m_large.isEmpty());
        m_answers.install();
    }
    void init()
    {
        m_answers.texts.clear();
        m_answers.answer = 0;
    }

    void openAndNumber()
    {
        KOVReportExport w;
        w.addNewReport(0);
        QCOMPARE(m_answers.texts, QStringList{"请先导入文件列表！"});
        QCOMPARE(w.getMainTabNum(), 1);
        importInto(w, m_small);

        w.findChild<QAction*>("actionGas")->trigger();
        w.findChild<QAction*>("actionElectricity")->trigger();
        CONSISTENT(w);
        QCOMPARE(mainTabs(w)->tabText(1), QStringLiteral("气体报告1"));
        QCOMPARE(mainTabs(w)->tabText(2), QStringLiteral("电力报告2"));
        QCOMPARE(w.reportWins().at(1)->getReportData().type, 1);
        QCOMPARE(current(w), w.reportWins().at(1));
        for (int i = 3; i <= KOVReportRules::kMaxReports; ++i)
            w.addNewReport(0);
        m_answers.texts.clear();
        w.addNewReport(1);
        QCOMPARE(m_answers.texts, QStringList{"可新建报告数量达最大值！"});
        QCOMPARE(w.getMainTabNum(), KOVReportRules::kMaxReports + 1);
        CONSISTENT(w);

        // Closing a page gives its number to nobody.
        QPointer<KOVReportWin> closed = w.reportWins().at(4);
        emit mainTabs(w)->tabCloseRequested(5);
        CONSISTENT(w);
        w.addNewReport(1);
        QCOMPARE(mainTabs(w)->tabText(KOVReportRules::kMaxReports), QStringLiteral("电力报告31"));
        CONSISTENT(w);
        QTRY_VERIFY(closed.isNull()); // released, not kept hidden
    }

    void tickAndUntick()
    {
        KOVReportExport w;
        importInto(w, m_small);
        w.addNewReport(0);
        KOVReportWin* page = current(w);
        tick(w, 1);
        tick(w, 4);
        CONSISTENT(w);
        QCOMPARE(page->chosedItemList(), (QQueue<int>() << 1 << 4));
        QCOMPARE(page->getReportData().pointInfoList.at(1).name, w.fileNameList().at(4));
        tick(w, 1); // already chosen: nothing
        QVERIFY(!page->addTestpoint(-1)); // rows outside the item list
        QVERIFY(!page->addTestpoint(w.fileNameList().size()));
        QCOMPARE(pointTabs(page)->count(), 2);

        m_answers.answer = 1; // 否
        untick(w, 1);
        QCOMPARE(m_answers.texts.size(), 1);
        QCOMPARE(m_answers.texts.at(0), "文件 " + w.fileNameList().at(1) + " 已被选做测试点分析，\r\n是否取消选中并删除测试点！");
        QCOMPARE(page->chosedItemList(), (QQueue<int>() << 1 << 4));
        CONSISTENT(w);

        m_answers.answer = 0;
        untick(w, 1);
        QCOMPARE(page->chosedItemList(), QQueue<int>() << 4);
        CONSISTENT(w);

        // The browse page shows no ticks; coming back shows this report's
        // (the consistency check compares every box with the current rows).
        mainTabs(w)->setCurrentIndex(0);
        CONSISTENT(w);
        QVERIFY(w.itemEntries().at(4)->findChild<QCheckBox*>()->isHidden());
        w.addNewReport(1);
        tick(w, 2);
        CONSISTENT(w);
        mainTabs(w)->setCurrentWidget(page);
        CONSISTENT(w);
    }

    void hundredAndFirstRefused()
    {
        KOVReportExport w;
        importInto(w, m_large);
        w.addNewReport(0);
        for (int r = 0; r < KOVReportRules::kMaxPoints; ++r)
            tick(w, r);
        QVERIFY(m_answers.texts.isEmpty());
        tick(w, KOVReportRules::kMaxPoints);
        QCOMPARE(m_answers.texts, QStringList{"可增加测试点数量达最大值！"});
        QCOMPARE(current(w)->testPointPages().size(), KOVReportRules::kMaxPoints);
        CONSISTENT(w);
    }

    // A dragged tab, then unticking and closing: the right point goes, with
    // its files and no other's.
    void dragThenRemove()
    {
        KOVReportExport w;
        importInto(w, m_small);
        w.addNewReport(0);
        KOVReportWin* page = current(w);
        for (int r : {0, 1, 2})
            tick(w, r);
        for (int i = 0; i < 3; ++i) {
            KOVVideoImg* p = page->testPointPages().at(i);
            emit p->sigPointInfoChanged(videoRecord(w.fileNameList().at(i), m_root.filePath(QString("files%1").arg(i))));
        }
        QVERIFY(pointTabs(page)->isMovable());
        pointTabs(page)->tabBar()->moveTab(0, 2); // rows now 1, 2, 0
        CONSISTENT(w);
        QCOMPARE(page->chosedItemList(), QQueue<int>() << 1 << 2 << 0);
        QCOMPARE(page->pointInfoList().at(2).name, w.fileNameList().at(0));

        untick(w, 0);
        CONSISTENT(w);
        QCOMPARE(page->chosedItemList(), QQueue<int>() << 1 << 2);
        QVERIFY(QDir(m_root.filePath("files0/hideImg")).entryList(QDir::Files).isEmpty());
        QCOMPARE(QDir(m_root.filePath("files1/hideImg")).entryList(QDir::Files).size(), 5);

        // The close button of the tab now first (row 1): the main window
        // unticks that row.
        emit pointTabs(page)->tabCloseRequested(0);
        CONSISTENT(w);
        QCOMPARE(page->chosedItemList(), QQueue<int>() << 2);
        QVERIFY(QDir(m_root.filePath("files1/hideImg")).entryList(QDir::Files).isEmpty());
        QCOMPARE(QDir(m_root.filePath("files2/hideImg")).entryList(QDir::Files).size(), 5);
    }

    void lateRecords()
    {
        KOVReportExport w;
        importInto(w, m_small);
        w.addNewReport(0);
        KOVReportWin* first = current(w);
        tick(w, 0);
        tick(w, 1);
        QPointer<KOVVideoImg> page0 = first->testPointPages().at(0);
        KOVTestPointInfo late = first->pointInfoList().at(0);
        late.advice = QStringLiteral("late reading");
        emit page0->sigPointInfoChanged(late); // tab 1 is current
        QCOMPARE(first->pointInfoList().at(0).advice, late.advice);
        QCOMPARE(first->pointInfoList().at(1).name, w.fileNameList().at(1));
        QCOMPARE(w.reportRecords().at(0).pointInfoList.at(0).advice, late.advice);
        CONSISTENT(w);

        // From another report's page while the second report is current.
        w.addNewReport(1);
        tick(w, 3);
        late.advice = QStringLiteral("from the first report");
        emit page0->sigPointInfoChanged(late);
        QCOMPARE(w.reportRecords().at(0).pointInfoList.at(0).advice, late.advice);
        QCOMPARE(w.reportRecords().at(1).pointInfoList.size(), 1);
        QCOMPARE(w.reportRecords().at(1).pointInfoList.at(0).name, w.fileNameList().at(3));

        // From a removed point: ignored, and its page is released.
        mainTabs(w)->setCurrentWidget(first);
        untick(w, 0);
        emit page0->sigPointInfoChanged(late);
        QCOMPARE(first->pointInfoList().size(), 1);
        QCOMPARE(first->pointInfoList().at(0).name, w.fileNameList().at(1));
        CONSISTENT(w);
        QTRY_VERIFY(page0.isNull());
    }

    void dragReportTabs()
    {
        KOVReportExport w;
        importInto(w, m_small);
        for (int type : {0, 1, 0})
            w.addNewReport(type);
        QList<KOVReportWin*> pages = w.reportWins();
        QTabBar* bar = mainTabs(w)->tabBar();
        QVERIFY(mainTabs(w)->isMovable());
        bar->moveTab(3, 1);
        CONSISTENT(w);
        QCOMPARE(w.reportWins(), (QList<KOVReportWin*>{pages[2], pages[0], pages[1]}));
        bar->moveTab(0, 2); // the browse page goes back first
        CONSISTENT(w);
        bar->moveTab(2, 0);
        CONSISTENT(w);

        // Closing the dragged report deletes its pictures only.
        mainTabs(w)->setCurrentWidget(pages[2]);
        tick(w, 5);
        emit pages[2]->testPointPages().at(0)->sigPointInfoChanged(videoRecord("x", m_root.filePath("rep2")));
        mainTabs(w)->setCurrentWidget(pages[1]);
        tick(w, 4);
        emit pages[1]->testPointPages().at(0)->sigPointInfoChanged(videoRecord("y", m_root.filePath("rep1")));
        emit mainTabs(w)->tabCloseRequested(mainTabs(w)->indexOf(pages[2]));
        CONSISTENT(w);
        QCOMPARE(w.reportWins(), (QList<KOVReportWin*>{pages[0], pages[1]}));
        // Pictures go; the clip files stay.
        QCOMPARE(QDir(m_root.filePath("rep2/hideImg")).entryList(QDir::Files), (QStringList{"a.wav", "v.avi"}));
        QCOMPARE(QDir(m_root.filePath("rep1/hideImg")).entryList(QDir::Files).size(), 5);
    }

    // A title typed on a page that is not current renames that page's tab;
    // the date picked reaches the record in the workbook's form.
    void headerFields()
    {
        KOVReportExport w;
        importInto(w, m_small);
        w.addNewReport(0);
        KOVReportWin* page = current(w);
        w.addNewReport(1);
        page->findChild<QLineEdit*>("infoName")->setText(QStringLiteral("北区管网"));
        QCOMPARE(mainTabs(w)->tabText(1), QStringLiteral("北区管网"));
        QCOMPARE(mainTabs(w)->tabText(2), QStringLiteral("电力报告2"));
        emit page->findChild<QCalendarWidget*>("calendarWidget")->clicked(QDate(2022, 3, 5));
        QCOMPARE(page->getReportData().datetime, QStringLiteral("2022-03-05"));
    }
};

QTEST_MAIN(TestReportPage)
#include "tst_reportpage.moc"
