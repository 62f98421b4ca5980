#pragma once
// What the benchmarks share: figures of this process from /proc and the
// percentile of a run's samples.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// A line of /proc/self/status: "VmHWM:" the peak resident size so far and
// "VmRSS:" the resident size now (kB), "Threads:" the thread count. -1 when
// the line is missing (not Linux, or /proc not mounted).

inline long statusKb(const char* key)
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long v = -1;
    const size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, key, n) == 0) {
            v = std::strtol(line + n, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return v;
}

// The p-quantile (0..1) of the samples by rank, 0 for none.
inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[size_t(p * double(v.size() - 1))];
}
