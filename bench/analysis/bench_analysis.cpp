// Audio analysis on the review page: loading a minute of 96 kHz audio into
// the waveform window beside the bare transforms of the same frames, the
// spectrogram of a minute drawn, zoomed in and out, dragged and wheel-zoomed
// (each step against a replot at an unchanged range), the per-frame update
// while playing (window hidden and shown), the pattern reset after a seek,
// and resident memory per page and minute of audio. Run by hand
// in a build without sanitizers:
//   QT_QPA_PLATFORM=offscreen build/rel/bench/analysis/bench_analysis
// Each benchmark reports its own figures as counters (milliseconds, MB).
#include "kovbenchutil.h"
#include "kovaudiotiming.h"
#include "kovgen.h"
#include "kovinformation.h"
#include "kovprpd.h"
#include "kovshowwavform.h"
#include "kovspectrum.h"
#include "kovvideoimg.h"
#include "kovwaveform.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSeconds = 60;

struct Fixture
{
    QTemporaryDir dir;
    QVector<qint16> pcm; // a minute of discharge bursts, whole 1024-sample frames
    QString itemDir;
    QString silentDir; // the same item without its wav/ folder
};

Fixture& fixture()
{
    static Fixture x;
    static const bool made = [] {
        KOVGen::WavOptions w;
        w.content = KOVGen::AudioContent::PdBursts;
        w.seconds = kSeconds;
        x.pcm = KOVGen::makeSamples(w);
        x.pcm.resize(x.pcm.size() / 1024 * 1024);
        KOVGen::ItemOptions o;
        o.dir = x.dir.filePath(QStringLiteral("item"));
        o.fileName = QStringLiteral("VID_pd.mp4");
        o.kind = KOVGen::ItemKind::Video;
        o.frames = 25;
        o.label = KOVGen::electricalLabel(1);
        o.withAudio = true;
        o.audio = w;
        KOVGen::writeItem(o);
        x.itemDir = o.dir + QLatin1Char('/');
        o.dir = x.dir.filePath(QStringLiteral("silent"));
        o.withAudio = false;
        KOVGen::writeItem(o);
        x.silentDir = o.dir + QLatin1Char('/');
        KOVInformation::Instance()->setFileNameList({ o.fileName });
        KOVInformation::Instance()->setFilePathList({ o.dir + QLatin1Char('/') + o.fileName });
        return true;
    }();
    Q_UNUSED(made);
    return x;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Loading a minute into the window (hidden, as it starts), with the bare
// transforms of the same 5625 frames timed in the same run.
void BM_LoadMinute(benchmark::State& state)
{
    Fixture& fx = fixture();
    KOVWaveForm wf;
    const int frames = fx.pcm.size() / 1024;
    std::vector<float> x(size_t(fx.pcm.size()));
    for (int i = 0; i < fx.pcm.size(); ++i)
        x[size_t(i)] = float(fx.pcm[i]) * 3.051851e-5f;
    std::vector<float> rows(size_t(frames) * 512);
    KOVSpectrum spectrum;
    std::vector<double> load;
    std::vector<double> fft;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        wf.slotAudioData(fx.pcm.data(), frames);
        load.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        spectrum.rows(x.data(), int(x.size()), rows.data());
        fft.push_back(t.nsecsElapsed() / 1e6);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = frames;
    state.counters["load_ms"] = percentile(load, 0.5);
    state.counters["bare_fft_ms"] = percentile(fft, 0.5);
}
BENCHMARK(BM_LoadMinute)->Unit(benchmark::kMillisecond)->Iterations(5);

// The spectrogram of a minute in the shown window: the audio arriving (its
// rows, the map, drawn), the time axis zoomed to a second somewhere in it (a
// column per frame) and back out to the whole (pooled), each drawn. The map's
// size at each, from its own columns (a double and a pixel per cell).
void BM_SpectrogramZoom(benchmark::State& state)
{
    Fixture& fx = fixture();
    const int frames = fx.pcm.size() / 1024;
    const double end = frames * 1024 / 96000.0;
    KOVWaveForm wf;
    wf.setWavPlotVisible(true);
    KOVShowWavform* w = wf.window();
    w->findChild<QTabWidget*>()->setCurrentIndex(2);
    QCustomPlot* plot = w->spectrogramPlot();
    settle();
    std::vector<double> load;
    std::vector<double> zoom;
    std::vector<double> whole;
    double at = 0.0;
    for (auto _ : state) {
        wf.clearWavform(); // as a new item does: the previous map goes
        QElapsedTimer t;
        t.start();
        wf.slotAudioData(fx.pcm.data(), frames);
        plot->replot();
        load.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        plot->xAxis->setRange(at, at + 1.0);
        plot->replot();
        zoom.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        plot->xAxis->setRange(0.0, end);
        plot->replot();
        whole.push_back(t.nsecsElapsed() / 1e6);
        at = std::fmod(at + 7.3, end - 1.0);
    }
    state.counters["load_drawn_ms"] = percentile(load, 0.5);
    state.counters["zoom_1s_ms"] = percentile(zoom, 0.5);
    state.counters["zoom_out_ms"] = percentile(whole, 0.5);
    const double cellBytes = (8.0 + 4.0) * 512 / (1024.0 * 1024.0);
    state.counters["map_MB_whole"] = w->colorMap()->data()->keySize() * cellBytes;
    plot->xAxis->setRange(at, at + 1.0);
    state.counters["columns_1s"] = w->colorMap()->data()->keySize();
    state.counters["map_MB_1s"] = w->colorMap()->data()->keySize() * cellBytes;
    wf.setWavPlotVisible(false);
}
BENCHMARK(BM_SpectrogramZoom)->Unit(benchmark::kMillisecond)->Iterations(5);

// The spectrogram of a minute shown in its window, the time axis at each
// step set as a mouse drag or a wheel notch sets it, and drawn. Each step's
// cost is given against a replot at an unchanged range in the same run.
struct SpectrogramWindow
{
    KOVWaveForm wf;
    KOVShowWavform* w = nullptr;
    QCustomPlot* plot = nullptr;
    double end = 0.0;

    SpectrogramWindow()
    {
        Fixture& fx = fixture();
        const int frames = fx.pcm.size() / 1024;
        end = frames * 1024 / 96000.0;
        wf.setWavPlotVisible(true);
        w = wf.window();
        w->findChild<QTabWidget*>()->setCurrentIndex(2);
        plot = w->spectrogramPlot();
        settle();
        wf.slotAudioData(fx.pcm.data(), frames);
        plot->replot();
    }
    ~SpectrogramWindow() { wf.setWavPlotVisible(false); }

    // One step: the range changed by `change`, then drawn; its time (ms) into `into`.
    template <typename Change>
    void step(Change change, std::vector<double>& into)
    {
        QElapsedTimer t;
        t.start();
        change(plot->xAxis);
        plot->replot();
        into.push_back(t.nsecsElapsed() / 1e6);
    }

    // The median of n replots at the range as it is.
    double unchanged(int n)
    {
        std::vector<double> t;
        for (int i = 0; i < n; ++i)
            step([](QCPAxis*) {}, t);
        return percentile(t, 0.5);
    }

    // The steps' median and 95th percentile, and the median against the
    // replots at an unchanged range of the same run.
    static void report(benchmark::State& state, const std::string& name, const std::vector<double>& steps,
        const std::vector<double>& still)
    {
        const double base = percentile(still, 0.5);
        state.counters[name + "_ms"] = percentile(steps, 0.5);
        state.counters[name + "_p95_ms"] = percentile(steps, 0.95);
        state.counters["replot_ms"] = base;
        state.counters[name + "_x_replot"] = base > 0 ? percentile(steps, 0.5) / base : 0;
    }
};

// Arg: seconds visible. A drag moves the range by 1/60 of its width each
// step, to the end and back, as QCustomPlot's range drag does on every mouse
// move.
void BM_SpectrogramDrag(benchmark::State& state)
{
    SpectrogramWindow s;
    const double width = double(state.range(0));
    const double step = width / 60.0;
    double from = 0.0;
    double dir = 1.0;
    s.plot->xAxis->setRange(from, from + width);
    s.plot->replot();
    std::vector<double> drag;
    std::vector<double> still;
    for (auto _ : state) {
        for (int i = 0; i < 60; ++i) {
            if (from + dir * step < 0.0 || from + width + dir * step > s.end)
                dir = -dir;
            from += dir * step;
            s.step([&](QCPAxis* x) { x->setRange(from, from + width); }, drag);
        }
        still.push_back(s.unchanged(20));
    }
    SpectrogramWindow::report(state, "drag", drag, still);
    state.counters["columns"] = s.w->colorMap()->data()->keySize();
    // The map's cells, a double and a pixel each, held while the view is.
    state.counters["map_MB"] = s.w->colorMap()->data()->keySize() * 512 * (8.0 + 4.0) / (1024.0 * 1024.0);
}
BENCHMARK(BM_SpectrogramDrag)->Arg(5)->Arg(20)->Arg(30)->Arg(45)->Unit(benchmark::kMillisecond)->Iterations(5);

// Wheel notches (QCustomPlot's factor 0.85 a notch, about the mouse) from
// the whole minute in to a second and back out.
void BM_SpectrogramWheel(benchmark::State& state)
{
    SpectrogramWindow s;
    const double at = 23.7;
    std::vector<double> notch;
    std::vector<double> still;
    for (auto _ : state) {
        s.plot->xAxis->setRange(0.0, s.end);
        s.plot->replot();
        for (const double factor : { 0.85, 1.0 / 0.85 }) {
            for (int i = 0; i < 200; ++i) {
                const double size = s.plot->xAxis->range().size();
                if (factor < 1.0 ? size * factor < 1.0 : size >= s.end)
                    break;
                s.step([&](QCPAxis* x) { x->scaleRange(factor, at); }, notch);
            }
        }
        still.push_back(s.unchanged(20));
    }
    SpectrogramWindow::report(state, "notch", notch, still);
    state.counters["notches"] = double(notch.size()) / state.iterations();
}
BENCHMARK(BM_SpectrogramWheel)->Unit(benchmark::kMillisecond)->Iterations(5);

// The per-frame update of a visible electrical page while playing: the
// pattern step, the slice drawn on the page, the window's spectrum row and
// cursor. Arg 0: window hidden; 1: window shown.
void BM_FrameUpdate(benchmark::State& state)
{
    Fixture& fx = fixture();
    KOVVideoImg page;
    page.isReportWin(true, 1);
    page.slotUpdateItemList();
    page.show();
    page.showItem(0, fx.itemDir);
    page.waveForm()->setWavPlotVisible(state.range(0) != 0);
    settle();
    std::vector<double> step;
    int frame = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const float time = KOVAudioTiming::frameTime(frame);
        page.patternView()->showPDD(time);
        page.waveForm()->paintWavForm(time);
        page.waveForm()->setFFTIndex(frame);
        settle(); // the queued repaints of the page and the window
        step.push_back(t.nsecsElapsed() / 1e6);
        frame = (frame + 1) % (kSeconds * 25 - 1);
    }
    state.counters["median_ms"] = percentile(step, 0.5);
    state.counters["p95_ms"] = percentile(step, 0.95);
    page.waveForm()->setWavPlotVisible(false);
}
BENCHMARK(BM_FrameUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(500);

// After a seek the capture starts over on the last 28799 samples.
void BM_PatternResetAfterSeek(benchmark::State& state)
{
    fixture();
    KOVInformation::Instance()->setPDDLen(240);
    KOVPRPD view;
    view.setPDDPath(fixture().itemDir + QStringLiteral("/wav/"), 1);
    std::vector<double> reset;
    int frame = 100;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        view.showPDD(KOVAudioTiming::frameTime(frame));
        reset.push_back(t.nsecsElapsed() / 1e6);
        frame = (frame * 7 + 331) % 1400 + 50; // jumps of more than 28799 samples
    }
    state.counters["median_ms"] = percentile(reset, 0.5);
    state.counters["max_ms"] = percentile(reset, 1.0);
}
BENCHMARK(BM_PatternResetAfterSeek)->Unit(benchmark::kMillisecond)->Iterations(50);

