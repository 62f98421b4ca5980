// What pages put away cost, through the real windows: a page hidden by any
// switch (its own test-point tab, or the report tab around it) lets its
// frame and audio go and shows the same again when it comes back; the
// whole window minimised keeps them. Hidden plots are never painted, so
// hiding, showing and restoring pages add no painter warning to the log.
#include "kovcachefile.h"
#include "kovframeview.h"
#include "kovinformation.h"
#include "kovocrcontext.h"
#include "kovprpd.h"
#include "kovtable.h"
#include "kovvideoimg.h"
#include "kovwarnings.h"
#include "kovwaveform.h"
#include "pagetesthelp.h"
#include "qcustomplot.h"
#include "reporttesthelp.h"
#include "reviewfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace PageTest;
using namespace ReportTest;

namespace {

// What the user sees of a page: frame, reading, pattern and waveform slice.
struct Seen
{
    QImage frame, view, pattern;
    QString reading;
    int index = -1;
    QVector<double> wave;
    bool operator==(const Seen& o) const
    {
        return frame == o.frame && view == o.view && pattern == o.pattern && reading == o.reading && index == o.index
            && wave == o.wave;
    }
};

Seen seen(KOVVideoImg& page)
{
    Seen s { page.shownFrame(), child<KOVFrameView>(&page, QString())->image(),
        child<QLabel>(&page, QStringLiteral("imgPRPD"))->pixmap(Qt::ReturnByValue).toImage(),
        child<QLineEdit>(&page, QStringLiteral("infoMaxSPL"))->text(), page.currentFrameIndex(), {} };
    auto* plot = child<QCustomPlot>(&page, QStringLiteral("graphWaveform"));
    if (plot->graphCount() > 0)
        for (const QCPGraphData& d : *plot->graph(0)->data())
            s.wave << d.key << d.value;
    return s;
}

// The painter's complaints about a buffer it cannot paint into.
QStringList painterWarnings(const QStringList& warnings)
{
    return warnings.filter(QRegularExpression(QStringLiteral("Paint|paint")));
}

// Every reading arrived, then the event loop run a while more.
bool settle(KOVReportExport& w)
{
    const bool done = QTest::qWaitFor([&w]() {
        for (KOVReportWin* r : w.reportWins())
            for (KOVVideoImg* p : r->testPointPages())
                if (p->ocrContext()->busy())
                    return false;
        return true;
    });
    QTest::qWait(50);
    return done;
}

} // namespace

class TstPutAway : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_usr;
    int m_video = -1; // its row in the imported list
    Answers m_asked;  // every box answered with its first button

    KOVVideoImg* pointPage(KOVReportExport& w, int report, int point)
    {
        return w.reportWins().at(report)->testPointPages().at(point);
    }

