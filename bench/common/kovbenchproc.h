#pragma once
// Memory figures of this process from /proc/self/status, in kB: "VmHWM:" is
// the peak resident size so far, "VmRSS:" the resident size now. -1 when the
// line is missing (not Linux, or /proc not mounted).
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
