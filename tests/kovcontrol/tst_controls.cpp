// Folder chooser and file-list entry.
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovitemfolder.h"
#include "kovslider.h"
#include "kovmsg.h"

#include <QApplication>
#include <QCheckBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <QWheelEvent>

class TestControls : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString makeDir(const QString& rel, bool withUsrInfo = false)
    {
        const QString path = m_dir.filePath(rel);
        QDir().mkpath(path);
        if (withUsrInfo)
            QFile(path + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
        return path;
    }

private slots:
    void init()
    {
        KOVInformation::Instance()->setScreenDPI(96.0);
    }

    void usrDirectoryRule_data()
    {
        QTest::addColumn<QString>("rel");
        QTest::addColumn<bool>("usrInfo");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("named default") << "a/default" << false << true;
        QTest::newRow("Default with capital D") << "b/Default" << false << false;
        QTest::newRow("holds usrInfo.ini") << "c/u1" << true << true;
        QTest::newRow("blanks and Chinese with usrInfo.ini") << "d/用户 目录 1" << true << true;
        QTest::newRow("plain folder") << "e/plain" << false << false;
    }
    void usrDirectoryRule()
    {
        QFETCH(QString, rel);
        QFETCH(bool, usrInfo);
        QFETCH(bool, accepted);
        const QString path = makeDir(rel, usrInfo);
        QCOMPARE(KOVFileDialog::isKovUsrDirectory(path), accepted);

        // OK on it: closes with Accepted, or walks into it and stays open.
        const QString parent = path.section(QLatin1Char('/'), 0, -2);
        KOVFileDialog dialog(nullptr, parent);
        dialog.selectFile(path);
        dialog.slotChoice();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        if (accepted)
            QCOMPARE(dialog.selectedFiles().value(0), path);
        else
            QCOMPARE(QDir(dialog.directory()).absolutePath(), QDir(path).absolutePath());
    }

    void okOnPlainFolderWithNothingSelected()
    {
        const QString path = makeDir(QStringLiteral("f/nothing"));
        KOVFileDialog dialog(nullptr, path);
        dialog.slotChoice();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(QDir(dialog.directory()).absolutePath(), QDir(path).absolutePath());
    }

    void tickReportsName()
    {
        KOVItem item;
        item.setItemName(QStringLiteral("A 测试.jpg"));
        QSignalSpy chosed(&item, &KOVItem::sigChosed);
        QSignalSpy unchosed(&item, &KOVItem::sigUnchosed);
        item.setChosed();
        item.setChosed(); // already ticked: no second signal
        item.setUnchosed(); // silent
        QCOMPARE(chosed, (QList<QVariantList>{{QStringLiteral("A 测试.jpg")}}));
        QCOMPARE(unchosed.count(), 0);
        QVERIFY(!item.isChosed() && !item.isBoxChecked());
    }

    void itemNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("item");
        QTest::newRow("jpg") << "A.jpg" << true;
        QTest::newRow("mp4") << "视频 1.mp4" << true;
        QTest::newRow("upper-case JPG") << "A.JPG" << false;
        QTest::newRow("jpg inside the name") << "A.jpg.txt" << false;
    }
    void itemNames()
    {
        QFETCH(QString, name);
        QTEST(KOVItemFolder::isItemName(name), "item");
    }

    // Seek slider: the value under a press.
    void sliderValue_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("sets");
        QTest::addColumn<int>("value");
        QTest::newRow("first pixel") << 0 << 200 << 0 << 100 << true << 0;
        QTest::newRow("middle") << 99 << 200 << 0 << 100 << true << 50;
        QTest::newRow("next to last pixel") << 198 << 200 << 0 << 100 << true << 99;
        QTest::newRow("last pixel is the maximum: nothing") << 199 << 200 << 0 << 100 << false << 0;
        QTest::newRow("right of the slider") << 250 << 200 << 0 << 100 << true << 125;
        QTest::newRow("empty range") << 10 << 200 << 0 << 0 << false << 0;
        QTest::newRow("range 0..1 not last pixel") << 198 << 200 << 0 << 1 << true << 0;
        QTest::newRow("zero width") << 0 << 0 << 0 << 100 << false << 0;
        QTest::newRow("far outside does not overflow") << 2000000000 << 1 << 0 << 2000000000 << true << INT_MAX;
    }
    void sliderValue()
    {
        QFETCH(int, x);
        QFETCH(int, width);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(bool, sets);
        int v = 0;
        QCOMPARE(KOVSlider::valueAt(x, width, minimum, maximum, &v), sets);
        if (sets)
            QTEST(v, "value");
    }

    void sliderWidget()
    {
        QWidget parent;
        KOVSlider s(&parent);
        s.setOrientation(Qt::Horizontal);
        s.setGeometry(0, 0, 200, 20);
        s.setRange(0, 100);
        s.setValue(10);
        QWheelEvent wheel(QPointF(50, 10), QPointF(50, 10), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(&s, &wheel);
        QCOMPARE(s.value(), 10);
        QVERIFY(!wheel.isAccepted()); // travels on to the parent
        // The release sets the value under it, and must still reach the base
        // class: a press on the handle grabs it, which would otherwise stay down.
        QTest::mousePress(&s, Qt::LeftButton, {}, QPoint(99, 10));
        QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(99, 10));
        QCOMPARE(s.value(), 50);
        const QPoint handle(int((s.value() + 0.5) * 200 / 101.0), 10);
        QTest::mousePress(&s, Qt::LeftButton, {}, handle);
        QTest::mouseRelease(&s, Qt::LeftButton, {}, handle);
        QVERIFY(!s.isSliderDown());
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
