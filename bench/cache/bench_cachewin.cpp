// The whole window through the recovery cache, as quit and the next start do
// it: 30 report pages of 10 test points, and one report of 100, over a user
// directory of 100 items, every other one a video.
//   bench_cachewin --benchmark_counters_tabular=true --benchmark_filter='Quit|Start'
#include "kovbenchutil.h"
#include "kovcachefile.h"
#include "kovfiledialog.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"
#include "reviewfixture.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

QString gUsr;

long peakRssKb()
{
    return statusKb("VmHWM:");
}
long rssKb()
{
    return statusKb("VmRSS:");
}

void makeUsrDir(const QString& root)
{
    gUsr = root + QStringLiteral("/default");
    if (QDir(gUsr).exists())
        return;
    QDir().mkpath(gUsr);
    QFile(gUsr + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
    for (int i = 0; i < 100; ++i) {
        const bool video = i % 2;
        ReviewFixture::makeItem(gUsr, QStringLiteral("item%1").arg(i, 3, 10, QLatin1Char('0')),
                                QStringLiteral("%1.%2").arg(i).arg(video ? "mp4" : "jpg"),
                                video ? KOVGen::ItemKind::Video : KOVGen::ItemKind::Picture, 25, 0, true, quint64(i + 1));
    }
}

void openReports(KOVReportExport& w, int reports, int points)
{
    KOVFileDialog::s_chooseHook = [](const QString&) { return gUsr; };
    w.importFiles();
    for (int r = 0; r < reports; ++r) {
        w.addNewReport(r % 2);
        for (int p = 0; p < points; ++p)
            w.itemEntries().at((r * 3 + p) % w.itemEntries().size())->setChosed();
    }
}

void BM_QuitSave(benchmark::State& state)
{
    KOVReportExport w;
    openReports(w, int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        w.saveData();
        state.PauseTiming();
        KOVCacheFile().remove();
        state.ResumeTiming();
    }
    state.counters["peakMB"] = peakRssKb() / 1024.0;
}

// Leaves the cache for BM_StartRestore, which has it written by another run
// of this program: the peak memory it reports is then the restore's alone.
void BM_WriteCache(benchmark::State& state)
{
    KOVReportExport w;
    openReports(w, int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        w.saveData();
}

void BM_StartRestore(benchmark::State& state)
{
    long held = 0; // by the restored window, its pages with it
    for (auto _ : state) {
        state.PauseTiming();
        QProcess writer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KOV_BENCH_DIR"), QDir::currentPath());
        writer.setProcessEnvironment(env);
        writer.start(QCoreApplication::applicationFilePath(),
                     { QStringLiteral("--benchmark_filter=BM_WriteCache/%1/%2/").arg(state.range(0)).arg(state.range(1)) });
        if (!writer.waitForFinished(-1) || !KOVCacheFile().exists()) {
            state.SkipWithError("the cache was not written");
            break;
        }
        const long before = rssKb();
        state.ResumeTiming();
        KOVReportExport w;
        w.restoreData();
        state.PauseTiming();
        held = rssKb() - before;
        if (w.reportWins().size() != int(state.range(0))) {
            state.SkipWithError("report pages missing after the restore");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["peakMB"] = peakRssKb() / 1024.0;
    state.counters["perPageMB"] = held / 1024.0 / double(state.range(0) * state.range(1));
}

} // namespace

// One case per run gives its own peak memory: --benchmark_filter=<name>.
BENCHMARK(BM_QuitSave)->Args({ 30, 10 })->Args({ 1, 100 })->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StartRestore)->Args({ 30, 10 })->Args({ 1, 100 })->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WriteCache)->Args({ 30, 10 })->Args({ 1, 100 })->Iterations(1);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    KOVMessageBox::s_answer = [](QMessageBox::Icon, const QString&, const QString&, const QStringList&) { return 0; };
    QTemporaryDir tmp;
    const QString root = qEnvironmentVariableIsSet("KOV_BENCH_DIR") ? qEnvironmentVariable("KOV_BENCH_DIR") : tmp.path();
    makeUsrDir(root);
    QDir::setCurrent(root);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
