// Report pages, the recovery cache, deletion and closing through the real
// windows; every window step ends with the windows' own consistency checks.
#include "kovcachefile.h"
#include "kovinformation.h"
#include "kovlockcheck.h"
#include "kovreportrules.h"
#include "kovsavedialog.h"
#include "kovtestutil.h"
#include "kovvideoimg.h"
#include "pagetesthelp.h"
#include "reporttesthelp.h"
#include "reviewfixture.h"
#include "xlsxtesthelp.h"
#include "kovtable.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace ReportTest;
using Rows = QList<int>;
using Reports = QList<QList<int>>;

namespace {

QComboBox* box(QObject* page, const char* name) { return page->findChild<QComboBox*>(QLatin1String(name)); }
QListWidget* list(KOVReportExport& w) { return w.findChild<QListWidget*>(QStringLiteral("listWidget")); }
QString field(QObject* page, const char* name) { return page->findChild<QLineEdit*>(QLatin1String(name))->text(); }

Reports rowsOf(KOVReportExport& w)
{
    Reports r;
    for (KOVReportWin* page : w.reportWins()) {
        const QQueue<int> q = page->chosedItemList();
        r << Rows(q.begin(), q.end());
    }
    return r;
}

QStringList tabTexts(QTabWidget* tabs)
{
    QStringList t;
    for (int i = 0; i < tabs->count(); ++i) t << tabs->tabText(i);
    return t;
}

// Each page's number (its files' prefix) and header, as record and as shown.
QStringList headers(KOVReportExport& w)
{
    QStringList h;
    for (KOVReportWin* p : w.reportWins()) {
        const KOVReportInfo r = p->getReportData();
        h << QStringLiteral("%1|%2|%3|%4|%5").arg(p->reportNumber()).arg(r.company, r.tester, field(p, "infoCompany"),
                                                                          field(p, "infoTester"));
    }
    return h;
}

// What a restore brings back, but for the rows: names, tabs, headers, point
// tabs, the current tabs and the shown item.
QStringList state(KOVReportExport& w)
{
    QStringList s = w.fileNameList() + tabTexts(mainTabs(w)) + headers(w);
    for (KOVReportWin* p : w.reportWins())
        s << tabTexts(pointTabs(p)).join('|') + QString::number(pointTabs(p)->currentIndex());
    return s << QStringLiteral("%1 %2 %3").arg(mainTabs(w)->currentIndex()).arg(w.browsePage()->shownItem()).arg(w.preIndex());
}

// A cache as a restore must give it back: without the write's uuid and
// time, the fresh names of its pictures and the current tab and frame.
QJsonValue masked(const QJsonValue& v)
{
    static const QStringList current { "uuid", "dateTime", "currentIndex", "videoImgIndex" };
    if (v.isArray()) {
        QJsonArray a;
        for (const QJsonValue& x : v.toArray())
            a.append(masked(x));
        return a;
    }
    if (v.isObject()) {
        QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end();)
            it = current.contains(it.key()) ? o.erase(it) : (*it = masked(*it), ++it);
        return o;
    }
    return v.toString().startsWith(KOVCacheFile().dir()) ? QJsonValue("cache picture") : v;
}

// Where two documents differ: "path: was -> is" per member or element.
QStringList differences(const QJsonValue& was, const QJsonValue& is, const QString& at = QString())
{
    QStringList d;
    if (was.isObject() && is.isObject()) {
        const QJsonObject a = was.toObject(), b = is.toObject();
        QStringList keys = a.keys() + b.keys();
        keys.removeDuplicates();
        for (const QString& k : keys)
            d << differences(a.value(k), b.value(k), at + '/' + k);
    } else if (was.isArray() && is.isArray() && was.toArray().size() == is.toArray().size()) {
        for (int i = 0; i < was.toArray().size(); ++i)
            d << differences(was.toArray().at(i), is.toArray().at(i), at + '/' + QString::number(i));
    } else if (was != is) {
        const auto text = [](const QJsonValue& v) {
            return v.isString() ? v.toString() : QString::fromUtf8(QJsonDocument(QJsonArray { v }).toJson(QJsonDocument::Compact));
        };
        d << at + ": " + text(was) + " -> " + text(is);
    }
    return d;
}

QJsonObject readCache()
{
    QJsonObject root;
    QString why;
    return KOVCacheFile().read(&root, &why) ? root : QJsonObject();
}

void untick(KOVReportExport& w, int row) { w.itemEntries().at(row)->findChild<QCheckBox*>()->setChecked(false); }
QStringList hideImg(const QString& dir) { return QDir(dir + QStringLiteral("/hideImg")).entryList(QDir::Files); }

} // namespace