// Resident memory of test-point pages visited one by one, each showing the
// item with its minute of audio (Arg 1) or the same item without audio (Arg
// 0, the pages' own share): what each page keeps once the next is shown. Run
// each in a process of its own, so no earlier benchmark's freed memory is
// reused:  --benchmark_filter='BM_MemoryPerPage/4/1/'
void BM_MemoryPerPage(benchmark::State& state)
{
    Fixture& fx = fixture();
    const int pages = int(state.range(0));
    const bool audio = state.range(1) != 0;
    const QString dir = audio ? fx.itemDir : fx.silentDir;
    for (auto _ : state) {
        std::vector<std::unique_ptr<KOVVideoImg>> list;
        settle();
        const long before = statusKb("VmRSS:");
        for (int i = 0; i < pages; ++i) {
            if (!list.empty())
                list.back()->hide();
            list.emplace_back(new KOVVideoImg);
            KOVVideoImg& page = *list.back();
            page.isReportWin(true, 1);
            page.slotUpdateItemList();
            page.show();
            page.showItem(0, dir);
            for (int f = 0; f < 25; ++f) {
                page.patternView()->showPDD(KOVAudioTiming::frameTime(f));
                page.waveForm()->paintWavForm(KOVAudioTiming::frameTime(f));
                page.waveForm()->setFFTIndex(f);
            }
            settle();
        }
        const long after = statusKb("VmRSS:");
        state.counters["MB_per_page"] = (after - before) / 1024.0 / pages;
        // What the audio's share is made of, from the objects' own sizes.
        const KOVVideoImg& last = *list.back();
        const KOVShowWavform* w = last.waveForm()->window();
        const double mb = 1024.0 * 1024.0;
        state.counters["samples_MB"] = last.waveForm()->length() * 4.0 / mb;
        state.counters["pattern_MB"] = last.patternView()->frameCount() * 1024 * 2.0 / mb;
        state.counters["rows_MB"] = w->rowCount() * 512 * 4.0 / mb;
        const QCPColorMap* map = w->colorMap();
        state.counters["map_MB"] = map ? map->data()->keySize() * 512 * (8.0 + 4.0) / mb : 0;
        state.counters["graph_points"] = w->waveformPlot()->graphCount() ? w->waveformPlot()->graph(0)->dataCount() : 0;
    }
}
BENCHMARK(BM_MemoryPerPage)->Args({ 4, 1 })->Args({ 4, 0 })->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
