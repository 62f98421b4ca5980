// One report of 100 picture test points: ticking them in, then exporting it
// with 20 MB of clips once the pages have settled. Reports time, peak memory
// and, for the export, the longest stretch the interface thread could not
// answer.
//   bench_report --benchmark_counters_tabular=true
#include "kovbenchutil.h"
#include "kovblockprobe.h"
#include "kovinformation.h"
#include "kovocrcontext.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"
#include "kovreportwin.h"
#include "kovsavedialog.h"
#include "kovvideoimg.h"
#include "reporttesthelp.h"
#include "reviewfixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

const int kPoints = 100;
const int kClipPoints = 10;
const qint64 kClipBytes = 2 * 1024 * 1024; // per clipped point: 20 MB in all

QTemporaryDir* gRoot = nullptr;


// Starts a new peak: the kernel's high-water mark drops to the current size.
void resetPeak()
{
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// 100 items with full-size pictures (the reading drawn where the OCR reads).
QString userDir()
{
    static QString dir;
    if (!dir.isEmpty())
        return dir;
    dir = gRoot->filePath(QStringLiteral("usr"));
    QDir().mkpath(dir);
    QFile ini(dir + QStringLiteral("/usrInfo.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.close();
    for (int i = 0; i < kPoints; ++i) {
        const auto it = ReviewFixture::makeItem(dir, QStringLiteral("item_%1").arg(i, 3, 10, QLatin1Char('0')),
                                                QStringLiteral("IMG_%1.jpg").arg(i, 3, 10, QLatin1Char('0')),
                                                KOVGen::ItemKind::Picture, 1, 0, true, quint64(i + 1));
        if (it.path.isEmpty())
            qFatal("cannot make item %d", i);
    }
    return dir;
}

// Until every page's reading has arrived, then the event loop for a while.
void settle(KOVReportExport& w)
{
    const auto busy = [&w] {
        for (KOVReportWin* r : w.reportWins())
            for (KOVVideoImg* p : r->testPointPages())
                if (p->ocrContext()->busy())
                    return true;
        return false;
    };
    QElapsedTimer t;
    t.start();
    while (busy() && t.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    t.restart();
    while (t.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void tickAll(KOVReportExport& w)
{
    for (int r = 0; r < kPoints; ++r)
        ReportTest::tick(w, r);
}

void BM_AddTestPoints(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto* w = new KOVReportExport;
        ReportTest::importInto(*w, userDir());
        w->addNewReport(0);
        QCoreApplication::processEvents();
        const long before = statusKb("VmRSS:");
        resetPeak();
        state.ResumeTiming();
        tickAll(*w);
        state.PauseTiming();
        state.counters["peak_rss_MB"] = statusKb("VmHWM:") / 1024.0;
        state.counters["growth_MB"] = (statusKb("VmHWM:") - before) / 1024.0;
        if (w->reportWins().first()->testPointPages().size() != kPoints)
            state.SkipWithError("not every point was added");
        // Let the readings arrive before the pages go.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        delete w;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

void BM_Export(benchmark::State& state)
{
    auto* w = new KOVReportExport;
    ReportTest::importInto(*w, userDir());
    w->addNewReport(0);
    tickAll(*w);
    KOVReportWin* page = w->reportWins().first();
    for (int i = 0; i < kClipPoints; ++i) {
        KOVTestPointInfo p = page->pointInfoList().at(i);
        const QString dir = gRoot->filePath(QStringLiteral("clip%1").arg(i));
        QDir().mkpath(dir);
        p.saveClip = p.hasClip = p.wavform = true;
        p.clipVideo = dir + QStringLiteral("/clip.avi");
        p.clipAudio = dir + QStringLiteral("/clip.wav");
        QFile v(p.clipVideo);
        v.open(QIODevice::WriteOnly);
        v.write(QByteArray(int(kClipBytes * 4 / 5), 'v'));
        QFile a(p.clipAudio);
        a.open(QIODevice::WriteOnly);
        a.write(QByteArray(int(kClipBytes / 5), 'a'));
        v.close();
        a.close();
        emit page->testPointPages().at(i)->sigPointInfoChanged(p);
    }

    // The pages settle first: the readings arrive and the work queued by
    // adding them (replots, polish) runs, so the block measured below is the
    // export's own. What a restore leaves queued is bench_fullsize's figure.
    settle(*w);

    int run = 0;
    std::atomic<qint64> finishedAt {0};
    QElapsedTimer clock;
    QObject::connect(w, &KOVReportExport::sigFinishProgressBar, w,
                     [&](int) { finishedAt = clock.nsecsElapsed(); }, Qt::DirectConnection);
    double longestBlockMs = 0;
    double totalMs = 0;
    for (auto _ : state) {
        const QString out = gRoot->filePath(QStringLiteral("out%1/r.xlsx").arg(run++));
        KOVSaveDialog::s_answer = [out](const QString&, const QString&, const QString&) { return out; };
        const long before = statusKb("VmRSS:");
        resetPeak();
        clock.start();
        double blockMs = 0;
        {
            BlockProbe probe;
            w->on_actionsaveReport_triggered();
            blockMs = probe.ms();
        }
        longestBlockMs = qMax(longestBlockMs, blockMs);
        state.counters["growth_MB"] = (statusKb("VmHWM:") - before) / 1024.0;
        totalMs = finishedAt / 1e6;
        state.SetIterationTime(totalMs / 1e3);
        if (!QFile::exists(out.left(out.size() - 5) + QStringLiteral("/r.xlsx")))
            state.SkipWithError("no workbook");
    }
    state.counters["export_ms"] = totalMs;
    state.counters["longest_ui_block_ms"] = longestBlockMs;
    state.counters["peak_rss_MB"] = statusKb("VmHWM:") / 1024.0;
    delete w;
    KOVSaveDialog::s_answer = nullptr;
}

// The work a restore of the report leaves queued (readings, replots, polish
// of hidden pages): the longest block of the interface thread in the two
// seconds after restoreData() returns, apart from the export's own figure.
void BM_AfterRestore(benchmark::State& state)
{
    {
        KOVReportExport w;
        ReportTest::importInto(w, userDir());
        w.addNewReport(0);
        tickAll(w);
        settle(w);
        w.saveData();
    }
    for (auto _ : state) {
        KOVReportExport w;
        w.restoreData();
        BlockProbe probe;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        state.counters["after_restore_block_ms"] = probe.ms();
        if (w.reportWins().size() != 1 || w.reportWins().first()->testPointPages().size() != kPoints)
            state.SkipWithError("the report did not come back");
    }
}

} // namespace

// One iteration: pages freed by an earlier one stay with the allocator and
// would hide the growth.
BENCHMARK(BM_AddTestPoints)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_AfterRestore)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    KOVMessageBox::s_answer = [](QMessageBox::Icon, const QString&, const QString& text, const QStringList&) {
        qWarning("asked: %s", qPrintable(text));
        return 0;
    };
    QTemporaryDir root;
    gRoot = &root;
    // The writer reads its templates from ./cfg.
    QDir::setCurrent(root.path());
    QDir().mkpath(QStringLiteral("cfg"));
    for (const char* t : {"template_gas_ch", "template_gas_en", "template_elec_ch", "template_elec_en"})
        QFile::copy(QStringLiteral(KOV_RUN_DIR "/cfg/") + QLatin1String(t), QStringLiteral("cfg/") + QLatin1String(t));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
