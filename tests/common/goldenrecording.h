#ifndef GOLDENRECORDING_H
#define GOLDENRECORDING_H

// The one generated recording the signal-path goldens are made from: four
// seconds of discharge bursts at 90 and 270 degrees of 50 Hz mains over a
// noise floor, written as the generator writes the demo's audio and read back
// by the item audio loader, scaled to +-1.

#include "kovgen.h"
#include "kovreadaudio.h"

#include <QTemporaryDir>

#include <vector>

namespace KOVGoldenRecording {

// quiet: the same length of its noise floor alone, far below the bursts.
// Empty when the file cannot be written or read.
inline std::vector<float> samples(bool quiet = false)
{
    KOVGen::WavOptions o;
    o.content = quiet ? KOVGen::AudioContent::Noise : KOVGen::AudioContent::PdBursts;
    o.seconds = 4.0;
    o.amplitude = quiet ? 0.0002 : 0.4;
    o.seed = 2024;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("recording.wav"));
    KOVReadAudio audio;
    if (!KOVGen::writeWav(path, o) || !audio.initAudioData(path) || audio.getAudioChannels() != 1)
        return {};
    const short* pcm = audio.getAudioData();
    std::vector<float> x(static_cast<size_t>(audio.getFrameCnt()) * 1024);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<float>(pcm[i]) / 32768.0f;
    return x;
}

} // namespace KOVGoldenRecording

#endif // GOLDENRECORDING_H
