// Import of large user directories against a plain recursive listing of the
// same tree, and parsing a 10-minute video's info.dat.
//   bench_mainwin --benchmark_counters_tabular=true
#include "kovbenchutil.h"
#include "kovfiledialog.h"
#include "kovgen.h"
#include "koviteminfo.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

QTemporaryDir* gRoot = nullptr;

// Light user directories (one tiny picture, thumbnail and info.dat per item),
// made once per size for the whole run.
QString usrDir(int items)
{
    static QMap<int, QString> made;
    if (made.contains(items))
        return made.value(items);
    KOVGen::DirOptions opt;
    opt.outDir = gRoot->filePath(QStringLiteral("u%1").arg(items));
    opt.items = items;
    opt.light = true;
    const KOVGen::DirResult res = KOVGen::writeUserDirectory(opt);
    if (!res.ok)
        qFatal("cannot generate the user directory: %s", qPrintable(res.error));
    made.insert(items, opt.outDir);
    return opt.outDir;
}


void BM_PlainListing(benchmark::State& state)
{
    const QString dir = usrDir(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int files = 0;
        QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++files;
        }
        benchmark::DoNotOptimize(files);
    }
}

void BM_Import(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    const QString dir = usrDir(items);
    KOVFileDialog::s_chooseHook = [dir](const QString&) { return dir; };
    for (auto _ : state) {
        state.PauseTiming();
        auto* w = new KOVReportExport;
        state.ResumeTiming();
        w->importFiles();
        state.PauseTiming();
        if (w->fileNameList().size() != items)
            state.SkipWithError("not every item was imported");
        // Without an event loop every entry keeps a posted event, and each
        // deletion would scan all of them.
        QCoreApplication::sendPostedEvents();
        delete w;
        state.ResumeTiming();
    }
    // Process-wide: run one size per process for its own peak.
    state.counters["peak_rss_MB"] = statusKb("VmHWM:") / 1024.0;
    KOVFileDialog::s_chooseHook = nullptr;
}

// The folder scan alone, without rows: what import adds to a plain listing
// before any widget is made.
void BM_ScanOnly(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    const QString dir = usrDir(items) + QLatin1Char('/');
    for (auto _ : state) {
        state.PauseTiming();
        auto* w = new KOVReportExport;
        state.ResumeTiming();
        const QStringList accepted = w->checkDirInfo(w->openDirListDialog(dir), 0);
        state.PauseTiming();
        if (accepted.size() != items)
            state.SkipWithError("not every item was accepted");
        delete w;
        state.ResumeTiming();
    }
}

void BM_ParseInfoDat(benchmark::State& state)
{
    KOVGen::InfoDatOptions opt;
    opt.format = 13;
    opt.frames = static_cast<int>(state.range(0));
    const QString path = gRoot->filePath(QStringLiteral("info.dat"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(KOVGen::infoDatBytes(opt));
    f.close();
    KOVItemInfo reader;
    for (auto _ : state) {
        const int n = reader.readItemInfo(path);
        if (n != opt.frames)
            state.SkipWithError("frame count differs");
    }
}

} // namespace

BENCHMARK(BM_PlainListing)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanOnly)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ParseInfoDat)->Arg(15000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The import road may warn; nobody is there to answer.
    KOVMessageBox::s_answer = [](QMessageBox::Icon, const QString&, const QString&, const QStringList&) { return 0; };
    QTemporaryDir root;
    gRoot = &root;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