private slots:
    void initTestCase()
    {
        QDir::setCurrent(m_root.path()); // the recovery cache goes here
        m_usr = m_root.filePath(QStringLiteral("default"));
        QVERIFY(QDir().mkpath(m_usr));
        QFile(m_usr + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
        QVERIFY(!writePdVideo(m_usr + QStringLiteral("/a_video"), QStringLiteral("VID_1.mp4"), 30, 5, 2.0).isEmpty());
        for (int i = 0; i < 3; ++i)
            QVERIFY(!ReviewFixture::makeItem(m_usr, QStringLiteral("p_%1").arg(i), QStringLiteral("IMG_%1.jpg").arg(i),
                                             KOVGen::ItemKind::Picture, 1, 0, true, quint64(i + 1)).path.isEmpty());
        KOVInformation::Instance()->setPDDLen(240);
        m_asked.install();
    }
    void init()
    {
        m_asked.clear();
        m_asked.install();
        KOVCacheFile().remove();
    }

    void reportSwitchLetsGo_data()
    {
        KOVTable::columns<bool>({ "byPointTab" });
        QTest::newRow("report tab switched") << false;
        QTest::newRow("point tab, then report tab switched") << true;
    }
    void reportSwitchLetsGo()
    {
        QFETCH(bool, byPointTab);
        KOVReportExport w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        importInto(w, m_usr);
        m_video = w.fileNameList().indexOf(QStringLiteral("VID_1.mp4"));
        QVERIFY(m_video >= 0);
        w.addNewReport(1);
        tick(w, (m_video + 1) % 4);
        tick(w, m_video);
        KOVVideoImg* page = pointPage(w, 0, 1);
        click(page, QStringLiteral("PB_nextFrame"), 12);
        QVERIFY(settle(w));
        const Seen before = seen(*page);
        QVERIFY(!before.view.isNull() && !before.pattern.isNull() && !before.wave.isEmpty());
        KOV_CONSISTENT(w);

        if (byPointTab) { // put away behind its report's other point, then the report too
            pointTabs(w.reportWins().at(0))->setCurrentIndex(0);
            QVERIFY(page->imageDropped());
            pointTabs(w.reportWins().at(0))->setCurrentIndex(1);
            QVERIFY(!page->imageDropped());
        }
        w.addNewReport(1);
        tick(w, (m_video + 2) % 4);
        QVERIFY(settle(w));
        KOV_CONSISTENT(w);
        QVERIFY(page->imageDropped() && child<KOVFrameView>(page, QString())->image().isNull());
        QVERIFY(!page->waveForm()->hasAudio() && page->waveForm()->length() == 0 && !page->patternView()->hasAudio());
        QCOMPARE(seen(*page).frame, before.frame); // the cache still gets the frame on show

        mainTabs(w)->setCurrentIndex(1);
        QVERIFY(settle(w));
        KOV_CONSISTENT(w);
        QVERIFY(!page->imageDropped() && page->waveForm()->hasAudio());
        QVERIFY(seen(*page) == before);
        // The other report's point, hidden in its turn, went too.
        QVERIFY(pointPage(w, 1, 0)->imageDropped());
    }

    // Minimised, the window's pages are not put away: they keep what they show.
    void minimisedKeeps()
    {
        KOVReportExport w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        importInto(w, m_usr);
        w.addNewReport(1);
        tick(w, w.fileNameList().indexOf(QStringLiteral("VID_1.mp4")));
        KOVVideoImg* page = pointPage(w, 0, 0);
        QVERIFY(settle(w));
        QVERIFY(page->decoderOpen());
        w.showMinimized();
        QTRY_VERIFY(w.isMinimized());
        QCoreApplication::processEvents();
        QVERIFY(!page->decoderOpen()); // the page had its hide
        QVERIFY(!page->imageDropped() && page->waveForm()->hasAudio());
        w.showNormal();
        QTRY_VERIFY(!w.isMinimized());
        QVERIFY(!page->imageDropped() && page->waveForm()->hasAudio());
    }

    // Pages hidden, their plots asked to replot (a new item shown while
    // hidden, a queued replot), shown again; then a cache of several reports
    // restored and its report tabs gone through.
    void noPainterWarnings()
    {
        QStringList warnings;
        {
            KOVReportExport w;
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            KOVWarningCatcher catcher;
            importInto(w, m_usr);
            for (int r = 0; r < 3; ++r) {
                w.addNewReport(r % 2);
                for (int row = 0; row < 4; ++row)
                    tick(w, (row + r) % 4);
            }
            QVERIFY(settle(w));
            KOVVideoImg* hidden = pointPage(w, 0, 1);
            QVERIFY(!hidden->isVisible());
            auto* plot = child<QCustomPlot>(hidden, QStringLiteral("graphWaveform"));
            plot->replot(QCustomPlot::rpQueuedReplot);
            hidden->showItem(w.fileNameList().indexOf(QStringLiteral("IMG_2.jpg")), m_usr + QStringLiteral("/p_2"));
            QTest::qWait(50);
            for (int t = 1; t <= 3; ++t) {
                mainTabs(w)->setCurrentIndex(t);
                for (int p = 0; p < 4; ++p)
                    pointTabs(w.reportWins().at(t - 1))->setCurrentIndex(p);
                QTest::qWait(20);
            }
            QVERIFY(settle(w));
            KOV_CONSISTENT(w);
            w.saveData();
            warnings = catcher.warnings();
        }
        QCOMPARE(painterWarnings(warnings), QStringList());
        QVERIFY(KOVCacheFile().exists());

        KOVReportExport back;
        back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&back));
        KOVWarningCatcher catcher;
        back.restoreData();
        KOV_CONSISTENT(back);
        QCOMPARE(back.reportWins().size(), 3);
        QVERIFY(settle(back));
        for (int t = 1; t <= 3; ++t) {
            mainTabs(back)->setCurrentIndex(t);
            QTest::qWait(20);
        }
        QVERIFY(settle(back));
        KOV_CONSISTENT(back);
        QCOMPARE(painterWarnings(catcher.warnings()), QStringList());
    }
};

QTEST_MAIN(TstPutAway)
#include "tst_putaway.moc"
