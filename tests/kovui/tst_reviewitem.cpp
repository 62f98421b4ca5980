// The review page and its item: the road an item takes follows the import's
// rule, an emptied page keeps nothing of the closed item's label, and a label
// that cannot be saved is said to be unsaved.
#include "kovinformation.h"
#include "kovmessagebox.h"
#include "kovvideoimg.h"
#include "reviewfixture.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using ReviewFixture::Item;

namespace {

QString fieldText(QWidget* page, const char* name)
{
    QLineEdit* e = page->findChild<QLineEdit*>(QLatin1String(name));
    return e ? e->text() : QStringLiteral("<no field %1>").arg(QLatin1String(name));
}

QComboBox* typeBox(QWidget* page)
{
    return page->findChild<QComboBox*>(QStringLiteral("itemInfoTypeCB"));
}

const char* const kLabelFields[] = { "infoAirPressure", "infoAirType", "infoFaultSite_gas", "infoDistance",
    "infoFaultSite_elec", "infoVoltage" };

} // namespace

class TstReviewItem : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void roadFollowsImportRule_data();
    void roadFollowsImportRule();
    void emptiedPageShowsNoLabel_data();
    void emptiedPageShowsNoLabel();
    void labelSaveFailureIsShown_data();
    void labelSaveFailureIsShown();

private:
    QTemporaryDir m_root;
    QList<Item> m_items;
    enum { VideoLikePicture, PictureLikeVideo, GasPic, ElecPic, Unwritable, ItemCount };
};

void TstReviewItem::initTestCase()
{
    QVERIFY(m_root.isValid());
    using K = KOVGen::ItemKind;
    const QString r = m_root.path();
    m_items.append(ReviewFixture::makeItem(r, "v", "x.jpg.mp4", K::Video, 3, -1, true, 21));
    m_items.append(ReviewFixture::makeItem(r, "p", "x.mp4.jpg", K::Picture, 1, -1, true, 22));
    m_items.append(ReviewFixture::makeItem(r, "gas", "IMG_gas.jpg", K::Picture, 1, 0, true, 23));
    m_items.append(ReviewFixture::makeItem(r, "elec", "IMG_elec.jpg", K::Picture, 1, 1, true, 24));
    m_items.append(ReviewFixture::makeItem(r, "locked", "IMG_locked.jpg", K::Picture, 1, 0, true, 25));
    for (const Item& i : qAsConst(m_items))
        QVERIFY2(!i.path.isEmpty(), "fixture item not written");
    // A label file that cannot be written: a folder stands where it would be.
    const QString label = m_items[Unwritable].dir + QStringLiteral("itemInfo.ini");
    QVERIFY(QFile::remove(label));
    QVERIFY(QDir().mkpath(label));
    ReviewFixture::publish(m_items);
}

void TstReviewItem::cleanup()
{
    KOVMessageBox::s_answer = nullptr;
}

void TstReviewItem::roadFollowsImportRule_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("frames");
    QTest::newRow("video whose name holds .jpg") << int(VideoLikePicture) << int(ItemType::video) << 3;
    QTest::newRow("picture whose name holds .mp4") << int(PictureLikeVideo) << int(ItemType::photo) << 0;
}

void TstReviewItem::roadFollowsImportRule()
{
    QFETCH(int, item);
    QFETCH(int, type);
    QFETCH(int, frames);
    KOVVideoImg page;
    page.isReportWin(false, -1);
    page.slotUpdateItemList();
    page.showItem(item, m_items[item].dir);
    QCOMPARE(int(page.pointInfo().type), type);
    QCOMPARE(page.frameCount(), frames);
    QCOMPARE(page.findChild<QWidget*>(QStringLiteral("horizontalSlider"))->isHidden(), frames == 0);
    if (frames > 0) {
        QCOMPARE(page.currentFrameIndex(), 0);
        QVERIFY(!page.shownFrame().isNull());
    }
}

void TstReviewItem::emptiedPageShowsNoLabel_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QList<int>>("switches"); // label types chosen after closing
    QTest::newRow("gas label, switched to gas") << int(GasPic) << QList<int> { 0 };
    QTest::newRow("gas label, there and back") << int(GasPic) << QList<int> { 1, 0 };
    QTest::newRow("electrical label, there and back") << int(ElecPic) << QList<int> { 0, 1 };
}

void TstReviewItem::emptiedPageShowsNoLabel()
{
    QFETCH(int, item);
    QFETCH(QList<int>, switches);
    KOVVideoImg page;
    page.isReportWin(false, -1);
    page.slotUpdateItemList();
    page.showItem(item, m_items[item].dir);
    // The label is on show before closing.
    const char* filled = item == GasPic ? "infoFaultSite_gas" : "infoFaultSite_elec";
    QVERIFY(fieldText(&page, filled) != QStringLiteral("/"));

    page.closeFile(true);
    for (int t : qAsConst(switches)) {
        typeBox(&page)->setCurrentIndex(t);
        for (const char* f : kLabelFields)
            QCOMPARE(fieldText(&page, f), QStringLiteral("/"));
    }
}

void TstReviewItem::labelSaveFailureIsShown_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("saved");
    QTest::newRow("label file written") << int(GasPic) << true;
    QTest::newRow("label file cannot be written") << int(Unwritable) << false;
}

void TstReviewItem::labelSaveFailureIsShown()
{
    QFETCH(int, item);
    QFETCH(bool, saved);
    QStringList shown;
    KOVMessageBox::s_answer = [&shown](QMessageBox::Icon icon, const QString& title, const QString& text,
                                       const QStringList&) {
        shown << QStringLiteral("%1|%2|%3").arg(int(icon)).arg(title, text);
        return 0;
    };
    KOVVideoImg page;
    page.isReportWin(true, 0);
    page.slotUpdateItemList();
    page.setQuestion([](const QString&, const QString&) { return true; });
    page.showItem(item, m_items[item].dir);
    page.findChild<QLineEdit*>(QStringLiteral("infoFaultSite_gas"))->setText(QStringLiteral("法兰 B"));
    QVERIFY(QMetaObject::invokeMethod(&page, "on_saveItemInfo_clicked"));

    if (saved) {
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join('\n')));
        KOVInformation::Instance()->setItemPath(m_items[item].dir);
        QCOMPARE(KOVInformation::Instance()->getFaultSite_gas(), QStringLiteral("法兰 B"));
    } else {
        QCOMPARE(shown.size(), 1);
        const QString path = QDir::cleanPath(m_items[item].dir + QStringLiteral("itemInfo.ini"));
        QVERIFY2(shown.first().startsWith(QStringLiteral("%1|警告|").arg(int(QMessageBox::Warning))),
                 qPrintable(shown.first()));
        QVERIFY2(shown.first().endsWith(path), qPrintable(shown.first()));
    }
}

QTEST_MAIN(TstReviewItem)
#include "tst_reviewitem.moc"
