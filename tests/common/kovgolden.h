#ifndef KOVGOLDEN_H
#define KOVGOLDEN_H

// Stored golden outputs: a signal path's output for one generated input, made
// once, looked at, and kept beside the test. KOV_REGEN_GOLDEN=1 writes them
// anew after an intended change.

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace KOVGolden {

inline QString number(double v)
{
    return QString::number(v, 'g', 9);
}

// Compares lines with tests/<relPath> word by word: whole numbers exactly,
// other numbers within a relative tolerance. "" when they agree.
inline QString check(const QString& relPath, const QStringList& lines, double tolerance = 1e-5)
{
    QFile f(qEnvironmentVariable("KOV_SOURCE_DIR") + QStringLiteral("/tests/") + relPath);
    if (qEnvironmentVariableIntValue("KOV_REGEN_GOLDEN") == 1) {
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write((lines.join('\n') + '\n').toUtf8()) < 0)
            return QStringLiteral("cannot write ") + f.fileName();
        qWarning("golden file written: %s", qPrintable(f.fileName()));
        return QString();
    }
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("no golden file ") + f.fileName() + QStringLiteral(" (run with KOV_REGEN_GOLDEN=1)");
    const QStringList stored = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    if (stored.size() != lines.size())
        return QStringLiteral("%1 lines, the golden file has %2").arg(lines.size()).arg(stored.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList a = lines[i].split(' '), b = stored[i].split(' ');
        bool same = a.size() == b.size();
        for (int k = 0; same && k < a.size(); ++k) {
            bool wholeA, wholeB, realA, realB;
            const qlonglong ia = a[k].toLongLong(&wholeA), ib = b[k].toLongLong(&wholeB);
            const double da = a[k].toDouble(&realA), db = b[k].toDouble(&realB);
            same = a[k] == b[k] || (wholeA && wholeB ? ia == ib
                                    : realA && realB && std::fabs(da - db) <= tolerance * std::max(std::fabs(da), std::fabs(db)));
        }
        if (!same)
            return QStringLiteral("line %1: \"%2\", the golden file has \"%3\"").arg(i + 1).arg(lines[i], stored[i]);
    }
    return QString();
}

} // namespace KOVGolden

#define KOV_GOLDEN(relPath, lines)                                                                                     \
    do {                                                                                                               \
        const QString kovGoldenDiff = KOVGolden::check(relPath, lines);                                                \
        QVERIFY2(kovGoldenDiff.isEmpty(), qPrintable(kovGoldenDiff));                                                  \
    } while (false)

#endif // KOVGOLDEN_H
