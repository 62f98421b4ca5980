// The review page and its item: the road an item takes follows the import's
// rule, an emptied page keeps nothing of the closed item's label, and a label
// that cannot be saved is said to be unsaved.
#include "kovinformation.h"
#include "kovmessagebox.h"
#include "pagetesthelp.h"
#include "reviewfixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace PageTest;

class TstReviewItem : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QList<ReviewFixture::Item> m_items;
    enum { VideoLikePicture, PictureLikeVideo, UpperJpg, GasPic, ElecPic, Unwritable };

    void open(KOVVideoImg& page, int item, int reportType = -1)
    {
        PageTest::open(page, reportType, item, m_items[item].dir);
    }

private slots:
    void initTestCase()
    {
        using K = KOVGen::ItemKind;
        const QString r = m_root.path();
        m_items << ReviewFixture::makeItem(r, "v", "x.jpg.mp4", K::Video, 3, -1, true, 21)
                << ReviewFixture::makeItem(r, "p", "x.mp4.jpg", K::Picture, 1, -1, true, 22)
                << ReviewFixture::makeItem(r, "upper", "IMG_UP.JPG", K::Picture, 1, -1, true, 11)
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
        QTest::addColumn<int>("frames"); // 0: a picture; -1: a video the decoder may read as one still
        QTest::newRow("video whose name holds .jpg") << int(VideoLikePicture) << 3;
        QTest::newRow("picture whose name holds .mp4") << int(PictureLikeVideo) << 0;
        QTest::newRow("upper-case .JPG") << int(UpperJpg) << -1;
    }
    void roadFollowsImportRule()
    {
        QFETCH(int, item);
        QFETCH(int, frames);
        KOVVideoImg page;
        open(page, item);
        QCOMPARE(page.pointInfo().type, frames ? ItemType::video : ItemType::photo);
        if (frames < 0) { // whether OpenCV reads it depends on its backends
            QVERIFY(page.frameCount() <= 1);
            if (!page.shownFrame().isNull())
                QCOMPARE(page.currentFrameIndex(), 0);
            return;
        }
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
        open(page, item);
        const char* site = item == GasPic ? "infoFaultSite_gas" : "infoFaultSite_elec";
        QVERIFY(child<QLineEdit>(&page, site)->text() != QLatin1String("/"));
        page.closeFile(true);
        for (int t : qAsConst(switches)) {
            child<QComboBox>(&page, QStringLiteral("itemInfoTypeCB"))->setCurrentIndex(t);
            for (const char* f : { "infoAirPressure", "infoAirType", "infoFaultSite_gas", "infoDistance",
                     "infoFaultSite_elec", "infoVoltage" })
                QCOMPARE(child<QLineEdit>(&page, f)->text(), QStringLiteral("/"));
        }
    }

    // Saved, or a warning naming the file; declined, the file untouched.
    void labelSave_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("label file written") << int(GasPic) << true;
        QTest::newRow("label file cannot be written") << int(Unwritable) << true;
        QTest::newRow("save declined") << int(ElecPic) << false;
    }
    void labelSave()
    {
        QFETCH(int, item);
        QFETCH(bool, confirmed);
        QStringList shown;
        KOVMessageBox::s_answer = [&shown](QMessageBox::Icon icon, const QString& title, const QString& text,
                                      const QStringList&) {
            shown << QStringLiteral("%1|%2|%3").arg(int(icon)).arg(title, text);
            return 0;
        };
        const QString file = m_items[item].dir + QStringLiteral("itemInfo.ini");
        const QByteArray before = contents(file);
        KOVVideoImg page;
        QString asked;
        page.setQuestion([&](const QString& title, const QString&) { asked = title; return confirmed; });
        open(page, item, item == ElecPic ? 1 : 0);
        child<QLineEdit>(&page, item == ElecPic ? "infoDistance" : "infoFaultSite_gas")->setText(QStringLiteral("法兰 B"));
        QVERIFY(QMetaObject::invokeMethod(&page, "on_saveItemInfo_clicked"));
        QCOMPARE(asked, QStringLiteral("提示"));
        if (item == Unwritable) {
            QCOMPARE(shown, QStringList { QStringLiteral("%1|警告|测试点信息未能保存，请检查文件是否可写：%2")
                                              .arg(int(QMessageBox::Warning))
                                              .arg(QDir::cleanPath(file)) });
            return;
        }
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join('\n')));
        if (!confirmed) {
            QCOMPARE(contents(file), before);
            return;
        }
        KOVInformation::Instance()->setItemPath(m_items[item].dir);
        QCOMPARE(KOVInformation::Instance()->getFaultSite_gas(), QStringLiteral("法兰 B"));
    }
};

QTEST_MAIN(TstReviewItem)
#include "tst_reviewitem.moc"
