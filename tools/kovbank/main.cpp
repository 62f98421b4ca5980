// kovbank: makes the discharge classifier's feature bank from synthetic
// recordings, or measures how a bank classifies recordings of another seed.
//   kovbank --out <bank.txt> [--seed N] [--rows R]
//   kovbank --evaluate <bank.txt> [--seed N] [--recordings R]
#include "kovbankbuilder.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: kovbank --out <bank.txt> [--seed N] [--rows R]\n"
                 "       kovbank --evaluate <bank.txt> [--seed N] [--recordings R]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString out, evaluate;
    uint32_t seed = 1;
    int rows = 250;
    int recordings = 40;
    bool seedGiven = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--out") && hasValue)
            out = args[++i];
        else if (a == QLatin1String("--evaluate") && hasValue)
            evaluate = args[++i];
        else if (a == QLatin1String("--seed") && hasValue)
            seed = args[++i].toUInt(&ok), seedGiven = true;
        else if (a == QLatin1String("--rows") && hasValue)
            rows = args[++i].toInt(&ok);
        else if (a == QLatin1String("--recordings") && hasValue)
            recordings = args[++i].toInt(&ok);
        else
            return usage();
        if (!ok)
            return usage();
    }
    if (out.isEmpty() == evaluate.isEmpty() || rows < 2 || rows * 4 > 1023 || recordings < 1)
        return usage();
    if (!out.isEmpty()) {
        QString error;
        if (!KOVBankBuilder::build(seed, rows, out, &error)) {
            std::fprintf(stderr, "kovbank: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    // Measured on recordings the bank has not seen.
    if (!seedGiven)
        seed = 2;
    const KOVBankBuilder::Confusion c = KOVBankBuilder::evaluate(evaluate, seed, recordings);
    std::printf("seed %u, %d recordings of %d periods per class\n%s", seed, recordings,
                int(KOVBankBuilder::RecordingPeriods), qPrintable(KOVBankBuilder::format(c)));
    return 0;
}
