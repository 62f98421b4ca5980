#ifndef KOVPLOTREDUCE_H
#define KOVPLOTREDUCE_H

#include <QVector>

// What a plot of a long recording needs to look the same as a plot of every
// sample: no screen shows more than a few thousand columns, so the graphs get
// at most that many, each keeping its extremes (the colour map's columns:
// KOVMapLevels).
namespace KOVPlotReduce {

// Points of samples first .. last - 1 (96 kHz, keys in seconds): every sample
// when there are at most 2 x buckets of them, else the smallest and the
// largest sample of each of the buckets, in the order they occur, and the
// range's first and last samples. The neighbours just outside the range are
// included so the line reaches the plot's edges.
void envelope(const float* samples, int length, int first, int last, int buckets, QVector<double>& keys,
    QVector<double>& values);

// The rows of rowSeconds each that a time range (seconds) touches, as
// first .. last - 1 within 0 .. rowCount - 1; at least one row when there
// are rows, none (first == last) when there are none.
struct RowSpan
{
    int first = 0;
    int last = 0;
    bool operator==(const RowSpan& o) const { return first == o.first && last == o.last; }
};
RowSpan rowsOfRange(double from, double to, double rowSeconds, int rowCount);

} // namespace KOVPlotReduce

#endif // KOVPLOTREDUCE_H
