// A file-list entry's label beside its check box at every screen scale: the
// box grows with the scale, so the label must move with it.
#include "kovinformation.h"
#include "kovitem.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

class TestItemBox : public QObject
{
    Q_OBJECT

private slots:
    void labelClearsBox_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("shownX");
        QTest::addColumn<int>("hiddenX");
        QTest::newRow("96") << 96.0 << 25 << 5;
        QTest::newRow("120") << 120.0 << 31 << 6;
        QTest::newRow("144") << 144.0 << 37 << 7;
        QTest::newRow("192") << 192.0 << 50 << 10;
    }
    void labelClearsBox()
    {
        QFETCH(double, dpi);
        QFETCH(int, shownX);
        QFETCH(int, hiddenX);
        KOVInformation::Instance()->setScreenDPI(dpi);
        KOVItem item;
        item.setItemName(QStringLiteral("IMG_20240315_101500.jpg"));
        auto* box = item.findChild<QCheckBox*>(QStringLiteral("chose_checkBox"));
        auto* label = item.findChild<QLabel*>(QStringLiteral("label"));
        // Hidden, shown, hidden and shown again, as tabs are switched.
        for (bool visible : {false, true, false, true}) {
            item.setChosedBox(visible);
            QCOMPARE(label->x(), visible ? shownX : hiddenX);
            if (visible)
                QVERIFY(label->x() > box->geometry().right());
            QVERIFY(label->geometry().right() < item.width());
        }
        KOVInformation::Instance()->setScreenDPI(96.0);
    }
};

QTEST_MAIN(TestItemBox)
#include "tst_itembox.moc"
