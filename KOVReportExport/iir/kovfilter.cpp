#include "kovfilter.h"

#include <cmath>

class KOVFilterPrivate
{
public:
    IIRCoef_t m_filterCoef;
    float m_double_5 = 0.0f; // s1
    float m_double_6 = 0.0f; // s2
};

namespace {

const float kShortScale = 32767.0f;
const float kShortInv = 1.0f / 32767.0f;

float fromShort(short v)
{
    return static_cast<float>(v) * kShortInv;
}

// Truncates toward zero like the plain conversion, but a loud output clips at
// the rails instead of wrapping round to the opposite sign.
short toShort(float y)
{
    const float v = y * kShortScale;
    if (!(v > -32768.0f))
        return std::isnan(v) ? 0 : -32768;
    if (v >= 32767.0f)
        return 32767;
    return static_cast<short>(v);
}

// The section with its state in locals; In and Out convert at the edges.
template <typename In, typename Out, typename FromIn, typename ToOut>
void run(const IIRCoef_t& c, float& s1, float& s2, const In* in, Out* out, int n, FromIn from, ToOut to)
{
    float z1 = s1;
    float z2 = s2;
    for (int i = 0; i < n; ++i) {
        const float x = from(in[i]);
        const float y = c.b0 * x + z1;
        z1 = c.b1 * x - c.a1 * y + z2;
        z2 = c.b2 * x - c.a2 * y;
        out[i] = to(y);
    }
    s1 = z1;
    s2 = z2;
}

float same(float v)
{
    return v;
}

} // namespace

KOVFilter::KOVFilter(IIRCoef_t coef)
    : d(new KOVFilterPrivate)
{
    d->m_filterCoef = coef;
}

KOVFilter::~KOVFilter()
{
    delete d;
}

void KOVFilter::reset()
{
    d->m_double_5 = 0.0f;
    d->m_double_6 = 0.0f;
}

IIRCoef_t KOVFilter::coef() const
{
    return d->m_filterCoef;
}

void KOVFilter::state(float& s1, float& s2) const
{
    s1 = d->m_double_5;
    s2 = d->m_double_6;
}

void KOVFilter::setState(float s1, float s2)
{
    d->m_double_5 = s1;
    d->m_double_6 = s2;
}

void KOVFilter::filter(const float* in, float* out, int n)
{
    run(d->m_filterCoef, d->m_double_5, d->m_double_6, in, out, n, same, same);
}

void KOVFilter::filter(const short* in, short* out, int n)
{
    run(d->m_filterCoef, d->m_double_5, d->m_double_6, in, out, n, fromShort, toShort);
}

void KOVFilter::filter(const short* in, float* out, int n)
{
    run(d->m_filterCoef, d->m_double_5, d->m_double_6, in, out, n, fromShort, same);
}

void KOVFilter::filter(const float* in, short* out, int n)
{
    run(d->m_filterCoef, d->m_double_5, d->m_double_6, in, out, n, same, toShort);
}

void KOVFilter::cascade(KOVFilter& first, KOVFilter& second, float* data, int n)
{
    const IIRCoef_t c = first.d->m_filterCoef;
    const IIRCoef_t e = second.d->m_filterCoef;
    float p1 = first.d->m_double_5, p2 = first.d->m_double_6;
    float q1 = second.d->m_double_5, q2 = second.d->m_double_6;
    for (int i = 0; i < n; ++i) {
        const float x = data[i];
        const float y = c.b0 * x + p1;
        p1 = c.b1 * x - c.a1 * y + p2;
        p2 = c.b2 * x - c.a2 * y;
        const float z = e.b0 * y + q1;
        q1 = e.b1 * y - e.a1 * z + q2;
        q2 = e.b2 * y - e.a2 * z;
        data[i] = z;
    }
    first.d->m_double_5 = p1;
    first.d->m_double_6 = p2;
    second.d->m_double_5 = q1;
    second.d->m_double_6 = q2;
}
