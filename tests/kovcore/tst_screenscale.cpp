// The main window's look at a screen scale, and the scales refused (96 and
// 144 dpi, 0 and -144: tst_shell, through the window).
#include "kovscreenscale.h"
#include "kovtable.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(QMargins)

class TestScreenScale : public QObject
{
    Q_OBJECT

private slots:
    // Scales the shell accepts, and values no screen reports.
    void sizesAtDpi_data()
    {
        KOVTable::columns<double, QSize, int, int, QSize, QString, QString>({"dpi", "maxSize", "icon", "spacing", "row", "tab", "menu"});
        QTest::newRow("120: fractions kept in the style") << 120.0 << QSize(1997, 1875) << 25 << 2 << QSize(262, 31)
                                                          << "width: 250; height: 37.5;" << "62.5";
        QTest::newRow("168: sizes truncated") << 168.0 << QSize(2796, 2625) << 35 << 3 << QSize(367, 43)
                                              << "width: 350; height: 52.5;" << "87.5";
        QTest::newRow("100: six digits at most") << 100.0 << QSize(1664, 1562) << 20 << 2 << QSize(218, 26)
                                                 << "width: 208.333; height: 31.25;" << "52.0833";
        QTest::newRow("tiny but positive") << 0.5 << QSize(1, 1) << 0 << 0 << QSize() << "" << "";
        for (double bad : {-0.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
            QTest::addRow("refused %g", bad) << bad << QSize() << 0 << 0 << QSize() << "" << "";
    }
    void sizesAtDpi()
    {
        QFETCH(double, dpi);
        QFETCH(QSize, maxSize);
        QFETCH(QString, tab);
        QCOMPARE(KOVScreenScale::isUsableDpi(dpi), maxSize.isValid());
        if (tab.isEmpty())
            return;
        const KOVScreenScale s(KOVScreenScale::factorOf(dpi));
        QCOMPARE(s.maximumWindowSize(), maxSize);
        QTEST(s.tabIconSize().width(), "icon");
        QTEST(s.listSpacing(), "spacing");
        QTEST(s.listRowSize(), "row");
        QCOMPARE(s.tabStyleSheet(), QStringLiteral("QTabBar::tab {") + tab
                                        + QStringLiteral("} QTabWidget QStackedWidget { background-color: "
                                                         "rgb(243, 244, 248); }"));
        QFETCH(QString, menu);
        QCOMPARE(s.menuBarStyleSheet(), QStringLiteral("QMenuBar { width: ") + menu + QStringLiteral("px;}"));
    }

    // The frame wholly inside the available area, at the stored size when
    // it fits; the same stored size gives the same window at every start.
    void windowPlacement_data()
    {
        KOVTable::columns<double, QSize, QRect, QMargins, QRect>({"dpi", "stored", "available", "frame", "placed"});
        const QMargins frame(1, 29, 1, 1);
        QTest::newRow("fits: centred") << 96.0 << QSize(1300, 800) << QRect(0, 0, 1920, 1040) << frame
                                       << QRect(310, 134, 1300, 800);
        QTest::newRow("1366x768 at 125 %: bounded, frame inside") << 120.0 << QSize(1300, 800)
                                                                  << QRect(0, 0, 1366, 738) << frame << QRect(1, 29, 1364, 708);
        QTest::newRow("panel on the left and top") << 96.0 << QSize(1300, 800) << QRect(60, 24, 1306, 744) << frame
                                                   << QRect(63, 53, 1300, 714);
        QTest::newRow("stored back at 125 %: no shrinking") << 120.0 << QSize(1091, 594) << QRect(0, 0, 1920, 1040)
                                                           << frame << QRect(278, 162, 1364, 743);
        QTest::newRow("frame not known yet") << 144.0 << QSize(800, 500) << QRect(0, 0, 1366, 768) << QMargins()
                                             << QRect(83, 9, 1200, 750);
        QTest::newRow("beyond the maximum") << 96.0 << QSize(3000, 3000) << QRect(0, 0, 3840, 2160) << frame
                                            << QRect(1121, 344, 1598, 1500);
        QTest::newRow("area smaller than the frame") << 96.0 << QSize(1300, 800) << QRect(0, 0, 1, 20) << frame
                                                     << QRect(1, 29, 1, 1);
    }
    void windowPlacement()
    {
        QFETCH(double, dpi);
        QFETCH(QSize, stored);
        QFETCH(QRect, available);
        QFETCH(QMargins, frame);
        QTEST(KOVScreenScale(KOVScreenScale::factorOf(dpi)).windowPlacement(stored, available, frame), "placed");
    }
};

QTEST_APPLESS_MAIN(TestScreenScale)
#include "tst_screenscale.moc"
