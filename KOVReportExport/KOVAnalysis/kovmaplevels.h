#ifndef KOVMAPLEVELS_H
#define KOVMAPLEVELS_H

#include "kovplotreduce.h"

#include <QVector>

// The columns a spectrogram's colour map shows: at level L each column
// holds 2^L whole rows (frames) and the largest value of each bin among
// them, the last column what rows are left. Columns of one level all stand
// for the same time, so a map of them puts every frame under the column
// that holds it.
//
// A view of maxColumns rows or fewer gets a column per row (level 0);
// longer views the lowest level that fits. The map holds the view's columns
// and as many again around them, so a drag or a zoom that stays within
// them rebuilds nothing.
//
// Levels 2, 4, 6 ... are pooled once, when first needed, and kept (a third
// of the rows' size at most); the odd ones are pooled from the level below
// for the columns asked only.
class KOVMapLevels
{
public:
    // Columns first .. last - 1 of a level; level -1: none.
    struct Span
    {
        int level = -1;
        int first = 0;
        int last = 0;
        bool operator==(const Span& o) const { return level == o.level && first == o.first && last == o.last; }
    };

    // rowCount rows of bins values, row-major; the rows stay the caller's
    // and must outlive this object's use of them. Drops the pooled levels.
    void reset(const float* rows, int rowCount, int bins);

    // The lowest level at which rows fit in maxColumns columns.
    static int levelFor(int rows, int maxColumns);
    int columnCount(int level) const;

    // The span a map should hold for the visible rows: shown when it still
    // serves (the same level, the visible columns within it, and not more
    // than four times their number or maxColumns / 8), else the visible
    // columns and half their number again on each side, cut to the
    // level's columns.
    Span spanFor(const KOVPlotReduce::RowSpan& visible, int maxColumns, const Span& shown) const;

    // The span's columns into out (columns x bins, column-major as rows
    // are); returns their number.
    int columns(const Span& span, QVector<float>& out);

    // Bytes of the levels pooled and kept.
    qint64 keptBytes() const;

private:
    const float* level(int even);

    const float* m_rows = nullptr;
    int m_rowCount = 0;
    int m_bins = 0;
    // m_even[i]: level 2 (i + 1), or empty until first needed.
    QVector<QVector<float>> m_even;
};

#endif // KOVMAPLEVELS_H
