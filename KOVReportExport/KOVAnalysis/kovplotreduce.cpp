#include "kovplotreduce.h"

#include <algorithm>
#include <cmath>

namespace KOVPlotReduce {

void envelope(const float* samples, int length, int first, int last, int buckets, QVector<double>& keys,
    QVector<double>& values)
{
    keys.clear();
    values.clear();
    first = std::max(first - 1, 0);
    last = std::min(last + 1, length);
    const int n = last - first;
    if (n <= 0 || !samples)
        return;
    const double rate = 96000.0;
    if (buckets < 1 || n <= 2 * buckets) {
        keys.reserve(n);
        values.reserve(n);
        for (int i = first; i < last; ++i) {
            keys.append(i / rate);
            values.append(double(samples[i]));
        }
        return;
    }
    keys.reserve(2 * buckets + 2);
    values.reserve(2 * buckets + 2);
    // The range's first and last samples always, so the line spans it.
    int lastIndex = first;
    keys.append(first / rate);
    values.append(double(samples[first]));
    const auto add = [&](int i) {
        if (i <= lastIndex)
            return;
        keys.append(i / rate);
        values.append(double(samples[i]));
        lastIndex = i;
    };
    for (int b = 0; b < buckets; ++b) {
        const int a = first + int(qint64(n) * b / buckets);
        const int e = first + int(qint64(n) * (b + 1) / buckets);
        int lo = a;
        int hi = a;
        for (int i = a + 1; i < e; ++i) {
            if (samples[i] < samples[lo])
                lo = i;
            if (samples[i] > samples[hi])
                hi = i;
        }
        add(std::min(lo, hi));
        add(std::max(lo, hi));
    }
    add(last - 1);
}

RowSpan rowsOfRange(double from, double to, double rowSeconds, int rowCount)
{
    if (rowCount <= 0 || !(rowSeconds > 0.0))
        return {};
    if (!std::isfinite(from))
        from = 0.0;
    if (!std::isfinite(to))
        to = rowCount * rowSeconds;
    // A bound a rounding error off a row's edge belongs to that edge: a range
    // set to whole rows must not take a row more on either side.
    const double slack = 1e-6;
    const double a = std::floor(from / rowSeconds + slack);
    const double e = std::ceil(to / rowSeconds - slack);
    RowSpan s;
    s.first = int(std::min(std::max(a, 0.0), double(rowCount - 1)));
    s.last = int(std::min(std::max(e, double(s.first + 1)), double(rowCount)));
    return s;
}

} // namespace KOVPlotReduce
