#ifndef KOVPROGRESSTEXT_H
#define KOVPROGRESSTEXT_H

#include <QString>

namespace KOVProgressText {

// value × 100 / total in whole percent, truncated ("33%" for 1 of 3). With
// no total yet there is nothing to be a share of: "0%".
inline QString percent(int value, int total)
{
    if (total <= 0)
        return QStringLiteral("0%");
    const qint64 p = qint64(value) * 100 / total;
    return QString::number(p) + QLatin1Char('%');
}

} // namespace KOVProgressText

#endif // KOVPROGRESSTEXT_H