class TstReportRestore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_usr; // 7 items
    Answers m_asked;
    QList<ReviewFixture::Item> m_items; // a picture and a video for the review page alone
    QStringList m_saveAsked;            // "current tab|proposed name" per save dialog
    QString m_saveDir;                  // where the save dialog answers; empty cancels
    KOVReportExport* m_window = nullptr;

    // The work left open at a quit: a gas report's picture, and three
    // discharge videos of an electrical report, each with a frame locked
    // with its pattern, the first with a clip to export. Exported first,
    // the cache then written and kept aside for each restore.
    struct
    {
        QJsonObject cache;
        QJsonArray sheets;
        QStringList tree;
    } m_left;
    QString m_keptCache;

    void leaveWork()
    {
        if (!m_left.cache.isEmpty())
            return;
        const QString usr = m_root.filePath(QStringLiteral("pdwork"));
        QVERIFY(QDir().mkpath(usr) && QFile(usr + "/usrInfo.ini").open(QIODevice::WriteOnly));
        QVERIFY(!ReviewFixture::makeItem(usr, "a_pic", "IMG_1.jpg", KOVGen::ItemKind::Picture, 1, 0).path.isEmpty());
        for (int i = 1; i <= 3; ++i)
            QVERIFY(!PageTest::writePdVideo(usr + QString("/pd%1").arg(i), QString("VID_%1.mp4").arg(i), 30, quint64(i)).isEmpty());
        KOVInformation::Instance()->setPDDLen(240);
        // The classifier's bank, so that the patterns get a class.
        const QString bank = QStringLiteral("cfg/Data/bank.txt");
        QVERIFY(QDir().mkpath("cfg/Data") && (QFile::exists(bank) || QFile::copy(KOVXlsxTest::binaryDir() + "/run/" + bank, bank)));
        KOVReportExport w;
        w.show();
        openReports(w, usr, { { 0 }, { 1, 2, 3 } });
        KOVReportWin* report = w.reportWins().at(1);
        for (int j = 0; j < 3; ++j) {
            pointTabs(report)->setCurrentIndex(j);
            KOVVideoImg* page = report->testPointPages().at(j);
            QTRY_VERIFY_WITH_TIMEOUT(page->pointInfo().pdd && page->pointInfo().wavform, 5000);
            page->findChild<QSlider*>("horizontalSlider")->setValue(24 + 2 * j);
            QVERIFY(QMetaObject::invokeMethod(page, "on_lockBtn_clicked"));
            QCOMPARE(KOVLockCheck::check(page->lockState()), QString());
            QVERIFY(!page->lockState().pddTypes.value(0).isEmpty());
            if (j == 0) {
                page->findChild<QAbstractButton*>("radioButton")->setChecked(true);
                auto* clip = page->findChild<QPushButton*>("screenShotPB");
                clip->click();
                for (int t = 0; t < 4; ++t)
                    QVERIFY(QMetaObject::invokeMethod(page, "slotTimeOut"));
                clip->click();
                QVERIFY(page->pointInfo().hasClip && !page->pointInfo().clipAudio.isEmpty());
            }
            KOV_CONSISTENT(w);
        }
        m_saveDir = m_root.filePath(QStringLiteral("left"));
        w.on_actionsaveReport_triggered();
        m_left.tree = KOVTest::listTree(m_saveDir + "/电力报告2");
        m_left.sheets = KOVXlsxTest::inspect(m_saveDir + "/电力报告2/电力报告2.xlsx").value("sheets").toArray();
        QVERIFY(m_left.sheets.size() == 4 && m_left.tree.contains("VID_1.mp4/R2_videoClip.avi"));
        // Closed with the report open.
        QVERIFY(w.saveData());
        m_keptCache = m_root.filePath(QStringLiteral("keptcache"));
        QVERIFY(KOVTest::copyFiles(KOVCacheFile().dir(), m_keptCache));
        m_left.cache = readCache();
    }

    void open(KOVReportExport& w, const Reports& reports, int tab = 0)
    {
        w.show();
        openReports(w, m_usr, reports, tab);
        KOV_CONSISTENT(w);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(KOVXlsxTest::installTemplates(QDir::currentPath()));
        m_usr = makeUserDir(m_root.filePath(QStringLiteral("default")), 7);
        QVERIFY(!m_usr.isEmpty());
        m_items << ReviewFixture::makeItem(m_root.path(), QStringLiteral("p1"), QStringLiteral("a.jpg"), KOVGen::ItemKind::Picture, 1, 0)
                << ReviewFixture::makeItem(m_root.path(), QStringLiteral("v1"), QStringLiteral("b.mp4"), KOVGen::ItemKind::Video, 12, 1);
        m_asked.install();
        KOVSaveDialog::s_answer = [this](const QString&, const QString& proposed, const QString&) {
            m_saveAsked << QStringLiteral("%1|%2").arg(m_window ? mainTabs(*m_window)->currentIndex() : -1).arg(proposed);
            return m_saveDir.isEmpty() ? QString() : m_saveDir + QLatin1Char('/') + proposed + ".xlsx";
        };
    }
    void init()
    {
        m_asked.clear();
        m_saveAsked.clear();
        m_saveDir.clear();
        KOVCacheFile().remove();
        for (const QString& d : QDir().entryList({ QStringLiteral("cache-failed-*") }, QDir::Dirs))
            QDir(d).removeRecursively();
    }

    void openAndNumber()
    {
        KOVReportExport w;
        w.addNewReport(0);
        QCOMPARE(m_asked.texts, QStringList{"请先导入文件列表！"}); // and no tab: the names below start at 1
        importInto(w, m_usr);
        w.findChild<QAction*>("actionGas")->trigger();
        w.findChild<QAction*>("actionElectricity")->trigger();
        KOV_CONSISTENT(w);
        QCOMPARE(tabTexts(mainTabs(w)).mid(1), (QStringList{"气体报告1", "电力报告2"}));
        QCOMPARE(w.reportWins().at(1)->getReportData().type, 1);
        QCOMPARE(currentPage(w), w.reportWins().at(1));
        for (int i = 3; i <= KOVReportRules::kMaxReports; ++i)
            w.addNewReport(0);
        m_asked.texts.clear();
        w.addNewReport(1);
        QCOMPARE(m_asked.texts, QStringList{"可新建报告数量达最大值！"});
        QCOMPARE(w.getMainTabNum(), KOVReportRules::kMaxReports + 1);
        KOV_CONSISTENT(w);
        // Closing a page gives its number to nobody.
        QPointer<KOVReportWin> closed = w.reportWins().at(4);
        emit mainTabs(w)->tabCloseRequested(5);
        KOV_CONSISTENT(w);
        w.addNewReport(1);
        QCOMPARE(mainTabs(w)->tabText(KOVReportRules::kMaxReports), QStringLiteral("电力报告31"));
        KOV_CONSISTENT(w);
        QTRY_VERIFY(closed.isNull()); // released, not kept hidden
    }

    void tickAndUntick()
    {
        KOVReportExport w;
        openReports(w, m_usr, {{1, 4}});
        KOVReportWin* page = currentPage(w);
        KOV_CONSISTENT(w);
        QCOMPARE(page->getReportData().pointInfoList.at(1).name, w.fileNameList().at(4));
        tick(w, 1); // already chosen: nothing
        QVERIFY(!page->addTestpoint(-1) && !page->addTestpoint(w.fileNameList().size())); // outside the list
        QCOMPARE(pointTabs(page)->count(), 2);

        m_asked.answer = 1; // 否
        untick(w, 1);
        QCOMPARE(m_asked.texts, QStringList{"文件 " + w.fileNameList().at(1) + " 已被选做测试点分析，\r\n是否取消选中并删除测试点！"});
        QCOMPARE(page->chosedItemList(), (QQueue<int>() << 1 << 4));
        KOV_CONSISTENT(w);
        m_asked.answer = 0;
        untick(w, 1);
        QCOMPARE(page->chosedItemList(), QQueue<int>() << 4);
        KOV_CONSISTENT(w);

        // The browse page shows no ticks; coming back shows this report's
        // (the consistency check compares every box with the current rows).
        mainTabs(w)->setCurrentIndex(0);
        KOV_CONSISTENT(w);
        QVERIFY(w.itemEntries().at(4)->findChild<QCheckBox*>()->isHidden());
        w.addNewReport(1);
        tick(w, 2);
        KOV_CONSISTENT(w);
        mainTabs(w)->setCurrentWidget(page);
        KOV_CONSISTENT(w);
    }

    void hundredAndFirstRefused()
    {
        KOVReportExport w;
        const QString large = makeUserDir(m_root.filePath(QStringLiteral("large")), KOVReportRules::kMaxPoints + 1);
        Rows all;
        for (int r = 0; r < KOVReportRules::kMaxPoints; ++r) all << r;
        openReports(w, large, {all});
        tick(w, KOVReportRules::kMaxPoints);
        QCOMPARE(m_asked.texts, QStringList{"可增加测试点数量达最大值！"});
        QCOMPARE(currentPage(w)->testPointPages().size(), KOVReportRules::kMaxPoints);
        KOV_CONSISTENT(w);
    }

    // A dragged tab, then unticking and closing: the right point goes, with
    // its files and no other's.
    void dragThenRemove()
    {
        KOVReportExport w;
        openReports(w, m_usr, {{0, 1, 2}});
        KOVReportWin* page = currentPage(w);
        for (int i = 0; i < 3; ++i)
            emit page->testPointPages().at(i)->sigPointInfoChanged(
                videoRecord(w.fileNameList().at(i), m_root.filePath(QString("files%1").arg(i))));
        QVERIFY(pointTabs(page)->isMovable());
        pointTabs(page)->tabBar()->moveTab(0, 2); // rows now 1, 2, 0
        KOV_CONSISTENT(w);
        QCOMPARE(page->chosedItemList(), QQueue<int>() << 1 << 2 << 0);
        QCOMPARE(page->pointInfoList().at(2).name, w.fileNameList().at(0));
        untick(w, 0);
        KOV_CONSISTENT(w);
        QCOMPARE(page->chosedItemList(), QQueue<int>() << 1 << 2);
        QCOMPARE(QList<int>({hideImg(m_root.filePath("files0")).size(), hideImg(m_root.filePath("files1")).size()}), QList<int>({0, 5}));
        // The close button of the tab now first (row 1): the main window
        // unticks that row.
        emit pointTabs(page)->tabCloseRequested(0);
        KOV_CONSISTENT(w);
        QCOMPARE(page->chosedItemList(), QQueue<int>() << 2);
        QCOMPARE(QList<int>({hideImg(m_root.filePath("files1")).size(), hideImg(m_root.filePath("files2")).size()}), QList<int>({0, 5}));
    }

    void lateRecords()
    {
        KOVReportExport w;
        openReports(w, m_usr, {{0, 1}});
        KOVReportWin* first = currentPage(w);
        QPointer<KOVVideoImg> page0 = first->testPointPages().at(0);
        KOVTestPointInfo late = first->pointInfoList().at(0);
        late.advice = QStringLiteral("late reading");
        emit page0->sigPointInfoChanged(late); // tab 1 is current
        QCOMPARE(QStringList({first->pointInfoList().at(0).advice, first->pointInfoList().at(1).name,
                              w.reportRecords().at(0).pointInfoList.at(0).advice}), QStringList({late.advice, w.fileNameList().at(1), late.advice}));
        KOV_CONSISTENT(w);
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
        KOV_CONSISTENT(w);
        QTRY_VERIFY(page0.isNull());
    }

    void dragReportTabs()
    {
        KOVReportExport w;
        openReports(w, m_usr, {{}, {}, {}});
        QList<KOVReportWin*> pages = w.reportWins();
        QTabBar* bar = mainTabs(w)->tabBar();
        QVERIFY(mainTabs(w)->isMovable());
        bar->moveTab(3, 1);
        KOV_CONSISTENT(w);
        QCOMPARE(w.reportWins(), (QList<KOVReportWin*>{pages[2], pages[0], pages[1]}));
        bar->moveTab(0, 2); // the browse page goes back first
        KOV_CONSISTENT(w);
        bar->moveTab(2, 0);
        KOV_CONSISTENT(w);
        // Closing the dragged report deletes its pictures only; the clip files stay.
        mainTabs(w)->setCurrentWidget(pages[2]);
        tick(w, 5);
        emit pages[2]->testPointPages().at(0)->sigPointInfoChanged(videoRecord("x", m_root.filePath("rep2")));
        mainTabs(w)->setCurrentWidget(pages[1]);
        tick(w, 4);
        emit pages[1]->testPointPages().at(0)->sigPointInfoChanged(videoRecord("y", m_root.filePath("rep1")));
        emit mainTabs(w)->tabCloseRequested(mainTabs(w)->indexOf(pages[2]));
        KOV_CONSISTENT(w);
        QCOMPARE(w.reportWins(), (QList<KOVReportWin*>{pages[0], pages[1]}));
        QCOMPARE(hideImg(m_root.filePath("rep2")), (QStringList{"a.wav", "v.avi"}));
        QCOMPARE(hideImg(m_root.filePath("rep1")).size(), 5);
    }

    // A title typed on a page that is not current renames that page's tab;
    // the date picked reaches the record in the workbook's form. The header
    // box slides up to its fold button and back, the tabs taking its room;
    // tabs keep their width, scaled with the screen.
    void header()
    {
        KOVReportExport w;
        w.refreshSize(96);
        openReports(w, m_usr, {{0}, {}});
        KOVReportWin* page = w.reportWins().at(0);
        page->findChild<QLineEdit*>("infoName")->setText(QStringLiteral("北区管网"));
        QCOMPARE(tabTexts(mainTabs(w)).mid(1), (QStringList{"北区管网", "电力报告2"}));
        QCOMPARE(mainTabs(w)->tabBar()->tabRect(1).size(), QSize(200, 30));
        emit page->findChild<QCalendarWidget*>("calendarWidget")->clicked(QDate(2022, 3, 5));
        QCOMPARE(page->getReportData().datetime, QStringLiteral("2022-03-05"));

        auto* header = page->findChild<QGroupBox*>("groupBox_reportInfo");
        auto* button = page->findChild<QPushButton*>("hideInfoBtn");
        QTabWidget* tabs = pointTabs(page);
        const QRect shown = tabs->geometry();
        const auto icon = [button](const char* name) {
            return button->icon().pixmap(20).toImage() == QIcon(QStringLiteral(":/style/ico/reportWin/") + name).pixmap(20).toImage();
        };
        button->click();
        QCOMPARE(header->pos(), QPoint(10, -button->y()));
        QCOMPARE(tabs->geometry(), QRect(10, button->height() + 10, shown.width(), shown.height() + button->y() + 10));
        QVERIFY(icon("down.png"));
        button->click();
        QCOMPARE(header->pos(), QPoint(10, 10));
        QCOMPARE(tabs->geometry(), shown);
        QVERIFY(icon("up.png"));
        QCOMPARE(tabs->tabBar()->tabRect(0).size(), QSize(200, 25));
        page->slotScreenDPIChanged(1.5);
        QCOMPARE(tabs->tabBar()->tabRect(0).width(), 300);
    }

    void reviewPageRoundTrip_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("picture on a gas report") << 0;
        QTest::newRow("video on an electrical report, locked frame and clip") << 1;
    }
    void reviewPageRoundTrip()
    {
        QFETCH(int, row);
        ReviewFixture::publish(m_items);
        KOVVideoImg saved;
        saved.isReportWin(true, row);
        saved.slotUpdateItemList();
        saved.showItem(row, m_items.at(row).dir);
        // The box of the item's own label last: its text is the record's.
        box(&saved, row ? "infoFaultLevel_gas" : "infoFaultLevel_elec")->setCurrentIndex(1);
        box(&saved, row ? "infoFaultLevel_elec" : "infoFaultLevel_gas")->setCurrentIndex(2);
        if (row == 1) {
            QVERIFY(QMetaObject::invokeMethod(&saved, "on_lockBtn_clicked"));
            saved.findChild<QPushButton*>(QStringLiteral("screenShotPB"))->click();
            for (int i = 0; i < 3; ++i)
                QVERIFY(QMetaObject::invokeMethod(&saved, "slotTimeOut"));
            saved.findChild<QPushButton*>(QStringLiteral("screenShotPB"))->click();
            QVERIFY(saved.lockState().marks.size() == 1 && saved.pointInfo().hasClip);
        }
        QJsonObject first;
        saved.saveData(first);
        KOVVideoImg restored;
        restored.isReportWin(true, row);
        restored.restoreData(first);
        QCOMPARE(restored.shownItem(), row);
        QCOMPARE(KOVLockCheck::check(restored.lockState()), QString());
        // Saved again alike, but for the pictures' fresh names and the frame
        // index, which a page not shown yet does not hold.
        QJsonObject second, a = first.value("testPoint").toObject();
        restored.saveData(second);
        QJsonObject b = second.value("testPoint").toObject();
        for (const char* key : { "img", "markedImgList", "pddImgList", "videoImgIndex" }) {
            a.remove(QLatin1String(key));
            b.remove(QLatin1String(key));
        }
        QCOMPARE(b, a); // the label boxes included, as saveData reads them
    }

    // A damaged or edited state: frame numbers bounded, paths outside the
    // item's hideImg/ dropped (a clip with its sound), combo index checked.
    void hostilePageState()
    {
        ReviewFixture::publish(m_items);
        const QString hide = m_items.at(1).dir + QStringLiteral("hideImg/");
        QJsonObject root { { "testPoint", QJsonObject { { "preSelect", 1 }, { "faultLevel_gas", 9 },
            { "markList", QJsonArray { 0, -3, 5, 5, 6 } },
            { "screenList", QJsonArray { hide + "../b.mp4" } }, { "screenAudioList", QJsonArray { hide + "c.wav" } },
            { "pointInfo", QJsonObject { { "hasClip", true },
                { "videoImgPathList", QJsonArray { m_items.at(1).dir + "hideImgX/5.jpg", hide + "6.jpg" } } } } } } };
        KOVVideoImg page;
        page.isReportWin(true, 0);
        page.restoreData(root);
        QCOMPARE(page.lockState().marks, QList<int> { 5 });
        QCOMPARE(KOVLockCheck::check(page.lockState(), false), QString());
        QCOMPARE(page.pointInfo().videoImgPathList, QStringList { QString() });
        QVERIFY(!page.pointInfo().hasClip && page.pointInfo().clipVideo.isEmpty());
        QCOMPARE(box(&page, "infoFaultLevel_gas")->currentIndex(), -1);
    }

    void windowRoundTrip()
    {
        QStringList before;
        const QString firstWrite = QStringLiteral("first-cache.json");
        QByteArray firstBytes;
        {
            KOVReportExport w;
            open(w, { { 0, 2 }, { 1, 6, 3 } });
            for (int i = 0; i < 2; ++i) {
                w.reportWins().at(i)->findChild<QLineEdit*>("infoCompany")->setText(QStringLiteral("公司 %1").arg(i));
                w.reportWins().at(i)->findChild<QLineEdit*>("infoTester")->setText(QStringLiteral("测试员 %1").arg(i));
            }
            w.clickItemtoShow(4);
            w.saveData();
            // Of two writes the last stands, alone; the first is replaced
            // whole, never rewritten in place (a link to it keeps it).
            QFile::remove(firstWrite);
            QCOMPARE(::link(qPrintable(KOVCacheFile().jsonPath()), qPrintable(firstWrite)), 0);
            firstBytes = KOVTest::readAll(firstWrite);
            mainTabs(w)->setCurrentIndex(1);
            pointTabs(w.reportWins().at(1))->setCurrentIndex(1);
            before = state(w);
            w.saveData();
        }
        QCOMPARE(KOVTest::readAll(firstWrite), firstBytes);
        QVERIFY(KOVTest::readAll(KOVCacheFile().jsonPath()) != firstBytes);
        QCOMPARE(QDir(KOVCacheFile().dir()).entryList({ QStringLiteral("*.json*") }, QDir::Files).size(), 1);
        KOVInformation::Instance()->setFileNameList({});
        KOVReportExport back;
        back.restoreData();
        KOV_CONSISTENT(back);
        QCOMPARE(m_asked.texts, QStringList { QStringLiteral("检测到上次未正常关闭，是否恢复？") });
        QVERIFY(!KOVCacheFile().exists());
        back.restoreData(); // offered once
        QCOMPARE(m_asked.texts.size(), 1);
        QCOMPARE(rowsOf(back), (Reports { { 0, 2 }, { 1, 6, 3 } }));
        // Each page keeps its number (in its header), so the restored pages'
        // files never share a prefix.
        QCOMPARE(state(back), before);
        QCOMPARE(before.last(), QStringLiteral("1 4 4"));
        back.addNewReport(0); // the numbering goes on
        QVERIFY(mainTabs(back)->tabText(3).endsWith(QLatin1Char('3')));
    }

    // Restored, the work is as left: quit again at once, the cache is the
    // same; exported again, so are the workbook and the clips.
    void restoredAsLeft_data()
    {
        KOVTable::columns<bool>({ "exportAgain" });
        QTest::newRow("quit again at once") << false;
        QTest::newRow("exported again") << true;
    }
    void restoredAsLeft()
    {
        QFETCH(bool, exportAgain);
        leaveWork();
        if (QTest::currentTestFailed())
            return;
        KOVCacheFile().remove();
        QVERIFY(KOVTest::copyFiles(m_keptCache, KOVCacheFile().dir()));
        KOVInformation::Instance()->setFileNameList({});
        KOVReportExport back;
        back.show();
        back.restoreData();
        KOV_CONSISTENT(back);
        QStringList changed;
        if (exportAgain) {
            m_saveDir = m_root.filePath(QStringLiteral("again"));
            back.on_actionsaveReport_triggered();
            QCOMPARE(KOVTest::listTree(m_saveDir + "/电力报告2"), m_left.tree);
            changed = differences(m_left.sheets,
                KOVXlsxTest::inspect(m_saveDir + "/电力报告2/电力报告2.xlsx").value("sheets").toArray());
        } else {
            QVERIFY(back.saveData());
            changed = differences(masked(m_left.cache), masked(readCache()));
        }
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join('\n')));
        for (KOVReportWin* r : back.reportWins())
            for (KOVVideoImg* page : r->testPointPages())
                QCOMPARE(KOVLockCheck::check(page->lockState()), QString());
    }

    // Bad caches fail, shown and kept aside, and are not offered again; bad
    // indexes in a good one are bounded.
    void untrustedCache_data()
    {
        // reason: empty: restored
        KOVTable::columns<QByteArray, QString>({"bytes", "reason"});
        const QJsonObject good { { "usrDirPath", m_usr }, { "itemNameList", QJsonArray { "a", "b" } },
            { "itemPathList", QJsonArray { m_usr + "/item1/a", m_usr + "/item2/b" } } };
        const QByteArray whole = QJsonDocument(good).toJson();
        QTest::newRow("torn") << whole.left(whole.size() - 9) << "offset";
        QJsonObject o = good;
        o.insert("itemNameList", QJsonArray { "a", "b", "c" });
        QTest::newRow("mismatched arrays") << QJsonDocument(o).toJson() << "2 item paths but 3 item names";
        QTest::newRow("not an object") << QByteArray("[]") << "not an object";
        o = good;
        o.insert("usrDirPath", m_root.filePath(QStringLiteral("gone/")));
        QTest::newRow("user directory gone") << QJsonDocument(o).toJson() << "is gone";
        o = good;
        o.insert("preIndex", 2); // one past the list
        o.insert("currentIndex", 9);
        o.insert("videoImg", QJsonObject { { "testPoint", QJsonObject { { "preSelect", 40 } } } });
        // Rows short, twice and past the list; a point tab past the last.
        o.insert("winList", QJsonArray { QJsonObject { { "reportInfo", QJsonObject { { "currentIndex", 12 },
            { "chosedItemList", QJsonArray { 0, 0, 70 } }, { "testPointList", QJsonArray { QJsonObject(), QJsonObject(), QJsonObject(), QJsonObject() } } } } } });
        QTest::newRow("indexes out of range") << QJsonDocument(o).toJson() << QString();
    }
    void untrustedCache()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const auto put = [&bytes] {
            QDir().mkpath(KOVCacheFile().dir());
            QFile f(KOVCacheFile().jsonPath());
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
        };
        QVERIFY(put());
        KOVReportExport w;
        w.restoreData();
        KOV_CONSISTENT(w);
        const QStringList aside = QDir().entryList({ QStringLiteral("cache-failed-*") }, QDir::Dirs);
        if (reason.isNull()) {
            // The main tab: the last page added.
            QCOMPARE(QList<int>({aside.size(), w.fileNameList().size(), w.preIndex(), w.browsePage()->shownItem(),
                                 mainTabs(w)->currentIndex(), pointTabs(w.reportWins().at(0))->currentIndex()}),
                     QList<int>({0, 2, -1, -1, 1, 3}));
            QCOMPARE(rowsOf(w), (Reports { { 0, -1, -1, -1 } }));
            return;
        }
        QVERIFY(w.fileNameList().isEmpty() && !KOVCacheFile().exists()); // not offered again
        QCOMPARE(m_asked.texts.size(), 2);
        QVERIFY2(m_asked.texts.at(1).startsWith(QStringLiteral("上次的工作无法恢复：")) && m_asked.texts.at(1).contains(reason)
                     && aside.size() == 1 && m_asked.texts.at(1).contains(aside.value(0)),
                 qPrintable(m_asked.texts.at(1)));
        QCOMPARE(KOVTest::readAll(aside.at(0) + QStringLiteral("/cache.json")), bytes);
        // Another bad cache, in the same second, goes to a folder of its own.
        QVERIFY(put());
        KOVReportExport again;
        again.restoreData();
        QCOMPARE(QDir().entryList({ QStringLiteral("cache-failed-*") }, QDir::Dirs).size(), 2);
    }

    // Rows deleted, one by one or as a batch, unless refused (asked).
    void deletion_data()
    {
        // shown: -1: nothing shown
        KOVTable::columns<Reports, int, int, bool, Rows, int, Reports, QString>(
            {"reports", "tab", "shown", "batch", "rows", "preIndex", "after", "asked"});
        QTest::newRow("the shown row") << Reports() << 0 << 2 << false << Rows { 2 } << 0 << Reports() << "";
        QTest::newRow("a row before the shown one") << Reports() << 0 << 3 << false << Rows { 0 } << 2 << Reports() << "";
        QTest::newRow("batch of two apart") << Reports() << 0 << -1 << true << Rows { 0, 2 } << -1 << Reports() << "";
        QTest::newRow("used by both reports") << Reports { { 2, 5 }, { 2, 0 } } << 1 << -1 << false << Rows { 2 } << -1
                                              << Reports { { 2, 5 }, { 2, 0 } } << "\r\n\r\n气体报告1\r\n电力报告2\r\n";
        QTest::newRow("first report current, another after it") << Reports { { 2, 5 }, { 6, 0 } } << 1 << -1 << false << Rows { 3 }
                                                               << -1 << Reports { { 2, 4 }, { 5, 0 } } << "";
        QTest::newRow("batch of all rows with a report") << Reports { { 1 } } << 1 << -1 << true << Rows { 0, 1, 2, 3, 4, 5, 6 }
                                                         << -1 << Reports { { 1 } } << "删除所有文件前，请先删除所有报告页！";
    }
    void deletion()
    {
        QFETCH(Reports, reports);
        QFETCH(int, shown);
        QFETCH(bool, batch);
        QFETCH(Rows, rows);
        QFETCH(QString, asked);
        QFETCH(int, tab);
        KOVReportExport w;
        open(w, reports, tab);
        if (shown >= 0)
            w.clickItemtoShow(shown);
        const QStringList names = w.fileNameList();
        if (batch) {
            w.on_actionbatchDel_triggered();
            for (int r : rows)
                list(w)->item(r)->setSelected(true);
            w.on_batch_okPB_clicked();
        } else {
            list(w)->setCurrentRow(rows.at(0));
            w.on_actionDelete_triggered();
        }
        KOV_CONSISTENT(w);
        QCOMPARE(KOVInformation::Instance()->getFilePathList(), w.filePathList());
        QStringList left = names;
        for (int i = rows.size() - 1; asked.isEmpty() && i >= 0; --i)
            left.removeAt(rows.at(i));
        QCOMPARE(w.fileNameList(), left);
        QTEST(rowsOf(w), "after");
        if (shown >= 0)
            QTEST(w.browsePage()->shownItem(), "preIndex");
        QCOMPARE(m_asked.texts.size(), asked.isEmpty() ? 0 : 1);
        QVERIFY(asked.isEmpty() || m_asked.texts.at(0).endsWith(asked));
    }

    // Closing the main window offers every open report for export, tab by
    // tab with its own save dialog.
    void closeOffersExport_data()
    {
        KOVTable::columns<int, int, bool, QStringList>({"reports", "answer", "saved", "dialogs"});
        QTest::newRow("browse tab alone asks nothing") << 0 << 0 << true << QStringList{};
        QTest::newRow("two reports, yes: two exports") << 2 << 0 << true << QStringList{"1|气体报告1", "2|电力报告2"};
        QTest::newRow("two reports, yes, both dialogs cancelled")
            << 2 << 0 << false << QStringList{"1|气体报告1", "2|电力报告2"};
        QTest::newRow("two reports, no: nothing exported") << 2 << 1 << true << QStringList{};
        QTest::newRow("box closed without an answer counts as no") << 1 << -1 << true << QStringList{};
    }
    void closeOffersExport()
    {
        QFETCH(int, reports);
        QFETCH(int, answer);
        QFETCH(bool, saved);
        QFETCH(QStringList, dialogs);
        const QString out = m_root.filePath(QStringLiteral("out_%1").arg(QTest::currentDataTag()));
        QDir().mkpath(out);
        m_saveDir = saved ? out : QString();
        m_asked.answer = answer;
        KOVReportExport w;
        m_window = &w;
        openReports(w, m_usr, Reports{{0}, {1}}.mid(0, reports));
        w.resize(1333, 777);
        QVERIFY(w.close());
        QCOMPARE(m_asked.texts, reports ? QStringList{"应用程序正在退出，是否导出数据！"} : QStringList{});
        QCOMPARE(m_saveAsked, dialogs);
        for (const QString& d : dialogs) // each answered dialog left its workbook behind
            QCOMPARE(QFile::exists(QStringLiteral("%1/%2/%2.xlsx").arg(out, d.section('|', 1))), saved);
        // Stored at factor 1: the test screen runs at 100 dpi.
        QCOMPARE(QSettings(QStringLiteral("./cfg/config.ini"), QSettings::IniFormat).value("/MainwindowSize/width").toInt(), 1280);
        m_window = nullptr;
    }

    // A close that arrives while an export runs (here from inside its
    // progress dialog) lets it end before the offer and before the close.
    void closeDuringExport()
    {
        KOVReportExport w;
        openReports(w, m_usr, {{0}});
        m_saveDir = m_root.filePath(QStringLiteral("during"));
        QDir().mkpath(m_saveDir);
        QSignalSpy finish(&w, &KOVReportExport::sigFinishProgressBar);
        QString whenAsked; // exporting, progress ends
        KOVMessageBox::s_answer = [&](QMessageBox::Icon, const QString&, const QString&, const QStringList&) {
            whenAsked = QStringLiteral("%1 %2").arg(w.isExporting()).arg(finish.size());
            return 1;
        };
        QTimer::singleShot(0, &w, [&w] { w.close(); });
        w.on_actionsaveReport_triggered();
        m_asked.install();
        QCOMPARE(whenAsked, QStringLiteral("0 1"));
        QVERIFY(w.isHidden());
        QString error;
        QVERIFY2(!KOVXlsxTest::inspect(m_saveDir + "/气体报告1/气体报告1.xlsx", &error).isEmpty(), qPrintable(error));
    }
    // A report's ✕ asks before its test points (and their locked pictures)
    // go; an empty report closes at once.
    void closeReportTab_data()
    {
        KOVTable::columns<int, int, int>({"points", "answer", "tabsAfter"});
        QTest::newRow("empty report, no question") << 0 << 1 << 1;
        QTest::newRow("test points, no keeps it") << 2 << 1 << 2;
        QTest::newRow("test points, box closed keeps it") << 1 << -1 << 2;
        QTest::newRow("test points, yes closes") << 1 << 0 << 1;
    }
    void closeReportTab()
    {
        QFETCH(int, points);
        KOVReportExport w;
        openReports(w, m_usr, {Rows{0, 1}.mid(0, points)});
        QFETCH(int, answer);
        m_asked.answer = answer;
        emit mainTabs(w)->tabCloseRequested(1);
        QTEST(w.getMainTabNum(), "tabsAfter");
        QCOMPARE(m_asked.boxes, points ? QStringList{"警告|报告 气体报告1 中有测试点，\r\n是否关闭报告并删除测试点！|是,否"}
                                       : QStringList{});
        if (w.getMainTabNum() == 2)
            QCOMPARE(w.reportWins().at(0)->chosedItemList().size(), points);
        KOV_CONSISTENT(w);
    }

    // A cache that cannot be written (its name taken by a folder) is told
    // while the window still shows, and its pictures do not stay behind.
    void cacheNotWrittenAtClose()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("cache/cache.json")));
        QVERIFY(QFile(QStringLiteral("cache/old.jpg")).open(QIODevice::WriteOnly));
        KOVReportExport w;
        // A shown video frame is saved as a picture beside the document.
        const QString usr = m_root.filePath(QStringLiteral("video"));
        QVERIFY(!ReviewFixture::makeItem(usr, "v", "VID_1.mp4", KOVGen::ItemKind::Video, 3, 0).path.isEmpty());
        QVERIFY(QFile(usr + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly));
        openReports(w, usr, {{0}}, 0);
        w.show();
        w.clickItemtoShow(0);
        QStringList shownWhenAsked;
        KOVMessageBox::s_answer = [&](QMessageBox::Icon, const QString& title, const QString& text, const QStringList&) {
            shownWhenAsked << QStringLiteral("%1|%2|%3").arg(title, text.left(9)).arg(w.isVisible());
            return 1;
        };
        QVERIFY(w.close());
        m_asked.install();
        QCOMPARE(shownWhenAsked, (QStringList{"提示|应用程序正在退出，|1", "警告|恢复缓存未能写入，|1"}));
        QCOMPARE(QDir(QStringLiteral("cache")).entryList({"*.jpg"}, QDir::Files), QStringList{"old.jpg"});
        QDir(QStringLiteral("cache")).removeRecursively();
    }
};

QTEST_MAIN(TstReportRestore)
#include "tst_reportrestore.moc"
