// The recovery cache at its largest: every test-point page of 30 reports of
// 10 points, and of one report of 100 points, saved into one document and
// restored from it. Each page shows a video, so each saves its last frame.
//   bench_cache --benchmark_counters_tabular=true
// Memory per page: one case per run, --benchmark_filter=BM_PageMemory/1/0/.
#include "kovbenchutil.h"
#include "kovcachefile.h"
#include "kovmessagebox.h"
#include "kovvideoimg.h"
#include "reviewfixture.h"

#include <QApplication>
#include <QJsonArray>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

QTemporaryDir* gRoot = nullptr;

long peakRssKb()
{
    return statusKb("VmHWM:");
}
long rssKb()
{
    return statusKb("VmRSS:");
}

// Two items, a picture and a video, published as the imported list.
void publishItems()
{
    static bool done = false;
    if (done)
        return;
    QList<ReviewFixture::Item> items;
    items << ReviewFixture::makeItem(gRoot->path(), QStringLiteral("p"), QStringLiteral("a.jpg"),
                                     KOVGen::ItemKind::Picture, 1, 0)
          << ReviewFixture::makeItem(gRoot->path(), QStringLiteral("v"), QStringLiteral("b.mp4"),
                                     KOVGen::ItemKind::Video, 25, 0);
    ReviewFixture::publish(items);
    done = true;
}

using Pages = std::vector<std::unique_ptr<KOVVideoImg>>;

Pages makePages(int reports, int points, bool show)
{
    Pages pages;
    for (int i = 0; i < reports * points; ++i) {
        pages.emplace_back(new KOVVideoImg);
        pages.back()->isReportWin(true, 0);
        pages.back()->slotUpdateItemList();
        if (show)
            pages.back()->showItem(i % 2, gRoot->filePath(i % 2 ? QStringLiteral("v") : QStringLiteral("p")));
    }
    return pages;
}

// The document as the window writes it: one report object per report, each
// with its test points' states.
QJsonObject saveAll(const Pages& pages, int points)
{
    QJsonArray wins;
    for (size_t first = 0; first < pages.size(); first += size_t(points)) {
        QJsonArray testPoints;
        for (int j = 0; j < points; ++j) {
            QJsonObject o;
            pages[first + size_t(j)]->saveData(o);
            testPoints.append(o);
        }
        wins.append(QJsonObject { { QStringLiteral("reportInfo"),
            QJsonObject { { QStringLiteral("testPointList"), testPoints } } } });
    }
    return QJsonObject { { QStringLiteral("winList"), wins } };
}

void BM_Save(benchmark::State& state)
{
    publishItems();
    const int reports = int(state.range(0)), points = int(state.range(1));
    const long before = rssKb();
    const Pages pages = makePages(reports, points, true);
    state.counters["perPageMB"] = (rssKb() - before) / 1024.0 / double(pages.size());
    const KOVCacheFile cache;
    for (auto _ : state) {
        cache.write(saveAll(pages, points));
        state.PauseTiming();
        cache.remove();
        state.ResumeTiming();
    }
    state.counters["pages"] = double(pages.size());
    state.counters["peakMB"] = peakRssKb() / 1024.0;
}

// What one page holds once it shows its item: hidden, as the test points of
// a report are, or on screen. Half of the pages show a video, half a picture
// unless only videos are asked for.
//   --benchmark_filter=BM_PageMemory/<videos only 0|1>/<shown 0|1>
void BM_PageMemory(benchmark::State& state)
{
    publishItems();
    const bool videosOnly = state.range(0) != 0, shown = state.range(1) != 0;
    const int n = 20;
    for (auto _ : state) {
        const long before = rssKb();
        Pages pages;
        for (int i = 0; i < n; ++i) {
            pages.emplace_back(new KOVVideoImg);
            KOVVideoImg& page = *pages.back();
            page.isReportWin(true, 1);
            page.slotUpdateItemList();
            if (shown)
                page.show();
            const int item = videosOnly ? 1 : i % 2;
            page.showItem(item, gRoot->filePath(item ? QStringLiteral("v") : QStringLiteral("p")));
        }
        QCoreApplication::processEvents();
        state.counters["perPageMB"] = (rssKb() - before) / 1024.0 / n;
        state.PauseTiming();
        pages.clear();
        state.ResumeTiming();
    }
    state.counters["peakMB"] = peakRssKb() / 1024.0;
}

void BM_Restore(benchmark::State& state)
{
    publishItems();
    const int reports = int(state.range(0)), points = int(state.range(1));
    const KOVCacheFile cache;
    {
        const Pages pages = makePages(reports, points, true);
        cache.write(saveAll(pages, points));
    }
    for (auto _ : state) {
        QJsonObject root;
        QString why;
        if (!cache.read(&root, &why))
            state.SkipWithError(qPrintable(why));
        Pages pages = makePages(reports, points, false);
        size_t k = 0;
        for (const QJsonValue& w : root.value(QStringLiteral("winList")).toArray()) {
            for (const QJsonValue& p : w.toObject().value(QStringLiteral("reportInfo")).toObject()
                                           .value(QStringLiteral("testPointList")).toArray()) {
                QJsonObject o = p.toObject();
                pages[k++]->restoreData(o);
            }
        }
        state.PauseTiming();
        pages.clear();
        state.ResumeTiming();
    }
    cache.remove();
    state.counters["peakMB"] = peakRssKb() / 1024.0;
}

} // namespace

BENCHMARK(BM_Save)->Args({ 30, 10 })->Args({ 1, 100 })->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PageMemory)->ArgsProduct({ { 0, 1 }, { 0, 1 } })->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Restore)->Args({ 30, 10 })->Args({ 1, 100 })->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    KOVMessageBox::s_answer = [](QMessageBox::Icon, const QString&, const QString&, const QStringList&) { return 0; };
    QTemporaryDir root;
    gRoot = &root;
    QDir::setCurrent(root.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
