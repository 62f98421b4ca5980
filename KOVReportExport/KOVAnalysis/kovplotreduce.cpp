#include "kovplotreduce.h"

#include <algorithm>

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

int poolRows(const float* rows, int rowCount, int bins, int columns, QVector<float>& out)
{
    if (rowCount <= 0 || bins <= 0) {
        out.clear();
        return 0;
    }
    if (columns < 1 || rowCount <= columns) {
        out.resize(rowCount * bins);
        std::copy(rows, rows + qptrdiff(rowCount) * bins, out.begin());
        return rowCount;
    }
    out.resize(columns * bins);
    for (int c = 0; c < columns; ++c) {
        const int a = int(qint64(rowCount) * c / columns);
        const int e = int(qint64(rowCount) * (c + 1) / columns);
        float* dst = out.data() + qptrdiff(c) * bins;
        std::copy(rows + qptrdiff(a) * bins, rows + qptrdiff(a + 1) * bins, dst);
        for (int r = a + 1; r < e; ++r) {
            const float* src = rows + qptrdiff(r) * bins;
            for (int j = 0; j < bins; ++j)
                dst[j] = std::max(dst[j], src[j]);
        }
    }
    return columns;
}

} // namespace KOVPlotReduce
