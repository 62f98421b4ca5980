// The main window's look at a screen scale, and the scales refused (96 and
// 144 dpi, 0 and -144: tst_shell, through the window).
#include "kovscreenscale.h"

#include <QtTest>

#include <limits>

class TestScreenScale : public QObject
{
    Q_OBJECT

private slots:
    void sizesAtDpi_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("maxSize");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QSize>("row");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("menu");
        QTest::newRow("120: fractions kept in the style") << 120.0 << QSize(1997, 1875) << 25 << 2 << QSize(262, 31)
                                                          << "width: 250; height: 37.5;" << "62.5";
        QTest::newRow("168: sizes truncated") << 168.0 << QSize(2796, 2625) << 35 << 3 << QSize(367, 43)
                                              << "width: 350; height: 52.5;" << "87.5";
        QTest::newRow("100: six digits at most") << 100.0 << QSize(1664, 1562) << 20 << 2 << QSize(218, 26)
                                                 << "width: 208.333; height: 31.25;" << "52.0833";
    }
    void sizesAtDpi()
    {
        QFETCH(double, dpi);
        QFETCH(QSize, maxSize);
        QFETCH(int, icon);
        QFETCH(int, spacing);
        QFETCH(QSize, row);
        QFETCH(QString, tab);
        QFETCH(QString, menu);
        QVERIFY(KOVScreenScale::isUsableDpi(dpi));
        const KOVScreenScale s(KOVScreenScale::factorOf(dpi));
        QCOMPARE(s.maximumWindowSize(), maxSize);
        QCOMPARE(s.tabIconSize(), QSize(icon, icon));
        QCOMPARE(s.listSpacing(), spacing);
        QCOMPARE(s.listRowSize(), row);
        QCOMPARE(s.tabStyleSheet(), QStringLiteral("QTabBar::tab {") + tab
                                        + QStringLiteral("} QTabWidget QStackedWidget { background-color: "
                                                         "rgb(243, 244, 248); }"));
        QCOMPARE(s.menuBarStyleSheet(), QStringLiteral("QMenuBar { width: ") + menu + QStringLiteral("px;}"));
    }

    void refusedDpi_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<bool>("usable");
        QTest::newRow("negative zero") << -0.0 << false;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << false;
        QTest::newRow("tiny but positive") << 0.5 << true;
    }
    void refusedDpi()
    {
        QFETCH(double, dpi);
        QTEST(KOVScreenScale::isUsableDpi(dpi), "usable");
    }
};

QTEST_APPLESS_MAIN(TestScreenScale)
#include "tst_screenscale.moc"
