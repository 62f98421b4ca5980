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

    // A damaged or edited state: frame numbers bounded, paths outside the
    // item's hideImg/ dropped (a clip with its sound), combo index checked.
    void hostilePageState()
    {
        const QString hide = m_items.at(1).dir + QStringLiteral("hideImg/");
        QJsonObject root { { "testPoint", QJsonObject { { "preSelect", 1 }, { "faultLevel_gas", 9 },
            { "markList", QJsonArray { 0, -3, 5, 5, 6 } },
            { "screenList", QJsonArray { hide + "../b.mp4" } }, { "screenAudioList", QJsonArray { hide + "c.wav" } },
            { "pointInfo", QJsonObject { { "hasClip", true },
                { "videoImgPathList", QJsonArray { m_items.at(1).dir + "hideImgX/5.jpg", hide + "6.jpg" } } } } } } };
        KOVVideoImg page;
        page.isReportWin(true, 0);
        page.restoreData(root);
        QCOMPARE(page.shownItem(), 1);
        QCOMPARE(page.lockState().marks, QList<int> { 5 });
        QCOMPARE(KOVLockCheck::check(page.lockState(), false), QString());
        QCOMPARE(page.pointInfo().videoImgPathList, QStringList { QString() });
        QVERIFY(!page.pointInfo().hasClip && page.pointInfo().clipVideo.isEmpty());
        QCOMPARE(box(&page, "infoFaultLevel_gas")->currentIndex(), -1);
    }
};

QTEST_MAIN(TstRestore)
#include "tst_restore.moc"
