// kovgen --out <dir> [--seed N] [--items N] [--light] [--force]
// Writes a synthetic user directory: the demo set, or N items for benchmarks.
#include "kovgen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovgen"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Writes a synthetic imager user directory."));
    p.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The user directory to write."),
                                 QStringLiteral("dir"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed (default 1)."), QStringLiteral("N"),
                                  QStringLiteral("1"));
    const QCommandLineOption items(QStringLiteral("items"),
                                   QStringLiteral("Number of items (default: the demo set of eight)."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption light(QStringLiteral("light"),
                                   QStringLiteral("Tiny pictures and one-frame info.dat only, for bulk imports."));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Write into a folder that already holds files."));
    p.addOptions({out, seed, items, light, force});
    p.process(app);

    bool okSeed = false;
    bool okItems = false;
    KOVGen::DirOptions o;
    o.outDir = p.value(out);
    o.seed = p.value(seed).toULongLong(&okSeed);
    o.items = p.value(items).toInt(&okItems);
    o.light = p.isSet(light);
    o.force = p.isSet(force);
    if (o.outDir.isEmpty() || !okSeed || !okItems || o.items < 0) {
        std::fprintf(stderr, "kovgen: --out <dir> is required; --seed and --items take whole numbers >= 0\n");
        return 2;
    }
    QElapsedTimer t;
    t.start();
    const KOVGen::DirResult r = KOVGen::writeUserDirectory(o);
    if (!r.ok) {
        std::fprintf(stderr, "kovgen: %s\n", qPrintable(r.error));
        return 1;
    }
    std::printf("kovgen: %d items in %s (%lld ms)\n", int(r.itemFiles.size()), qPrintable(o.outDir),
                static_cast<long long>(t.elapsed()));
    return 0;
}
