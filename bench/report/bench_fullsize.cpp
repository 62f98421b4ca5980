// Reports at their full size: up to 30 reports of 100 test points. Each case
// reports settled memory (the readings arrived, the event loop run), time on
// the interface thread, and the bare work of the same points in the same run.
//   bench_fullsize --benchmark_counters_tabular=true --benchmark_filter=Tick/3000/1
// --size=N sets the points (default 3000, the most the limits allow): Tick
// pictures at min(N, 1000) and videos at N, Restore of N / 100 reports of
// 100 picture points. CI only builds this; a quick run takes a smaller N.
// After the ticks or the restore every report tab is made current in turn,
// as a user looking through the reports does, and the memory settled again
// (switched_rss_MB). Messages go to the log as the program writes it:
// warnings and log_lines count what a case added.
#include "kovbenchutil.h"
#include "kovblockprobe.h"
#include "kovgen.h"
#include "kovframeconvert.h"
#include "kovinformation.h"
#include "kovcachefile.h"
#include "kovlog.h"
#include "kovmessagebox.h"
#include "kovocrcontext.h"
#include "kovprogressbarwidget.h"
#include "kovreportexport.h"
#include "kovreportwin.h"
#include "kovvideosource.h"
#include "kovvideoimg.h"
#include "kovwaveform.h"
#include "reporttesthelp.h"
#include "reviewfixture.h"
#include "ui_kovvideoimg.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QAbstractSlider>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <memory>

