#include "kovgenrandom.h"

KOVGenRandom KOVGenRandom::fork(quint64 salt) const
{
    KOVGenRandom r(m_state ^ (salt * 0xD1B54A32D192ED03ULL + 0x8CB92BA72F3D8DD7ULL));
    r.next();
    return r;
}

quint64 KOVGenRandom::next()
{
    quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double KOVGenRandom::uniform()
{
    return double(next() >> 11) * (1.0 / 9007199254740992.0);
}

int KOVGenRandom::range(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    const quint64 span = quint64(qint64(hi) - qint64(lo) + 1);
    return int(qint64(lo) + qint64(next() % span));
}

double KOVGenRandom::gauss()
{
    double s = 0;
    for (int i = 0; i < 12; ++i)
        s += uniform();
    return s - 6.0;
}
