#include "kovmaplevels.h"

#include <algorithm>

namespace {

// Rows of src (count rows of bins) pooled by groups of `factor`: column c of
// the result the largest of rows c * factor .. (c + 1) * factor - 1 that
// exist, for columns first .. last - 1.
void poolGroups(const float* src, int count, int bins, int factor, int first, int last, float* out)
{
    for (int c = first; c < last; ++c) {
        const int a = c * factor;
        const int e = std::min(a + factor, count);
        float* dst = out + qptrdiff(c - first) * bins;
        std::copy(src + qptrdiff(a) * bins, src + qptrdiff(a + 1) * bins, dst);
        for (int r = a + 1; r < e; ++r) {
            const float* row = src + qptrdiff(r) * bins;
            for (int j = 0; j < bins; ++j)
                dst[j] = std::max(dst[j], row[j]);
        }
    }
}

int groups(int count, int level)
{
    return count > 0 ? int((qint64(count) + (qint64(1) << level) - 1) >> level) : 0;
}

} // namespace

void KOVMapLevels::reset(const float* rows, int rowCount, int bins)
{
    m_rows = rowCount > 0 && bins > 0 ? rows : nullptr;
    m_rowCount = m_rows ? rowCount : 0;
    m_bins = m_rows ? bins : 0;
    m_even.clear();
}

int KOVMapLevels::levelFor(int rows, int maxColumns)
{
    int level = 0;
    while (level < 30 && groups(rows, level) > std::max(maxColumns, 1))
        ++level;
    return level;
}

int KOVMapLevels::columnCount(int level) const
{
    return level >= 0 ? groups(m_rowCount, level) : 0;
}

KOVMapLevels::Span KOVMapLevels::spanFor(const KOVPlotReduce::RowSpan& visible, int maxColumns, const Span& shown) const
{
    if (m_rowCount <= 0 || visible.last <= visible.first)
        return {};
    const int level = levelFor(visible.last - visible.first, maxColumns);
    const int count = columnCount(level);
    const int v0 = visible.first >> level;
    const int v1 = std::min(groups(visible.last, level), count);
    const int seen = std::max(v1 - v0, 1);
    if (shown.level == level && shown.first <= v0 && v1 <= shown.last
        && shown.last - shown.first <= std::max(4 * seen, maxColumns / 8))
        return shown;
    const int margin = seen / 2;
    return { level, std::max(v0 - margin, 0), std::min(v1 + margin, count) };
}

const float* KOVMapLevels::level(int even)
{
    if (even <= 0)
        return m_rows;
    const int i = even / 2 - 1;
    if (m_even.size() <= i)
        m_even.resize(i + 1);
    QVector<float>& kept = m_even[i];
    if (kept.isEmpty()) {
        // From the kept level below: four of its columns to one.
        const float* below = level(even - 2);
        const int belowCount = columnCount(even - 2);
        const int count = columnCount(even);
        kept.resize(count * m_bins);
        poolGroups(below, belowCount, m_bins, 4, 0, count, kept.data());
    }
    return kept.constData();
}

int KOVMapLevels::columns(const Span& span, QVector<float>& out)
{
    const int first = std::max(span.first, 0);
    const int last = std::min(span.last, columnCount(span.level));
    if (!m_rows || span.level < 0 || last <= first) {
        out.clear();
        return 0;
    }
    const int even = span.level & ~1;
    out.resize((last - first) * m_bins);
    poolGroups(level(even), columnCount(even), m_bins, 1 << (span.level - even), first, last, out.data());
    return last - first;
}

qint64 KOVMapLevels::keptBytes() const
{
    qint64 n = 0;
    for (const QVector<float>& l : m_even)
        n += qint64(l.size()) * qint64(sizeof(float));
    return n;
}
