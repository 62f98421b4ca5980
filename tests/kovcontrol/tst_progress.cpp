// The export progress dialog and the restore progress window.
#include "kovprogressbardialog.h"
#include "kovprogressbarwidget.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QtTest>

class TestProgress : public QObject
{
    Q_OBJECT

private slots:
    void percentages_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("three truncates") << 3 << QStringList{"33%", "66%", "100%"};
        QTest::newRow("no total yet") << 0 << QStringList{"0%"};
    }
    void percentages()
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
    void runEndsItself()
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
            QVERIFY(stillRunningAfterEsc);
            QVERIFY(clock.elapsed() >= 1400);
            QCOMPARE(startText, QStringLiteral("数据保存中...  0%"));
            QCOMPARE(d.percentText(), ret ? QStringLiteral("文件已保存！") : QStringLiteral("文件保存失败！"));
        }
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
        QTimer::singleShot(1000, &d, [&] {
            d.slotFinishProgressBar(0);
            clock.start();
        });
        QCOMPARE(d.exec(), 0);
        QVERIFY(clock.elapsed() >= 1400);
    }

    void restoreWindowGoesAway()
    {
        QPointer<KOVProgressBarWidget> w = new KOVProgressBarWidget;
        w->setTotal(2);
        w->show();
        w->setValue(2);
        w->finishProgressBar(1);
        QCOMPARE(w->percentText(), QStringLiteral("数据恢复完成！"));
        QTest::qWait(1000); // long enough to be read
        QVERIFY(w && w->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(w.isNull(), 3000);
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
