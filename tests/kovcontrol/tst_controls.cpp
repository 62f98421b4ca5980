// The small windows and controls: folder chooser, file-list entry, seek
// slider, progress dialog and window, About window.
#include "kovabout.h"
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovprogressbardialog.h"
#include "kovprogressbarwidget.h"
#include "kovslider.h"
#include "kovversion.h"
#include "kovtable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

class TestControls : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() { KOVInformation::Instance()->setScreenDPI(96.0); }

    // OK on a folder: closes with Accepted, or walks into it and stays open.
    void usrDirectoryRule_data()
    {
        // rel: "" : nothing selected
        KOVTable::columns<QString, bool, bool>({"rel", "usrInfo", "accepted"});
        QTest::newRow("named default") << "a/default" << false << true;
        QTest::newRow("Default with capital D") << "b/Default" << false << false;
        QTest::newRow("holds usrInfo.ini") << "c/u1" << true << true;
        QTest::newRow("blanks and Chinese with usrInfo.ini") << "d/用户 目录 1" << true << true;
        QTest::newRow("plain folder") << "e/plain" << false << false;
        QTest::newRow("nothing selected in a plain folder") << "" << false << false;
    }
    void usrDirectoryRule()
    {
        QFETCH(QString, rel);
        QFETCH(bool, usrInfo);
        QFETCH(bool, accepted);
        const QString path = m_dir.filePath(rel.isEmpty() ? QStringLiteral("f/nothing") : rel);
        QDir().mkpath(path);
        if (usrInfo)
            QFile(path + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
        QCOMPARE(KOVFileDialog::isKovUsrDirectory(path), accepted);
        KOVFileDialog dialog(nullptr, rel.isEmpty() ? path : path.section(QLatin1Char('/'), 0, -2));
        if (!rel.isEmpty())
            dialog.selectFile(path);
        dialog.slotChoice();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(accepted ? dialog.selectedFiles().value(0) : QDir(dialog.directory()).absolutePath(), path);
    }

    // The label beside the check box at every screen scale, as tabs are
    // switched: the box grows with the scale, the label must move with it.
    // A tick reports the entry's name once; an untick is silent.
    void entryLabelClearsBox_data()
    {
        KOVTable::columns<double, int, int>({"dpi", "shownX", "hiddenX"});
        QTest::newRow("96") << 96.0 << 25 << 5;
        QTest::newRow("120") << 120.0 << 31 << 6;
        QTest::newRow("192") << 192.0 << 50 << 10;
    }
    void entryLabelClearsBox()
    {
        QFETCH(double, dpi);
        KOVInformation::Instance()->setScreenDPI(dpi);
        KOVItem item;
        item.setItemName(QStringLiteral("IMG_20240315_101500 测试.jpg"));
        auto* label = item.findChild<QLabel*>(QStringLiteral("label"));
        for (bool visible : {false, true, false, true}) {
            item.setChosedBox(visible);
            QTEST(label->x(), visible ? "shownX" : "hiddenX");
            QVERIFY(label->geometry().right() < item.width());
        }
        QSignalSpy chosed(&item, &KOVItem::sigChosed), unchosed(&item, &KOVItem::sigUnchosed);
        item.setChosed();
        item.setChosed();
        item.setUnchosed();
        QVERIFY(chosed == (QList<QVariantList>{{QStringLiteral("IMG_20240315_101500 测试.jpg")}}) && unchosed.isEmpty());
        QVERIFY(!item.isChosed() && !item.isBoxChecked());
    }

    // Seek slider: the value under a press.
    void sliderValue_data()
    {
        // value: -1: not set
        KOVTable::columns<int, int, int, int>({"x", "width", "maximum", "value"});
        QTest::newRow("first pixel") << 0 << 200 << 100 << 0;
        QTest::newRow("middle") << 99 << 200 << 100 << 50;
        QTest::newRow("next to last pixel") << 198 << 200 << 100 << 99;
        QTest::newRow("last pixel is the maximum: nothing") << 199 << 200 << 100 << -1;
        QTest::newRow("right of the slider") << 250 << 200 << 100 << 125;
        QTest::newRow("empty range") << 10 << 200 << 0 << -1;
        QTest::newRow("range 0..1 not last pixel") << 198 << 200 << 1 << 0;
        QTest::newRow("zero width") << 0 << 0 << 100 << -1;
        QTest::newRow("far outside does not overflow") << 2000000000 << 1 << 2000000000 << INT_MAX;
    }
    void sliderValue()
    {
        QFETCH(int, x);
        QFETCH(int, width);
        QFETCH(int, maximum);
        int v = -1;
        const bool sets = KOVSlider::valueAt(x, width, 0, maximum, &v);
        QCOMPARE(sets, v >= 0);
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
        QVERIFY(s.value() == 10 && !wheel.isAccepted()); // travels on to the parent
        // The release sets the value under it, and must still reach the base
        // class: a press on the handle grabs it, which would otherwise stay down.
        for (QPoint at : {QPoint(99, 10), QPoint(int(50.5 * 200 / 101.0), 10)}) {
            QTest::mousePress(&s, Qt::LeftButton, {}, at);
            QTest::mouseRelease(&s, Qt::LeftButton, {}, at);
            QVERIFY(!s.isSliderDown());
            if (at.x() == 99)
                QCOMPARE(s.value(), 50);
        }
    }

    void progressPercentages_data()
    {
        KOVTable::columns<int, QStringList>({"total", "shown"});
        QTest::newRow("three truncates") << 3 << QStringList{"33%", "66%", "100%"};
        QTest::newRow("no total yet") << 0 << QStringList{"0%"};
    }
    void progressPercentages()
    {
        QFETCH(int, total);
        QFETCH(QStringList, shown);
        KOVProgressBarDialog d;
        KOVProgressBarWidget w;
        d.slotTotal(total);
        w.setTotal(total);
        for (int v = 1; v <= shown.size(); ++v) {
            d.slotValue(v);
            w.setValue(v);
            QCOMPARE(d.percentText(), QStringLiteral("数据保存中...  ") + shown.at(v - 1));
            QCOMPARE(w.percentText(), QStringLiteral("数据恢复中...  ") + shown.at(v - 1));
        }
    }

    // The run's result comes back from exec() 1500 ms after the finish; Esc
    // and closing before that do not end it, and the next run starts at 0.
    void progressRunEndsItself()
    {
        KOVProgressBarDialog d;
        for (int ret : {1, 0}) {
            QElapsedTimer clock;
            bool stillRunningAfterEsc = false;
            QString startText;
            QTimer::singleShot(50, &d, [&] {
                d.slotTotal(2);
                d.slotProgressText(QStringLiteral("/out/r/r.xlsx"));
                startText = d.percentText();
                d.slotValue(1);
                QTest::keyClick(&d, Qt::Key_Escape);
                d.close();
                stillRunningAfterEsc = d.isVisible();
                d.slotValue(2);
                d.slotFinishProgressBar(ret);
                clock.start();
            });
            d.beginRun();
            QCOMPARE(d.exec(), ret);
            QVERIFY(stillRunningAfterEsc && clock.elapsed() >= 1400);
            QCOMPARE(startText, QStringLiteral("数据保存中...  0%"));
            QCOMPARE(d.percentText(), ret ? QStringLiteral("文件已保存！") : QStringLiteral("文件保存失败！"));
        }
        // The restore window says it is done, stays to be read, then goes.
        QPointer<KOVProgressBarWidget> w = new KOVProgressBarWidget;
        w->setTotal(2);
        w->show();
        w->setValue(2);
        w->finishProgressBar(1);
        QCOMPARE(w->percentText(), QStringLiteral("数据恢复完成！"));
        QTest::qWait(1000);
        QVERIFY(w && w->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(w.isNull(), 3000);
    }

    // A run begun while the previous one's closing step is pending shows
    // nothing of that result and is ended only by its own finish.
    void nextRunIsItsOwn()
    {
        KOVProgressBarDialog d;
        QTimer::singleShot(0, &d, [&] {
            d.slotProgressText(QStringLiteral("/out/old/old.xlsx"));
            d.slotFinishProgressBar(1);
            d.done(1);
        });
        d.beginRun();
        QCOMPARE(d.exec(), 1);
        d.beginRun();
        QCOMPARE(d.percentText(), QStringLiteral("数据保存中...  0%"));
        QCOMPARE(d.titleText(), QString());
        QElapsedTimer clock;
        QTimer::singleShot(1000, &d, [&] { d.slotFinishProgressBar(0); clock.start(); });
        QCOMPARE(d.exec(), 0);
        QVERIFY(clock.elapsed() >= 1400);
    }

    // Built hidden, of a fixed size; the icon beside the program is optional.
    void aboutWindow_data()
    {
        KOVTable::columns<bool>({"icon"});
        QTest::newRow("with ./OEM/icon.png") << true;
        QTest::newRow("without an icon file") << false;
    }
    void aboutWindow()
    {
        QFETCH(bool, icon);
        QDir().mkpath(QStringLiteral("OEM"));
        QImage img(64, 32, QImage::Format_ARGB32); // of another aspect
        img.fill(Qt::red);
        QVERIFY(icon ? img.save(QStringLiteral("OEM/icon.png")) : QDir(QStringLiteral("OEM")).removeRecursively());
        KOVAbout a;
        QVERIFY(a.isHidden());
        QCOMPARE(QStringLiteral("%1 %2x%3 %4x%5").arg(a.windowTitle()).arg(a.minimumWidth()).arg(a.minimumHeight())
                     .arg(a.maximumWidth()).arg(a.maximumHeight()), QStringLiteral("About 560x270 560x270"));
        QCOMPARE(a.findChild<QLabel*>(QStringLiteral("appVersion"))->text(), QStringLiteral(KOV_APP_VERSION));
        QCOMPARE(a.findChild<QLabel*>(QStringLiteral("imgLabel"))->pixmap(Qt::ReturnByValue).size(),
                 icon ? QSize(100, 100) : QSize(0, 0));
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
