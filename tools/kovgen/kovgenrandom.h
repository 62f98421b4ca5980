#ifndef KOVGENRANDOM_H
#define KOVGENRANDOM_H

#include <QtGlobal>

// SplitMix64: small, fast and the same on every platform and library version,
// which std::rand and the std distributions are not. Fixtures depend on it
// byte for byte, so its arithmetic must never change.
class KOVGenRandom
{
public:
    explicit KOVGenRandom(quint64 seed) : m_state(seed) {}

    // A generator for a sub-stream (an item, a channel) that does not shift
    // when other streams draw more or fewer numbers.
    KOVGenRandom fork(quint64 salt) const;

    quint64 next();
    // [0, 1) with 53 bits.
    double uniform();
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // [lo, hi] inclusive.
    int range(int lo, int hi);
    // Approximately normal, mean 0, deviation 1 (sum of twelve uniforms).
    double gauss();

private:
    quint64 m_state;
};

#endif // KOVGENRANDOM_H