namespace {

QString gRoot;
int gWarnings = 0;

// Counted, then written as the program writes its log.
void countAndLog(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    if (type == QtWarningMsg)
        ++gWarnings;
    logMessage(type, context, msg);
}

int logLines()
{
    QFile log(QStringLiteral("log/log-") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
              + QStringLiteral(".txt"));
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return int(log.readAll().count('\n'));
}

// What a case added to the log.
struct LogCount
{
    int warnings = gWarnings;
    int lines = logLines();
    void report(benchmark::State& state) const
    {
        state.counters["warnings"] = gWarnings - warnings;
        state.counters["log_lines"] = logLines() - lines;
    }
};

double threadMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double rssMB() { return statusKb("VmRSS:") / 1024.0; }

// What the allocator has handed out and not had back, all arenas: RSS above
// it is freed memory the allocator keeps.
double heapMB()
{
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

// 100 items with full-size pictures (kind 0) or videos without audio (kind 1).
QString userDir(int kind)
{
    const QString dir = gRoot + (kind ? QStringLiteral("/videos") : QStringLiteral("/pictures"));
    if (QDir(dir).exists())
        return dir;
    QDir().mkpath(dir);
    QFile(dir + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
    for (int i = 0; i < 100; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        ReviewFixture::makeItem(dir, QStringLiteral("item_") + n, (kind ? QStringLiteral("VID_%1.mp4") : QStringLiteral("IMG_%1.jpg")).arg(n),
                                kind ? KOVGen::ItemKind::Video : KOVGen::ItemKind::Picture, 25, 1, true, quint64(i + 1));
    }
    return dir;
}

bool anyBusy(KOVReportExport& w)
{
    for (KOVReportWin* r : w.reportWins())
        for (KOVVideoImg* p : r->testPointPages())
            if (p->ocrContext()->busy())
                return true;
    return false;
}

// Until every reading has arrived, then the event loop for a while more.
void settle(KOVReportExport& w)
{
    QElapsedTimer t;
    t.start();
    while (anyBusy(w) && t.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    t.restart();
    while (t.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// The work of one point done bare: the picture decoded, or the video opened
// and its first frame decoded at the imager's size, a bare form of the same
// widgets, one recognition.
double bareUnitMs(int kind, const QString& path, std::vector<std::unique_ptr<QWidget>>* keep = nullptr)
{
    const double t0 = threadMs();
    QImage image;
    cv::Mat mat;
    if (kind) {
        KOVVideoSource source;
        cv::Mat frame;
        QImage reuse;
        if (source.open(path) && source.read(frame))
            image = KOVFrameConvert::toShownImage(frame, reuse, &mat);
    } else {
        image = QImage(path);
        mat = cv::Mat(image.height(), image.width(), CV_8UC4, const_cast<uchar*>(image.constBits()),
                      size_t(image.bytesPerLine()));
    }
    auto form = std::make_unique<QWidget>();
    Ui_KOVVideoImg ui;
    ui.setupUi(form.get());
    bool done = false;
    auto ocr = KOVOcrContext::create(form.get(), [&](quint64, const QString&) { done = true; });
    ocr->request(mat);
    const double t1 = threadMs();
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ocr->shutdown();
    if (keep)
        keep->push_back(std::move(form));
    return t1 - t0;
}

void bareFloor(benchmark::State& state, int kind, int points)
{
    const QString file = userDir(kind) + (kind ? QStringLiteral("/item_000/VID_000.mp4") : QStringLiteral("/item_000/IMG_000.jpg"));
    double ms = 0;
    for (int i = 0; i < 10; ++i)
        ms += bareUnitMs(kind, file) / 10;
    std::vector<std::unique_ptr<QWidget>> kept;
    const double before = rssMB();
    for (int i = 0; i < 100; ++i)
        bareUnitMs(kind, file, &kept);
    QCoreApplication::processEvents();
    state.counters["bare_point_ms"] = ms;
    state.counters["bare_total_s"] = ms * points / 1e3;
    state.counters["bare_page_MB"] = (rssMB() - before) / 100;
}

// On screen, as the user has it: what a page lets go depends on being shown.
void showWindow(KOVReportExport& w)
{
    w.show();
    QCoreApplication::processEvents();
}

// Ticks as a user does, the event loop running in between (without it the
// posted events of every tick pile up and each post searches them all).
// ticks gets the tick itself, withEvents the tick and the event loop's pass
// after it (polish, layout, painting of the page on show).
void openReports(KOVReportExport& w, int kind, int reports, int points, std::vector<double>* ticks = nullptr,
                 std::vector<double>* withEvents = nullptr)
{
    showWindow(w);
    ReportTest::importInto(w, userDir(kind));
    for (int r = 0; r < reports; ++r) {
        w.addNewReport(1);
        for (int p = 0; p < points; ++p) {
            const double t0 = threadMs();
            ReportTest::tick(w, p);
            const double t1 = threadMs();
            QCoreApplication::processEvents();
            if (ticks)
                ticks->push_back(t1 - t0);
            if (withEvents)
                withEvents->push_back(threadMs() - t0);
        }
    }
}

// Every report tab made current in turn, the event loop run after each, and
// back to the one that was current: each report's current point is shown
// once and put away again. Then the memory settled.
void switchReports(benchmark::State& state, KOVReportExport& w)
{
    QTabWidget* tabs = ReportTest::mainTabs(w);
    const int was = tabs->currentIndex();
    double ms = 0;
    for (int i = 1; i <= tabs->count(); ++i) {
        const double t0 = threadMs();
        tabs->setCurrentIndex(i % tabs->count() ? i % tabs->count() : was);
        QCoreApplication::processEvents();
        ms += threadMs() - t0;
    }
    state.counters["switch_ms"] = ms / tabs->count();
    settle(w);
    state.counters["switched_rss_MB"] = rssMB();
    state.counters["switched_heap_MB"] = heapMB();
}

double mean(const std::vector<double>& v, size_t from, size_t n)
{
    double s = 0;
    for (size_t i = from; i < from + n && i < v.size(); ++i)
        s += v[i];
    return n ? s / double(qMin(n, v.size() - from)) : 0;
}

void BM_Tick(benchmark::State& state)
{
    const int points = int(state.range(0));
    const int kind = int(state.range(1));
    bareFloor(state, kind, points);
    for (auto _ : state) {
        const LogCount log;
        auto* w = new KOVReportExport;
        showWindow(*w);
        ReportTest::importInto(*w, userDir(kind));
        QCoreApplication::processEvents();
        const double before = rssMB();
        std::vector<double> ticks;
        std::vector<double> withEvents;
        QElapsedTimer wall;
        wall.start();
        openReports(*w, kind, points / 100, 100, &ticks, &withEvents);
        state.counters["ticks_s"] = wall.elapsed() / 1e3;
        // The last report shows its last point; every other page is hidden.
        settle(*w);
        state.counters["settled_rss_MB"] = rssMB();
        state.counters["per_page_MB"] = (rssMB() - before) / points;
        state.counters["heap_MB"] = heapMB();
        state.counters["tick_first10_ms"] = mean(ticks, 0, 10);
        state.counters["tick_last10_ms"] = mean(ticks, ticks.size() - 10, 10);
        // The first ten of the last report: growth with the pages of other
        // reports, apart from the tab bar of the report's own.
        state.counters["tick_lastreport_first10_ms"] = mean(ticks, ticks.size() - 100, 10);
        state.counters["tick_mean_ms"] = mean(ticks, 0, ticks.size());
        state.counters["tick_ev_first10_ms"] = mean(withEvents, 0, 10);
        state.counters["tick_ev_last10_ms"] = mean(withEvents, withEvents.size() - 10, 10);
        switchReports(state, *w);
        log.report(state);
    }
}

// Leaves the cache for BM_Restore, written by another run of this program so
// the restore's memory is its own.
void BM_WriteCache(benchmark::State& state)
{
    for (auto _ : state) {
        KOVReportExport w;
        openReports(w, int(state.range(2)), int(state.range(0)), int(state.range(1)));
        w.saveData();
    }
}

void BM_Restore(benchmark::State& state)
{
    const int reports = int(state.range(0));
    const int points = int(state.range(1));
    bareFloor(state, int(state.range(2)), reports * points);
    for (auto _ : state) {
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KOV_BENCH_DIR"), gRoot);
        writer.setProcessEnvironment(env);
        writer.start(QCoreApplication::applicationFilePath(),
                     { QStringLiteral("--benchmark_filter=BM_WriteCache/%1/%2/%3/").arg(reports).arg(points).arg(state.range(2)),
                       QStringLiteral("--size=%1").arg(reports * points) });
        if (!writer.waitForFinished(-1) || !KOVCacheFile().exists()) {
            state.SkipWithError("the cache was not written");
            return;
        }
        const LogCount log;
        const double before = rssMB();
        auto* w = new KOVReportExport;
        // The restore window's bar: the longest time it stands still.
        QElapsedTimer wall;
        qint64 lastMove = 0;
        qint64 longestStill = 0;
        int moves = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* bar = qobject_cast<KOVProgressBarWidget*>(top))
                for (QAbstractSlider* b : bar->findChildren<QAbstractSlider*>())
                    QObject::connect(b, &QAbstractSlider::valueChanged, [&](int) {
                        longestStill = qMax(longestStill, wall.elapsed() - lastMove);
                        lastMove = wall.elapsed();
                        ++moves;
                    });
        showWindow(*w);
        const double t0 = threadMs();
        wall.start();
        double uiGap = 0;
        {
            // The bar is drawn only when the event loop runs.
            BlockProbe probe;
            w->restoreData();
            uiGap = probe.ms();
        }
        const double restoreMs = wall.elapsed();
        longestStill = qMax(longestStill, wall.elapsed() - lastMove);
        state.counters["restore_cpu_s"] = (threadMs() - t0) / 1e3;
        state.counters["restore_s"] = restoreMs / 1e3;
        state.counters["per_page_ms"] = restoreMs / (reports * points);
        state.counters["progress_still_ms"] = longestStill;
        state.counters["restore_ui_gap_ms"] = uiGap;
        state.counters["progress_moves"] = moves;
        {
            // Work the restore leaves queued (replots, polish of hidden pages).
            BlockProbe probe;
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 2000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            state.counters["after_restore_block_ms"] = probe.ms();
        }
        settle(*w);
        state.counters["settled_rss_MB"] = rssMB();
        state.counters["per_page_MB"] = (rssMB() - before) / (reports * points);
        state.counters["heap_MB"] = heapMB();
        int pages = 0;
        for (KOVReportWin* r : w->reportWins())
            pages += r->testPointPages().size();
        if (pages != reports * points)
            state.SkipWithError("pages missing after the restore");
        switchReports(state, *w);
        log.report(state);
        delete w;
    }
}

// A video page with a minute of audio, viewed, its waveform window opened and
// closed, then hidden behind another point (0) or behind another report (1).
void BM_AudioPage(benchmark::State& state)
{
    const bool byReport = state.range(0) == 1;
    const QString dir = gRoot + QStringLiteral("/audio");
    if (!QDir(dir).exists()) {
        QDir().mkpath(dir);
        QFile(dir + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
        ReviewFixture::makeItem(dir, QStringLiteral("a_pic"), QStringLiteral("IMG_0.jpg"), KOVGen::ItemKind::Picture, 1, 1);
        KOVGen::ItemOptions o;
        o.dir = dir + QStringLiteral("/b_vid");
        o.fileName = QStringLiteral("VID_1.mp4");
        o.kind = KOVGen::ItemKind::Video;
        o.frames = 25;
        o.withAudio = true;
        o.audio.seconds = 60;
        o.audio.content = KOVGen::AudioContent::PdBursts;
        KOVGen::writeItem(o);
    }
    for (auto _ : state) {
        auto* w = new KOVReportExport;
        showWindow(*w);
        ReportTest::importInto(*w, dir);
        w->addNewReport(1);
        ReportTest::tick(*w, 0);
        settle(*w);
        const double before = rssMB();
        const double heapBefore = heapMB();
        ReportTest::tick(*w, 1);
        KOVReportWin* report = w->reportWins().first();
        KOVVideoImg* page = report->testPointPages().at(1);
        settle(*w);
        state.counters["shown_MB"] = rssMB() - before;
        page->waveForm()->setWavPlotVisible(true);
        settle(*w);
        state.counters["window_open_MB"] = rssMB() - before;
        page->waveForm()->setWavPlotVisible(false);
        if (byReport) {
            w->addNewReport(1);
            ReportTest::tick(*w, 0);
        } else {
            ReportTest::pointTabs(report)->setCurrentIndex(0);
        }
        settle(*w);
        state.counters["hidden_MB"] = rssMB() - before;
        state.counters["hidden_heap_MB"] = heapMB() - heapBefore;
        const double t0 = threadMs();
        if (byReport)
            ReportTest::mainTabs(*w)->setCurrentIndex(1);
        else
            ReportTest::pointTabs(report)->setCurrentIndex(1);
        state.counters["reshow_ms"] = threadMs() - t0;
        settle(*w);
        delete w;
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    KOVMessageBox::s_answer = [](QMessageBox::Icon, const QString&, const QString&, const QStringList&) { return 0; };
    QTemporaryDir tmp;
    gRoot = qEnvironmentVariableIsSet("KOV_BENCH_DIR") ? qEnvironmentVariable("KOV_BENCH_DIR") : tmp.path();
    QDir::setCurrent(gRoot);
    QDir().mkpath(QStringLiteral("log"));
    qInstallMessageHandler(countAndLog);
    // --size=N: N test points in N / 100 reports (3000 unless given).
    int size = 3000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--size=", 7) == 0) {
            size = std::max(100, std::atoi(argv[i] + 7) / 100 * 100);
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            --i;
        }
    }
    benchmark::RegisterBenchmark("BM_Tick", BM_Tick)->Args({ std::min(size, 1000), 0 })->Args({ size, 1 })->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::RegisterBenchmark("BM_Restore", BM_Restore)->Args({ size / 100, 100, 0 })->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::RegisterBenchmark("BM_WriteCache", BM_WriteCache)->Args({ size / 100, 100, 0 })->Iterations(1);
    benchmark::RegisterBenchmark("BM_AudioPage", BM_AudioPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
