// Media hot paths against their plain baselines:
//   WAV load of 5 minutes of 96 kHz stereo vs a plain sequential read;
//   pulse capture with classification, in multiples of real time;
//   AVI clip writing vs writing the same bytes plainly.
// Run a release build: bench_media --benchmark_repetitions=5
#include "avilib.h"
#include "kovaudiosave.h"
#include "kovbankbuilder.h"
#include "kovpddpulsecapture.h"
#include "kovpdsynth.h"
#include "kovreadaudio.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

const QString& longWav()
{
    static const QString path = [] {
        const QString p = scratch().filePath(QStringLiteral("five_minutes.wav"));
        const int n = 5 * 60 * 96000;
        std::vector<short> l(static_cast<size_t>(n)), r(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            l[static_cast<size_t>(i)] = static_cast<short>(i * 7);
            r[static_cast<size_t>(i)] = static_cast<short>(i * 13);
        }
        KOVAudioSave save(p, 2, 96000, false);
        save.write(l.data(), r.data(), n);
        return p;
    }();
    return path;
}

void BM_WavLoad(benchmark::State& state)
{
    const QString path = longWav();
    for (auto _ : state) {
        KOVReadAudio r;
        if (!r.initAudioData(path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(r.getAudioData());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_WavLoad)->Unit(benchmark::kMillisecond);

// The baseline: the whole file into a fresh buffer of its size, 1 MiB reads.
void BM_WavPlainRead(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(longWav());
    const size_t size = static_cast<size_t>(QFileInfo(longWav()).size());
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY);
        char* buf = static_cast<char*>(std::malloc(size));
        size_t done = 0;
        ssize_t n;
        while (done < size && (n = ::read(fd, buf + done, std::min<size_t>(1 << 20, size - done))) > 0)
            done += static_cast<size_t>(n);
        ::close(fd);
        benchmark::DoNotOptimize(buf);
        std::free(buf);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}
BENCHMARK(BM_WavPlainRead)->Unit(benchmark::kMillisecond);

// Pulse capture and classification of ten seconds of a recording with a
// pulse in every period (each one classified: the worst case; arguments are
// the class: 1 corona, 3 free metal, 0 noise), fed as playback feeds it.
// Counter "realtime" is audio seconds per second.
void BM_PddCapture(benchmark::State& state)
{
    static const bool ready = [] {
        QString error;
        const QString bank = scratch().filePath(QStringLiteral("cfg/Data/bank.txt"));
        return KOVBankBuilder::build(1, 250, bank, &error) && QDir::setCurrent(scratch().path());
    }();
    if (!ready) {
        state.SkipWithError("no bank");
        return;
    }
    KOVPdSynth synth(9);
    const std::vector<float> audio = synth.render(static_cast<int>(state.range(0)), 500);
    float bins[240];
    long periods = 0;
    // One capture for the run, as the pattern view keeps one for its life.
    KOVPddPulseCapture capture(KOVPddPulseCapture::Pdd50Hz);
    for (auto _ : state) {
        capture.releaseCache();
        KOVPddPulseCapture::PddType type;
        for (size_t at = 0; at + 3840 <= audio.size(); at += 3840) {
            capture.FeedAudio(audio.data() + at, 3840);
            while (capture.getPdd(bins, type))
                ++periods;
        }
    }
    const double samples = static_cast<double>(state.iterations()) * static_cast<double>(audio.size());
    state.counters["realtime"] = benchmark::Counter(samples / 96000.0, benchmark::Counter::kIsRate);
    state.counters["periods"] = benchmark::Counter(static_cast<double>(periods) / state.iterations());
}
BENCHMARK(BM_PddCapture)->Arg(1)->Arg(3)->Arg(0)->Unit(benchmark::kMillisecond);

const int kFrames = 300;
const int kFrameBytes = 60001; // a 1024 x 600 JPEG frame of the imager is about this size

void BM_AviWrite(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(scratch().filePath(QStringLiteral("clip.avi")));
    const std::vector<char> frame(kFrameBytes, 'j');
    for (auto _ : state) {
        avi_t* a = AVI_open_output_file(path.constData());
        AVI_set_video(a, 1024, 600, 15.0, "MJPG");
        for (int i = 0; i < kFrames; ++i)
            AVI_write_frame(a, frame.data(), kFrameBytes, 1);
        AVI_close(a);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kFrames) * kFrameBytes);
}
BENCHMARK(BM_AviWrite)->Unit(benchmark::kMillisecond);

// The baseline: the finished clip's bytes, prepared beforehand, written
// plainly in 1 MiB pieces over the same file (both sides overwrite in place
// and cut the file at its end).
void BM_PlainWrite(benchmark::State& state)
{
    const QByteArray clip = QFile::encodeName(scratch().filePath(QStringLiteral("clip.avi")));
    const QByteArray path = QFile::encodeName(scratch().filePath(QStringLiteral("plain.bin")));
    std::vector<char> bytes;
    {
        const std::vector<char> frame(kFrameBytes, 'j');
        avi_t* a = AVI_open_output_file(clip.constData());
        AVI_set_video(a, 1024, 600, 15.0, "MJPG");
        for (int i = 0; i < kFrames; ++i)
            AVI_write_frame(a, frame.data(), kFrameBytes, 1);
        AVI_close(a);
        QFile f(QString::fromLocal8Bit(clip));
        f.open(QIODevice::ReadOnly);
        const QByteArray all = f.readAll();
        bytes.assign(all.begin(), all.end());
    }
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        for (size_t at = 0; at < bytes.size(); at += 1 << 20)
            benchmark::DoNotOptimize(::write(fd, bytes.data() + at, std::min<size_t>(1 << 20, bytes.size() - at)));
        benchmark::DoNotOptimize(::ftruncate(fd, static_cast<off_t>(bytes.size())));
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kFrames) * kFrameBytes);
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

// The same bytes in the writer's own pieces (header, one write per frame
// chunk, the index), prepared beforehand: what the container costs beyond
// the writes it has to make while recording, one frame at a time.
void BM_PlainWriteChunks(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(scratch().filePath(QStringLiteral("chunks.bin")));
    const size_t chunk = 8 + kFrameBytes + 1;
    std::vector<char> frames(chunk * kFrames, 'j');
    std::vector<char> index(8 + 16 * kFrames, 'i');
    const std::vector<char> header(2048, 0);
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        benchmark::DoNotOptimize(::write(fd, header.data(), header.size()));
        for (int i = 0; i < kFrames; ++i)
            benchmark::DoNotOptimize(::write(fd, frames.data() + chunk * static_cast<size_t>(i), chunk));
        benchmark::DoNotOptimize(::write(fd, index.data(), index.size()));
        benchmark::DoNotOptimize(::pwrite(fd, header.data(), header.size(), 0));
        benchmark::DoNotOptimize(::ftruncate(fd, static_cast<off_t>(2048 + chunk * kFrames + index.size())));
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kFrames) * kFrameBytes);
}
BENCHMARK(BM_PlainWriteChunks)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
