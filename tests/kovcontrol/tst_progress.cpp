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
        QTest::newRow("four") << 4 << QStringList{"25%", "50%", "75%", "100%"};
        QTest::newRow("three truncates") << 3 << QStringList{"33%", "66%", "100%"};
        QTest::newRow("one") << 1 << QStringList{"100%"};
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
        d.slotProgressText(QStringLiteral("/out/r/r.xlsx"));
        QCOMPARE(d.percentText(), QStringLiteral("数据保存中...  0%"));
        for (int v = 1; v <= shown.size(); ++v) {
            d.slotValue(v);
            w.setValue(v);
            QCOMPARE(d.percentText(), QStringLiteral("数据保存中...  ") + shown.at(v - 1));
            QCOMPARE(w.percentText(), QStringLiteral("数据恢复中...  ") + shown.at(v - 1));
        }
        QCOMPARE(d.sliderMaximum(), total);
    }

    // The run's result comes back from exec() 1500 ms after the finish;
    // Esc and closing before that do not end it, and a new run starts at 0.
    void runEndsItself_data()
    {
        QTest::addColumn<int>("ret");
        QTest::addColumn<QString>("text");
        QTest::newRow("saved") << 1 << QStringLiteral("文件已保存！");
        QTest::newRow("failed") << 0 << QStringLiteral("文件保存失败！");
    }
    void runEndsItself()
    {
        QFETCH(int, ret);
        QFETCH(QString, text);
        KOVProgressBarDialog d;
        for (int run = 0; run < 2; ++run) {
            QElapsedTimer clock;
            bool stillRunningAfterEsc = false;
            QTimer::singleShot(50, &d, [&] {
                d.slotTotal(2);
                d.slotProgressText(QStringLiteral("run %1").arg(run));
                QCOMPARE(d.percentText(), QStringLiteral("数据保存中...  0%"));
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
            QCOMPARE(d.percentText(), text);
            QCOMPARE(d.titleText(), QStringLiteral("run %1").arg(run));
        }
    }

    void restoreWindowGoesAway()
    {
        QPointer<KOVProgressBarWidget> w = new KOVProgressBarWidget;
        w->setProgressText(QStringLiteral("文件列表与浏览页"));
        w->setTotal(2);
        w->show();
        w->setValue(2);
        w->finishProgressBar(1);
        QCOMPARE(w->percentText(), QStringLiteral("数据恢复完成！"));
        QTest::qWait(1000);
        QVERIFY(w && w->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(w.isNull(), 3000);
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
