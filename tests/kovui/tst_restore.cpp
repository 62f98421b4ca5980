// A review page's state through the recovery cache: what it saves comes back,
// and a damaged state can neither index past a list nor point a later
// deletion at a file outside the item's hideImg/.
#include "kovlockcheck.h"
#include "kovvideoimg.h"
#include "reviewfixture.h"

#include <QComboBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TstRestore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QList<ReviewFixture::Item> m_items;

    static QComboBox* box(QObject* page, const char* name) { return page->findChild<QComboBox*>(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        m_items << ReviewFixture::makeItem(m_root.path(), QStringLiteral("p1"), QStringLiteral("a.jpg"), KOVGen::ItemKind::Picture, 1, 0)
                << ReviewFixture::makeItem(m_root.path(), QStringLiteral("v1"), QStringLiteral("b.mp4"), KOVGen::ItemKind::Video, 12, 1);
        ReviewFixture::publish(m_items);
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
        KOVVideoImg saved;
        saved.isReportWin(true, row);
        saved.slotUpdateItemList();
        saved.showItem(row, m_items.at(row).dir);
        saved.findChild<QLineEdit*>(QStringLiteral("infoAdvice"))->setText(QStringLiteral("更换 阀门"));
        emit saved.findChild<QLineEdit*>(QStringLiteral("infoAdvice"))->editingFinished();
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
        const KOVTestPointInfo& a = saved.pointInfo();
        const KOVTestPointInfo& b = restored.pointInfo();
        QCOMPARE(b.advice, a.advice);
        QCOMPARE(b.faultLevel, a.faultLevel);
        QCOMPARE(b.leakageData, row == 0);
        QCOMPARE(b.imgInfoList.size(), a.imgInfoList.size());
        QCOMPARE(restored.lockState().marks, saved.lockState().marks);
        QCOMPARE(KOVLockCheck::check(restored.lockState()), QString());
        QCOMPARE(b.hasClip, a.hasClip);
        QCOMPARE(b.clipVideo, a.clipVideo);
        for (const char* name : { "infoFaultLevel_gas", "infoFaultLevel_elec" })
            QCOMPARE(box(&restored, name)->currentIndex(), box(&saved, name)->currentIndex());
    }

    // A damaged or edited page state: every index and path is bounded.
    void hostilePageState_data()
    {
        QTest::addColumn<QJsonObject>("patch");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QList<int>>("locks");
        QTest::addColumn<QStringList>("framePaths");
        QTest::addColumn<bool>("hasClip");
        QTest::addColumn<int>("gasIndex");
        const QString hide = m_items.at(1).dir + QStringLiteral("hideImg/");
        QTest::newRow("row beyond the list") << QJsonObject { { "preSelect", 7 } } << -1 << QList<int>() << QStringList() << false << -1;
        QTest::newRow("fault level beyond the box") << QJsonObject { { "faultLevel_gas", 9 } } << 1 << QList<int>() << QStringList() << false << -1;
        QTest::newRow("frame numbers bounded")
            << QJsonObject { { "markList", QJsonArray { 0, -3, 5, 5, 6, 7, 8, 9 } },
                   { "pointInfo", QJsonObject { { "videoImgPathList", QJsonArray { hide + "5.jpg", hide + "6.jpg", hide + "7.jpg", hide + "8.jpg", hide + "9.jpg" } } } } }
            << 1 << QList<int> { 5 } << QStringList { hide + "5.jpg" } << false << -1;
        QTest::newRow("frame file beside hideImg")
            << QJsonObject { { "markList", QJsonArray { 3 } },
                   { "pointInfo", QJsonObject { { "videoImgPathList", QJsonArray { m_items.at(1).dir + "hideImgX/3.jpg" } } } } }
            << 1 << QList<int> { 3 } << QStringList { QString() } << false << -1;
        QTest::newRow("clip climbing out")
            << QJsonObject { { "screenList", QJsonArray { hide + "../b.mp4" } }, { "screenAudioList", QJsonArray { hide + "c.wav" } },
                   { "pointInfo", QJsonObject { { "hasClip", true } } } }
            << 1 << QList<int>() << QStringList() << false << -1;
    }
    void hostilePageState()
    {
        QFETCH(QJsonObject, patch);
        QJsonObject tp { { "preSelect", 1 } };
        for (auto it = patch.begin(); it != patch.end(); ++it)
            tp.insert(it.key(), it.value());
        KOVVideoImg page;
        page.isReportWin(true, 0);
        QJsonObject root { { "testPoint", tp } };
        page.restoreData(root);
        QTEST(page.shownItem(), "shown");
        QTEST(page.lockState().marks, "locks");
        QCOMPARE(KOVLockCheck::check(page.lockState(), false), QString());
        QTEST(page.pointInfo().videoImgPathList, "framePaths");
        QTEST(page.pointInfo().hasClip, "hasClip");
        QCOMPARE(page.pointInfo().clipVideo.isEmpty(), !page.pointInfo().hasClip);
        QTEST(box(&page, "infoFaultLevel_gas")->currentIndex(), "gasIndex");
    }
};

QTEST_MAIN(TstRestore)
#include "tst_restore.moc"
