// The recovery cache through the windows: a review page's state, the main
// window with its report pages, caches a restore must not trust; and deleting
// items while reports use them. Every window step ends with the windows' own
// consistency checks.
#include "kovcachefile.h"
#include "kovinformation.h"
#include "kovlockcheck.h"
#include "kovtestutil.h"
#include "kovvideoimg.h"
#include "reporttesthelp.h"
#include "reviewfixture.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportTest;
using Rows = QList<int>;
using Reports = QList<QList<int>>;

class TstReportRestore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_usr;
    Answers m_asked;
    QList<ReviewFixture::Item> m_items; // a picture and a video for the review page alone

    static QComboBox* box(QObject* page, const char* name) { return page->findChild<QComboBox*>(QLatin1String(name)); }

    static QListWidget* list(KOVReportExport& w) { return w.findChild<QListWidget*>(QStringLiteral("listWidget")); }
    static Reports rowsOf(KOVReportExport& w)
    {
        Reports r;
        for (KOVReportWin* page : w.reportWins()) {
            const QQueue<int> q = page->chosedItemList();
            r << Rows(q.begin(), q.end());
        }
        return r;
    }
    static QStringList tabTexts(QTabWidget* tabs)
    {
        QStringList t;
        for (int i = 0; i < tabs->count(); ++i)
            t << tabs->tabText(i);
        return t;
    }
    void check(KOVReportExport& w)
    {
        QCOMPARE(faults(w), QString());
        QCOMPARE(list(w)->count(), w.fileNameList().size());
    }
    void open(KOVReportExport& w, const Reports& reports, int tab = 0)
    {
        w.show();
        importInto(w, m_usr);
        for (int i = 0; i < reports.size(); ++i) {
            w.addNewReport(i % 2);
            for (int row : reports.at(i))
                tick(w, row);
        }
        mainTabs(w)->setCurrentIndex(tab);
        check(w);
    }

private slots:
    void initTestCase()
    {
        m_usr = makeUserDir(m_root.filePath(QStringLiteral("default")), 7);
        QVERIFY(!m_usr.isEmpty());
        m_items << ReviewFixture::makeItem(m_root.path(), QStringLiteral("p1"), QStringLiteral("a.jpg"), KOVGen::ItemKind::Picture, 1, 0)
                << ReviewFixture::makeItem(m_root.path(), QStringLiteral("v1"), QStringLiteral("b.mp4"), KOVGen::ItemKind::Video, 12, 1);
        m_asked.install();
    }
    void init()
    {
        m_asked.texts.clear();
        KOVCacheFile().remove();
        for (const QString& d : QDir().entryList({ QStringLiteral("cache-failed-*") }, QDir::Dirs))
            QDir(d).removeRecursively();
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
        QCOMPARE(b, a);
        for (const char* name : { "infoFaultLevel_gas", "infoFaultLevel_elec" })
            QCOMPARE(box(&restored, name)->currentIndex(), box(&saved, name)->currentIndex());
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
        QStringList tabs, names, points;
        {
            KOVReportExport w;
            open(w, { { 0, 2 }, { 1, 6, 3 } });
            w.clickItemtoShow(4);
            w.saveData(); // of two writes the last stands, alone
            mainTabs(w)->setCurrentIndex(1);
            pointTabs(w.reportWins().at(1))->setCurrentIndex(1);
            points = tabTexts(pointTabs(w.reportWins().at(1)));
            tabs = tabTexts(mainTabs(w));
            names = w.fileNameList();
            w.saveData();
        }
        QCOMPARE(QDir(KOVCacheFile().dir()).entryList({ QStringLiteral("*.json*") }, QDir::Files).size(), 1);
        KOVInformation::Instance()->setFileNameList({});
        KOVReportExport back;
        back.restoreData();
        check(back);
        QCOMPARE(m_asked.texts, QStringList { QStringLiteral("检测到上次未正常关闭，是否恢复？") });
        QVERIFY(!KOVCacheFile().exists());
        back.restoreData(); // offered once
        QCOMPARE(m_asked.texts.size(), 1);
        QCOMPARE(back.fileNameList(), names);
        QCOMPARE(tabTexts(mainTabs(back)), tabs);
        QCOMPARE(mainTabs(back)->currentIndex(), 1);
        QCOMPARE(rowsOf(back), (Reports { { 0, 2 }, { 1, 6, 3 } }));
        QCOMPARE(tabTexts(pointTabs(back.reportWins().at(1))), points);
        QCOMPARE(pointTabs(back.reportWins().at(1))->currentIndex(), 1);
        QCOMPARE(back.browsePage()->shownItem(), 4);
        back.addNewReport(0); // the numbering goes on
        QVERIFY(mainTabs(back)->tabText(3).endsWith(QLatin1Char('3')));
    }

    // Bad caches fail, shown and kept aside, and are not offered again; bad
    // indexes in a good one are bounded.
    void untrustedCache_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason"); // empty: restored
        const QJsonObject good { { "usrDirPath", m_usr }, { "itemNameList", QJsonArray { "a", "b" } },
            { "itemPathList", QJsonArray { m_usr + "/item1/a", m_usr + "/item2/b" } } };
        const QByteArray whole = QJsonDocument(good).toJson();
        QTest::newRow("torn") << whole.left(whole.size() - 9) << "offset";
        QJsonObject o = good;
        o.insert("itemNameList", QJsonArray { "a" });
        QTest::newRow("mismatched arrays") << QJsonDocument(o).toJson() << "2 item paths but 1 item names";
        o = good;
        o.insert("usrDirPath", m_root.filePath(QStringLiteral("gone/")));
        QTest::newRow("user directory gone") << QJsonDocument(o).toJson() << "is gone";
        o = good;
        o.insert("preIndex", 50);
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
        check(w);
        const QStringList aside = QDir().entryList({ QStringLiteral("cache-failed-*") }, QDir::Dirs);
        if (reason.isNull()) {
            QVERIFY(aside.isEmpty());
            QCOMPARE(w.fileNameList().size(), 2);
            QCOMPARE(w.preIndex(), -1);
            QCOMPARE(w.browsePage()->shownItem(), -1);
            QCOMPARE(mainTabs(w)->currentIndex(), 1); // the last page added
            QCOMPARE(rowsOf(w), (Reports { { 0, -1, -1, -1 } }));
            QCOMPARE(pointTabs(w.reportWins().at(0))->currentIndex(), 3);
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
        QTest::addColumn<Reports>("reports");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("shown"); // -1: nothing shown
        QTest::addColumn<bool>("batch");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<int>("preIndex");
        QTest::addColumn<Reports>("after");
        QTest::addColumn<QString>("asked");
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
        check(w);
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
};

QTEST_MAIN(TstReportRestore)
#include "tst_reportrestore.moc"
