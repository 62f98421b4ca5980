// The review page and its item: the road an item takes follows the import's
// rule, an emptied page keeps nothing of the closed item's label, and a label
// that cannot be saved is said to be unsaved.
#include "kovinformation.h"
#include "kovmessagebox.h"
#include "kovvideoimg.h"
#include "reviewfixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

class TstReviewItem : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QList<ReviewFixture::Item> m_items;
    enum { VideoLikePicture, PictureLikeVideo, GasPic, ElecPic, Unwritable };

    QString field(QWidget* page, const char* name)
    {
        return page->findChild<QLineEdit*>(QLatin1String(name))->text();
    }
    void open(KOVVideoImg& page, int item, bool report)
    {
        page.isReportWin(report, report ? 0 : -1);
        page.slotUpdateItemList();
        page.showItem(item, m_items[item].dir);
    }

private slots:
    void initTestCase()
    {
        using K = KOVGen::ItemKind;
        const QString r = m_root.path();
        m_items << ReviewFixture::makeItem(r, "v", "x.jpg.mp4", K::Video, 3, -1, true, 21)
                << ReviewFixture::makeItem(r, "p", "x.mp4.jpg", K::Picture, 1, -1, true, 22)
                << ReviewFixture::makeItem(r, "gas", "IMG_gas.jpg", K::Picture, 1, 0, true, 23)
                << ReviewFixture::makeItem(r, "elec", "IMG_elec.jpg", K::Picture, 1, 1, true, 24)
                << ReviewFixture::makeItem(r, "locked", "IMG_locked.jpg", K::Picture, 1, 0, true, 25);
        for (const auto& i : qAsConst(m_items))
            QVERIFY2(!i.path.isEmpty(), "fixture item not written");
        // A label file that cannot be written: a folder stands where it would be.
        const QString label = m_items[Unwritable].dir + QStringLiteral("itemInfo.ini");
        QVERIFY(QFile::remove(label) && QDir().mkpath(label));
        ReviewFixture::publish(m_items);
    }
    void cleanup() { KOVMessageBox::s_answer = nullptr; }

    void roadFollowsImportRule_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("frames"); // 0: a picture
        QTest::newRow("video whose name holds .jpg") << int(VideoLikePicture) << 3;
        QTest::newRow("picture whose name holds .mp4") << int(PictureLikeVideo) << 0;
    }
    void roadFollowsImportRule()
    {
        QFETCH(int, item);
        QFETCH(int, frames);
        KOVVideoImg page;
        open(page, item, false);
        QCOMPARE(page.pointInfo().type, frames ? ItemType::video : ItemType::photo);
        QCOMPARE(page.frameCount(), frames);
        if (frames)
            QVERIFY(!page.shownFrame().isNull());
    }

    void emptiedPageShowsNoLabel_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QList<int>>("switches"); // label types chosen after closing
        QTest::newRow("gas label, there and back") << int(GasPic) << QList<int> { 1, 0 };
        QTest::newRow("electrical label, there and back") << int(ElecPic) << QList<int> { 0, 1 };
    }
    void emptiedPageShowsNoLabel()
    {
        QFETCH(int, item);
        QFETCH(QList<int>, switches);
        KOVVideoImg page;
        open(page, item, false);
        QVERIFY(field(&page, item == GasPic ? "infoFaultSite_gas" : "infoFaultSite_elec") != QLatin1String("/"));
        page.closeFile(true);
        for (int t : qAsConst(switches)) {
            page.findChild<QComboBox*>(QStringLiteral("itemInfoTypeCB"))->setCurrentIndex(t);
            for (const char* f : { "infoAirPressure", "infoAirType", "infoFaultSite_gas", "infoDistance",
                     "infoFaultSite_elec", "infoVoltage" })
                QCOMPARE(field(&page, f), QStringLiteral("/"));
        }
    }

    void labelSaveFailureIsShown_data()
    {
        QTest::addColumn<int>("item");
        QTest::newRow("label file written") << int(GasPic);
        QTest::newRow("label file cannot be written") << int(Unwritable);
    }
    void labelSaveFailureIsShown()
    {
        QFETCH(int, item);
        QStringList shown;
        KOVMessageBox::s_answer = [&shown](QMessageBox::Icon icon, const QString& title, const QString& text,
                                      const QStringList&) {
            shown << QStringLiteral("%1|%2|%3").arg(int(icon)).arg(title, text);
            return 0;
        };
        KOVVideoImg page;
        page.setQuestion([](const QString&, const QString&) { return true; });
        open(page, item, true);
        page.findChild<QLineEdit*>(QStringLiteral("infoFaultSite_gas"))->setText(QStringLiteral("法兰 B"));
        QVERIFY(QMetaObject::invokeMethod(&page, "on_saveItemInfo_clicked"));
        if (item == GasPic) {
            QVERIFY2(shown.isEmpty(), qPrintable(shown.join('\n')));
            KOVInformation::Instance()->setItemPath(m_items[item].dir);
            QCOMPARE(KOVInformation::Instance()->getFaultSite_gas(), QStringLiteral("法兰 B"));
        } else {
            const QString path = QDir::cleanPath(m_items[item].dir + QStringLiteral("itemInfo.ini"));
            QCOMPARE(shown, QStringList { QStringLiteral("%1|警告|测试点信息未能保存，请检查文件是否可写：%2")
                                              .arg(int(QMessageBox::Warning))
                                              .arg(path) });
        }
    }
};

QTEST_MAIN(TstReviewItem)
#include "tst_reviewitem.moc"
