// Export of a gas report whose test points are videos with a locked frame
// (1024 x 600 JPEG) and a discharge pattern (530 x 220 PNG): two pictures
// per point, each point with pictures of its own.
#include "kovlibxl.h"
#include "kovxlsxbook.h"
#include "writerfixture.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

QTemporaryDir* g_dir = nullptr;
const int kMaxPoints = 100;

QString g_pictures; // folder of the pictures, the template and the output

QString path(const QString& name) { return g_pictures + QLatin1Char('/') + name; }

void makePictures()
{
    QDir().mkpath(path(QStringLiteral("pictures")));
    for (int i = 1; i <= kMaxPoints; ++i) {
        QImage frame(1024, 600, QImage::Format_RGB32);
        QPainter p(&frame);
        QLinearGradient g(0, 0, 1024, 600);
        g.setColorAt(0, QColor::fromHsv(i * 3 % 360, 200, 200));
        g.setColorAt(1, Qt::black);
        p.fillRect(frame.rect(), g);
        p.setPen(QPen(Qt::white, 3));
        for (int k = 0; k < 40; ++k)
            p.drawLine((k * 97 + i * 13) % 1024, 0, (k * 31) % 1024, 599);
        p.end();
        frame.save(path(QStringLiteral("pictures/frame_%1.jpg").arg(i)), "JPEG", 85);
        QImage pattern(530, 220, QImage::Format_RGB32);
        pattern.fill(Qt::white);
        QPainter q(&pattern);
        q.setPen(Qt::red);
        for (int k = 0; k < 300; ++k)
            q.drawPoint((k * 37 + i) % 530, (k * 53) % 220);
        q.end();
        pattern.save(path(QStringLiteral("pictures/pattern_%1.png").arg(i)), "PNG");
    }
    QDir().mkpath(path(QStringLiteral("cfg")));
    for (const char* t : {"template_gas_ch"})
        QFile::copy(QStringLiteral(KOV_BENCH_CFG "/") + QLatin1String(t), path(QStringLiteral("cfg/") + QLatin1String(t)));
}

// The tests' records, each point with pictures of its own.
KOVReportInfo makeReport(int n)
{
    QList<KOVTestPointInfo> points;
    for (int i = 1; i <= n; ++i) {
        KOVTestPointInfo tp = KOVWriterFixture::videoPoint(i, true, true);
        tp.videoImgPathList = QStringList{ path(QStringLiteral("pictures/frame_%1.jpg").arg(i)) };
        tp.pddImgPathList = QStringList{ path(QStringLiteral("pictures/pattern_%1.png").arg(i)) };
        points << tp;
    }
    return KOVWriterFixture::report(0, points);
}

void writeAndSave(KOVLibxl& w, const KOVReportInfo& info)
{
    w.WriteHomePage(info, w.GetSheet(0));
    for (int i = 0; i < info.pointInfoList.size(); ++i)
        w.WritePoinInfo(info.pointInfoList.at(i), w.GetSheet(i + 1), 0);
    if (!w.SaveExcel())
        qFatal("save failed");
}

const QString kOut = QStringLiteral("out.xlsx");

// The writer's debug lines would bury the figures.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void BM_CreateExcel(benchmark::State& state)
{
    const int n = int(state.range(0));
    for (auto _ : state) {
        KOVLibxl w;
        if (!w.CreateExcel(path(kOut), 0, n, 0))
            state.SkipWithError("CreateExcel failed");
    }
}

void BM_WriteAndSave(benchmark::State& state)
{
    const int n = int(state.range(0));
    const KOVReportInfo info = makeReport(n);
    for (auto _ : state) {
        state.PauseTiming();
        KOVLibxl w;
        w.CreateExcel(path(kOut), 0, n, 0);
        state.ResumeTiming();
        writeAndSave(w, info);
    }
    state.counters["output_MB"] = QFileInfo(path(kOut)).size() / 1e6;
}

// One whole export in a process of its own, so that its peak resident size
// is its own and not the largest of all sizes run before it.
void BM_PeakMemory(benchmark::State& state)
{
    const int n = int(state.range(0));
    double peakMb = 0;
    double baseMb = 0;
    for (auto _ : state) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--kov-peak=%1").arg(n), g_dir->path()});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            state.SkipWithError("export process failed");
            return;
        }
        const QList<QByteArray> kb = p.readAllStandardOutput().trimmed().split(' ');
        baseMb = kb.value(0).toDouble() / 1024.0;
        peakMb = kb.value(1).toDouble() / 1024.0;
    }
    // The process before the export (libraries, record) and at its peak.
    state.counters["before_MB"] = baseMb;
    state.counters["peak_MB"] = peakMb;
}

// Our whole export against openpyxl's on the same template and pictures.
void BM_CompareOpenpyxl(benchmark::State& state)
{
    const int n = int(state.range(0));
    const KOVReportInfo info = makeReport(n);
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        KOVLibxl w;
        w.CreateExcel(path(kOut), 0, n, 0);
        writeAndSave(w, info);
        ours = t.nsecsElapsed() / 1e9;
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(KOV_BENCH_SCRIPT), path(QStringLiteral("cfg/template_gas_ch")),
                                                      path(QStringLiteral("openpyxl.xlsx")), QString::number(n), path(QStringLiteral("pictures"))});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            state.SkipWithError(p.readAllStandardError().constData());
            return;
        }
        theirs = p.readAllStandardOutput().trimmed().toDouble();
        state.SetIterationTime(ours);
    }
    state.counters["ours_s"] = ours;
    state.counters["openpyxl_s"] = theirs;
    state.counters["ratio"] = ours > 0 ? theirs / ours : 0;
}

} // namespace

BENCHMARK(BM_CreateExcel)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAndSave)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareOpenpyxl)->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    if (argc == 3 && qstrncmp(argv[1], "--kov-peak=", 11) == 0) {
        const int n = atoi(argv[1] + 11);
        const QString folder = QString::fromLocal8Bit(argv[2]);
        QDir::setCurrent(folder);
        g_pictures = folder;
        const KOVReportInfo info = makeReport(n);
        struct rusage before, after;
        getrusage(RUSAGE_SELF, &before);
        {
            KOVLibxl w;
            if (!w.CreateExcel(folder + QStringLiteral("/peak.xlsx"), 0, n, 0))
                return 1;
            writeAndSave(w, info);
        }
        getrusage(RUSAGE_SELF, &after);
        printf("%ld %ld\n", before.ru_maxrss, after.ru_maxrss);
        return 0;
    }
    QTemporaryDir dir;
    g_dir = &dir;
    g_pictures = dir.path();
    QDir::setCurrent(dir.path()); // the writer finds ./cfg here
    makePictures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
