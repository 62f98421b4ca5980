// Review page playback and scale. Run by hand in a build without sanitizers:
//   build/<dir>/bench/review/bench_review --benchmark_repetitions=1
// Each benchmark reports its own figures as counters (milliseconds, MB).
#include "kovbenchutil.h"
#include "kovocrcontext.h"
#include "kovocrengine.h"
#include "kovocrenginepool.h"
#include "kovvideoimg.h"
#include "reviewfixture.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kFrames = 250;

struct Fixture
{
    QTemporaryDir dir;
    ReviewFixture::Item video;
    ReviewFixture::Item picture;
};

Fixture& fixture()
{
    static Fixture x;
    static const bool made = [] {
        x.video = ReviewFixture::makeItem(x.dir.path(), "video", "VID_bench.mp4", KOVGen::ItemKind::Video, kFrames, 0);
        x.picture = ReviewFixture::makeItem(x.dir.path(), "pic", "IMG_bench.jpg", KOVGen::ItemKind::Picture, 1, 0);
        ReviewFixture::publish({ x.video, x.picture });
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

// A report-mode page on screen with the generated video as its item.
void showVideo(KOVVideoImg& page, const Fixture& fx)
{
    page.isReportWin(true, 0);
    page.slotUpdateItemList();
    page.show();
    page.showItem(0, fx.video.dir);
}

void waitIdle(const KOVOcrContext* ctx)
{
    while (ctx->busy()) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    settle();
}

// One playback tick on a shown page: decode, scale, paint, frame information,
// OCR request. The page repaints through the event loop, as with the timer.
void BM_PlaybackTick(benchmark::State& state)
{
    Fixture& fx = fixture();
    KOVVideoImg page;
    showVideo(page, fx);
    settle();
    std::vector<double> ticks;
    for (auto _ : state) {
        if (page.currentFrameIndex() >= page.frameCount() - 1) {
            state.PauseTiming();
            QMetaObject::invokeMethod(&page, "on_horizontalSlider_valueChanged", Q_ARG(int, 1));
            settle();
            state.ResumeTiming();
        }
        QElapsedTimer t;
        t.start();
        QMetaObject::invokeMethod(&page, "on_PB_nextFrame_clicked");
        QCoreApplication::processEvents();
        ticks.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    waitIdle(page.ocrContext());
    state.counters["median_ms"] = percentile(ticks, 0.5);
    state.counters["p95_ms"] = percentile(ticks, 0.95);
    state.counters["recognitions"] = page.ocrContext()->recognitions();
}
BENCHMARK(BM_PlaybackTick)->Iterations(500)->Unit(benchmark::kMillisecond);

// OpenCV alone on the same file: read and resize each frame, opened as the
// page's frame source opens it (FFmpeg, OpenCV's own settings). The frames
// are already 1024 x 600, so the resize is a copy, where the page converts
// the frame for display instead.
void BM_BareDecodeResize(benchmark::State& state)
{
    Fixture& fx = fixture();
    cv::VideoCapture cap(fx.video.path.toStdString(), cv::CAP_FFMPEG);
    std::vector<double> ticks;
    cv::Mat frame;
    cv::Mat sized;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (!cap.read(frame)) {
            state.PauseTiming();
            cap.open(fx.video.path.toStdString(), cv::CAP_FFMPEG);
            state.ResumeTiming();
            t.restart();
            cap.read(frame);
        }
        cv::resize(frame, sized, cv::Size(1024, 600), 0, 0, cv::INTER_LINEAR);
        benchmark::DoNotOptimize(sized.data);
        ticks.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    state.counters["median_ms"] = percentile(ticks, 0.5);
    state.counters["p95_ms"] = percentile(ticks, 0.95);
}
BENCHMARK(BM_BareDecodeResize)->Iterations(500)->Unit(benchmark::kMillisecond);

// The two above taken in turns, one bare read-and-resize then one tick, so
// both see the same machine: on a shared or busy machine the load changes
// between two benchmarks run one after the other, and the goal is a ratio
// (a tick's median within twice the bare loop's).
void BM_TickAgainstBare(benchmark::State& state)
{
    Fixture& fx = fixture();
    KOVVideoImg page;
    showVideo(page, fx);
    settle();
    cv::VideoCapture cap(fx.video.path.toStdString(), cv::CAP_FFMPEG);
    cv::Mat frame;
    cv::Mat sized;
    std::vector<double> ticks;
    std::vector<double> bare;
    for (auto _ : state) {
        if (page.currentFrameIndex() >= page.frameCount() - 1) {
            QMetaObject::invokeMethod(&page, "on_horizontalSlider_valueChanged", Q_ARG(int, 1));
            settle();
        }
        QElapsedTimer t;
        t.start();
        if (!cap.read(frame)) {
            cap.open(fx.video.path.toStdString(), cv::CAP_FFMPEG);
            t.restart();
            cap.read(frame);
        }
        cv::resize(frame, sized, cv::Size(1024, 600), 0, 0, cv::INTER_LINEAR);
        benchmark::DoNotOptimize(sized.data);
        bare.push_back(double(t.nsecsElapsed()) / 1e6);

        t.restart();
        QMetaObject::invokeMethod(&page, "on_PB_nextFrame_clicked");
        QCoreApplication::processEvents();
        ticks.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    waitIdle(page.ocrContext());
    state.counters["tick_median_ms"] = percentile(ticks, 0.5);
    state.counters["bare_median_ms"] = percentile(bare, 0.5);
    state.counters["ratio"] = percentile(ticks, 0.5) / std::max(1e-9, percentile(bare, 0.5));
    state.counters["tick_p95_ms"] = percentile(ticks, 0.95);
}
BENCHMARK(BM_TickAgainstBare)->Iterations(500)->Unit(benchmark::kMillisecond);

// One recognition on its worker thread, request to delivered result, with
// the engine already started.
void BM_Recognition(benchmark::State& state)
{
    if (!KOVOcrEngine::hasLanguageData()) {
        state.SkipWithError("no English OCR data");
        return;
    }
    Fixture& fx = fixture();
    const cv::Mat img = KOVGen::acousticImage(5, QPoint(300, 300), QStringLiteral("45.2dB"));
    QObject receiver;
    int results = 0;
    auto ctx = KOVOcrContext::create(&receiver, [&results](quint64, const QString&) { ++results; });
    Q_UNUSED(fx);
    ctx->request(img);
    waitIdle(ctx.get());
    std::vector<double> times;
    for (auto _ : state) {
        const int before = results;
        QElapsedTimer t;
        t.start();
        ctx->request(img);
        while (results == before) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    ctx->shutdown();
    settle();
    state.counters["median_ms"] = percentile(times, 0.5);
    state.counters["p95_ms"] = percentile(times, 0.95);
}
BENCHMARK(BM_Recognition)->Iterations(50)->Unit(benchmark::kMillisecond);

// Ten replays of the whole video at full speed: threads and memory must not grow.
void BM_TenReplays(benchmark::State& state)
{
    Fixture& fx = fixture();
    KOVVideoImg page;
    showVideo(page, fx);
    auto replay = [&page] {
        QMetaObject::invokeMethod(&page, "on_horizontalSlider_valueChanged", Q_ARG(int, 1));
        while (page.currentFrameIndex() < page.frameCount() - 1) {
            QMetaObject::invokeMethod(&page, "slotTimeOut");
            QCoreApplication::processEvents();
        }
        waitIdle(page.ocrContext());
    };
    replay();
    const long threads0 = statusKb("Threads:");
    const long rss0 = statusKb("VmRSS:");
    long threadsMax = threads0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) {
            replay();
            threadsMax = std::max(threadsMax, statusKb("Threads:"));
        }
    }
    state.counters["threads_before"] = double(threads0);
    state.counters["threads_after"] = double(statusKb("Threads:"));
    state.counters["threads_max"] = double(threadsMax);
    state.counters["rss_growth_MB"] = double(statusKb("VmRSS:") - rss0) / 1024.0;
}
BENCHMARK(BM_TenReplays)->Iterations(1)->Unit(benchmark::kMillisecond);

// A report of 100 test points as the cache restore builds it: 100 pages in
// report mode, then each showing its picture (which starts a recognition).
void BM_HundredPages(benchmark::State& state)
{
    Fixture& fx = fixture();
    KOVOcrEnginePool::instance().shutdown();
    settle();
    const long rss0 = statusKb("VmRSS:");
    for (auto _ : state) {
        std::vector<std::unique_ptr<KOVVideoImg>> pages;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 100; ++i) {
            pages.emplace_back(new KOVVideoImg);
            pages.back()->isReportWin(true, 0);
            pages.back()->slotUpdateItemList();
        }
        state.counters["construct_s"] = double(t.nsecsElapsed()) / 1e9;
        state.counters["construct_peak_MB"] = double(statusKb("VmHWM:") - rss0) / 1024.0;
        t.restart();
        for (auto& p : pages)
            p->showItem(1, fx.picture.dir);
        state.counters["show_calls_s"] = double(t.nsecsElapsed()) / 1e9;
        for (auto& p : pages)
            waitIdle(p->ocrContext());
        state.counters["show_s"] = double(t.nsecsElapsed()) / 1e9;
        state.counters["engines"] = KOVOcrEnginePool::instance().engineCount();
        state.counters["peak_MB"] = double(statusKb("VmHWM:") - rss0) / 1024.0;
    }
}
BENCHMARK(BM_HundredPages)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
