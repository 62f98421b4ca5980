// The nearest-neighbour vote over the feature bank.
#include "kov_pdalg.h"

#include <algorithm>
#include <cmath>
#include <vector>

int KOV_Partition(float* keys, float* values, int lo, int hi)
{
    const float pivot = keys[hi];
    int i = lo - 1;
    for (int j = lo; j < hi; ++j)
        if (keys[j] <= pivot) {
            ++i;
            KOV_Swap(keys[i], keys[j]);
            KOV_Swap(values[i], values[j]);
        }
    KOV_Swap(keys[i + 1], keys[hi]);
    KOV_Swap(values[i + 1], values[hi]);
    return i + 1;
}

void KOV_QSort(float* keys, float* values, int lo, int hi)
{
    // Recursing into the lower part only and looping over the upper part, as
    // the stored order of equal keys depends on exactly this procedure.
    while (lo < hi) {
        const int p = KOV_Partition(keys, values, lo, hi);
        KOV_QSort(keys, values, lo, p - 1);
        lo = p + 1;
    }
}

void KOV_Sort(int n, float*& keys, float*& values)
{
    KOV_QSort(keys, values, 0, n - 1);
}

bool KOV_FeatureMapping(float** rows, int n, int cols)
{
    for (int c = 1; c < cols; ++c) {
        float lo = rows[0][c], hi = rows[0][c];
        for (int r = 0; r < n; ++r) {
            const float v = rows[r][c];
            if (!std::isfinite(v))
                return false;
            if (v > hi)
                hi = v;
            if (v < lo)
                lo = v;
        }
        const float range = hi - lo;
        if (!(range > 0.0f) || !std::isfinite(range))
            return false;
        for (int r = 0; r < n; ++r)
            rows[r][c] = (rows[r][c] - lo) / range;
    }
    return true;
}

void KOV_AbstractDistance(float** rows, int n, int cols, float* dist)
{
    const double w = 1.0 / (cols / 2);
    const float* q = rows[n - 1];
    for (int r = 0; r < n - 1; ++r) {
        const float* x = rows[r];
        float total = 0.0f;
        for (int c = 1; c + 1 < cols; c += 2) {
            const float dA = q[c] - x[c];
            const float dB = q[c + 1] - x[c + 1];
            const float pair = dA * dA + dB * dB;
            total = static_cast<float>(total + pair * w * w);
        }
        dist[r] = total;
    }
    dist[n - 1] = 100.0f;
}

int KOV_KNNPredict(const float* labels, int k, int classNum)
{
    if (classNum < 2)
        return 0;
    std::vector<double> votes(static_cast<size_t>(classNum), 10000.0);
    for (int i = 0; i < k; ++i)
        for (int c = 0; c < classNum; ++c)
            if (std::fabs(labels[i] - c) < 0.0001f)
                votes[static_cast<size_t>(c)] -= 1.0;
    int best = 0;
    for (int c = 1; c < classNum; ++c)
        if (votes[static_cast<size_t>(c)] < votes[static_cast<size_t>(best)])
            best = c;
    return best;
}

namespace {

// Neighbour counts up to this are selected without allocating.
const int kSmallK = 15;

// The labels of the k smallest distances into outLabels, when no distance
// ties across the k-th place. The vote only counts labels, so then it is the
// same as after the full sort; with a tie the sort's own order decides, and
// the caller sorts. d and l hold k + 1 entries.
bool smallestK(const float* dist, const float* labels, int n, int k, float* d, float* l, float* outLabels)
{
    // The first k + 1 in order of distance, equal ones in index order.
    int held = 0;
    int i = 0;
    for (; i < n && held < k + 1; ++i) {
        int at = held++;
        while (at > 0 && d[at - 1] > dist[i]) {
            d[at] = d[at - 1];
            l[at] = l[at - 1];
            --at;
        }
        d[at] = dist[i];
        l[at] = labels[i];
    }
    if (held < k + 1)
        return false;
    // Then only a distance below the largest held one gets in: almost none
    // do, so the scan is a comparison with a value kept in a register.
    float largest = d[k];
    for (; i < n; ++i) {
        const float v = dist[i];
        if (!(v < largest))
            continue;
        int at = k;
        while (at > 0 && d[at - 1] > v) {
            d[at] = d[at - 1];
            l[at] = l[at - 1];
            --at;
        }
        d[at] = v;
        l[at] = labels[i];
        largest = d[k];
    }
    // A value equal to the k-th but not kept would also tie; the strict test
    // above keeps the first k+1 in order, so equality shows in d[k].
    if (d[k - 1] == d[k])
        return false;
    std::copy(l, l + k, outLabels);
    return true;
}

} // namespace

int KOV_KNearestNeighbors(float** rows, int n, int cols, int classNum, int k)
{
    if (n < 1 || cols < 3 || k < 1)
        return 0;
    if (!KOV_FeatureMapping(rows, n, cols))
        return 0;
    std::vector<float> dist(static_cast<size_t>(n)), labels(static_cast<size_t>(n));
    KOV_AbstractDistance(rows, n, cols, dist.data());
    for (int r = 0; r < n; ++r)
        labels[static_cast<size_t>(r)] = rows[r][0];
    return KOV_VoteNearest(dist.data(), labels.data(), n, k, classNum);
}

int KOV_VoteNearest(float* dist, float* labels, int n, int k, int classNum)
{
    if (n > k && k >= 1) {
        float small[3][kSmallK + 1];
        std::vector<float> large;
        float* d = small[0];
        float* l = small[1];
        float* nearest = small[2];
        if (k > kSmallK) {
            large.resize(3 * static_cast<size_t>(k + 1));
            d = large.data();
            l = d + k + 1;
            nearest = l + k + 1;
        }
        if (smallestK(dist, labels, n, k, d, l, nearest))
            return KOV_KNNPredict(nearest, k, classNum);
    }
    KOV_QSort(dist, labels, 0, n - 1);
    return KOV_KNNPredict(labels, k < n ? k : n, classNum);
}
