#ifndef KOVGOLDEN_H
#define KOVGOLDEN_H

// Stored golden outputs: a signal path's output for one generated input,
// made once, looked at, and kept in the test's folder. Run the test with
// KOV_REGEN_GOLDEN=1 to write the file anew after an intended change.

#include <QFile>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace KOVGolden {

// Compares lines with tests/<relPath>: whole numbers exactly, other numbers
// within a relative tolerance, words exactly. Returns "" when they agree,
// else the first difference.
inline QString check(const QString& relPath, const QStringList& lines, double tolerance = 1e-5)
{
    const QString path = qEnvironmentVariable("KOV_SOURCE_DIR") + QStringLiteral("/tests/") + relPath;
    QFile f(path);
    if (qEnvironmentVariableIntValue("KOV_REGEN_GOLDEN") == 1) {
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return QStringLiteral("cannot write ") + path;
        f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        qWarning("golden file written: %s", qPrintable(path));
        return QString();
    }
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("no golden file ") + path + QStringLiteral(" (run with KOV_REGEN_GOLDEN=1)");
    const QStringList stored = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (stored.size() != lines.size())
        return QStringLiteral("%1 lines, the golden file has %2").arg(lines.size()).arg(stored.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList a = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QStringList b = stored[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool same = a.size() == b.size();
        for (int k = 0; same && k < a.size(); ++k) {
            bool wholeA = false, wholeB = false, realA = false, realB = false;
            const qlonglong ia = a[k].toLongLong(&wholeA), ib = b[k].toLongLong(&wholeB);
            const double da = a[k].toDouble(&realA), db = b[k].toDouble(&realB);
            if (a[k] == b[k])
                same = true;
            else if (wholeA && wholeB)
                same = ia == ib;
            else if (realA && realB)
                same = std::fabs(da - db) <= tolerance * std::max(std::fabs(da), std::fabs(db));
            else
                same = a[k] == b[k];
        }
        if (!same)
            return QStringLiteral("line %1: \"%2\", the golden file has \"%3\"").arg(i + 1).arg(lines[i], stored[i]);
    }
    return QString();
}

inline QString number(double v)
{
    return QString::number(v, 'g', 9);
}

} // namespace KOVGolden

#define KOV_GOLDEN(relPath, lines)                                                                                     \
    do {                                                                                                               \
        const QString kovGoldenDiff = KOVGolden::check(relPath, lines);                                                \
        QVERIFY2(kovGoldenDiff.isEmpty(), qPrintable(kovGoldenDiff));                                                  \
    } while (false)

#endif // KOVGOLDEN_H
