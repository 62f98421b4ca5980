#ifndef GOLDENRECORDING_H
#define GOLDENRECORDING_H

// The one generated recording the signal-path goldens are made from: four
// seconds of discharge bursts at 90 and 270 degrees of 50 Hz mains over a
// noise floor, as the generator writes the demo's audio, scaled to +-1.


#include "kovgen.h"

#include <vector>

namespace KOVGoldenRecording {

// quiet: the same length of its noise floor alone, far below the bursts.
inline std::vector<float> samples(bool quiet = false)
{
    KOVGen::WavOptions o;
    o.content = quiet ? KOVGen::AudioContent::Noise : KOVGen::AudioContent::PdBursts;
    o.seconds = 4.0;
    o.amplitude = quiet ? 0.0002 : 0.4;
    o.seed = 2024;
    const QVector<qint16> pcm = KOVGen::makeSamples(o);
    std::vector<float> x(static_cast<size_t>(pcm.size()));
    for (int i = 0; i < pcm.size(); ++i)
        x[static_cast<size_t>(i)] = static_cast<float>(pcm[i]) / 32768.0f;
    return x;
}

} // namespace KOVGoldenRecording

#endif // GOLDENRECORDING_H
