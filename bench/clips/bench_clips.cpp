// Clip recording against playback, and the clip player's tick. Run by hand in
// a build without sanitizers:
//   build/rel/bench/clips/bench_clips
// Figures are counters in milliseconds.
#include "kovbenchutil.h"
#include "kovclipwriter.h"
#include "kovgen.h"
#include "kovscreenshot.h"
#include "kovvideoimg.h"
#include "reviewfixture.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QThread>
#include <QMouseEvent>

#include <opencv2/videoio.hpp>

#include <algorithm>
#include <vector>

namespace {

constexpr int kFrames = 250;

struct Fixture
{
    QTemporaryDir dir;
    ReviewFixture::Item rec;
};

Fixture& fixture()
{
    static Fixture x;
    static const bool made = [] {
        using K = KOVGen::ItemKind;
        x.rec = ReviewFixture::makeItem(x.dir.path(), "rec", "VID_rec.mp4", K::Video, kFrames, 1);
        ReviewFixture::publish({ x.rec });
        return true;
    }();
    Q_UNUSED(made);
    return x;
}

// Posted work (repaints, OCR results) but no timer: the pages' own 40 ms
// timers would add ticks the benchmark does not count.
void flush()
{
    QCoreApplication::sendPostedEvents();
}

double timedTick(QObject* o)
{
    QElapsedTimer t;
    t.start();
    QMetaObject::invokeMethod(o, "slotTimeOut");
    flush();
    return double(t.nsecsElapsed()) / 1e6;
}

void showVideo(KOVVideoImg& page, int index, const QString& dir)
{
    page.isReportWin(true, 1);
    page.saveNamePre(QStringLiteral("1"));
    page.slotUpdateItemList();
    page.show();
    page.showItem(index, dir);
    flush();
}

// One page ticked in blocks of ten, recording and not in turns, paced at
// 40 ms as the timers tick (the encoder has the rest of each 40 ms, as in
// use). Two pages side by side do not compare: painting costs differ between
// windows. Goal: the median tick while recording within 1.3 times the other.
void BM_TickRecordingOnOff(benchmark::State& state)
{
    Fixture& fx = fixture();
    KOVVideoImg page;
    showVideo(page, 0, fx.rec.dir);
    auto* clip = page.findChild<QPushButton*>(QStringLiteral("screenShotPB"));
    auto* del = page.findChild<QPushButton*>(QStringLiteral("delScreen_1"));
    QMetaObject::invokeMethod(&page, "on_PB_play_clicked");
    const int block = 10;
    int inBlock = 0;
    bool recording = false;
    int wrongClips = 0;
    double stopMs = 0;
    std::vector<double> on;
    std::vector<double> off;
    for (auto _ : state) {
        if (inBlock == block) {
            state.PauseTiming();
            if (recording) {
                QElapsedTimer t;
                t.start();
                clip->click(); // stops recording and playback
                stopMs = std::max(stopMs, double(t.nsecsElapsed()) / 1e6);
                cv::VideoCapture cap(page.pointInfo().clipVideo.toStdString(), cv::CAP_FFMPEG);
                if (int(cap.get(cv::CAP_PROP_FRAME_COUNT)) != block)
                    ++wrongClips;
                del->click();
                QMetaObject::invokeMethod(&page, "on_PB_play_clicked");
            } else {
                clip->click(); // playback runs: starts recording
            }
            recording = !recording;
            inBlock = 0;
            flush();
            state.ResumeTiming();
        }
        QElapsedTimer pace;
        pace.start();
        (recording ? on : off).push_back(timedTick(&page));
        ++inBlock;
        state.PauseTiming();
        while (pace.elapsed() < 40)
            QThread::msleep(1);
        state.ResumeTiming();
    }
    if (recording)
        clip->click();
    state.counters["on_median_ms"] = percentile(on, 0.5);
    state.counters["off_median_ms"] = percentile(off, 0.5);
    state.counters["ratio"] = percentile(on, 0.5) / std::max(1e-9, percentile(off, 0.5));
    state.counters["on_p95_ms"] = percentile(on, 0.95);
    state.counters["off_p95_ms"] = percentile(off, 0.95);
    state.counters["stop_max_ms"] = stopMs;
    state.counters["wrong_clips"] = wrongClips;
}
BENCHMARK(BM_TickRecordingOnOff)->Iterations(kFrames - 10)->Unit(benchmark::kMillisecond);

// One playback step of the clip player: seek, two frame reads, two resizes,
// the picture set; goal under 20 ms at p95.
void BM_PlayerTick(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("R1_videoClip.avi"));
    {
        KOVClipWriter w;
        w.open(path, 1024, 600, 15.0);
        KOVGen::VideoOptions o;
        o.frames = 100;
        for (int i = 0; i < o.frames; ++i) {
            const cv::Mat bgr = KOVGen::videoFrame(i, o);
            w.addFrame(QImage(bgr.data, bgr.cols, bgr.rows, int(bgr.step), QImage::Format_BGR888).copy());
        }
        w.close();
    }
    KOVScreenshot player;
    player.showScreenshot(path);
    flush();
    std::vector<double> ticks;
    for (auto _ : state) {
        if (!player.isPlaying()) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(500, 300), Qt::LeftButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(&player, &press);
        }
        ticks.push_back(timedTick(&player));
    }
    state.counters["median_ms"] = percentile(ticks, 0.5);
    state.counters["p95_ms"] = percentile(ticks, 0.95);
}
BENCHMARK(BM_PlayerTick)->Iterations(300)->Unit(benchmark::kMillisecond);

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
