#ifndef KOVPRPDPRIVATE_H
#define KOVPRPDPRIVATE_H

#include "kovpddpattern.h"
#include "kovpddpulsecapture.h"
#include "kovreadaudio.h"

#include <QList>
#include <QVector>

#include <memory>

class KOVPRPDPrivate
{
public:
    std::unique_ptr<KOVReadAudio> m_readAudio { new KOVReadAudio };
    std::unique_ptr<KOVPddPulseCapture> m_pddCap { new KOVPddPulseCapture(KOVPddPulseCapture::Pdd50Hz) };
    // Channel 0 of the loaded audio, kept as 16-bit samples (half the size of
    // floats); each stretch fed to the capture is converted (x 1/32767) into
    // m_feed first.
    QVector<short> m_channel0;
    QVector<float> m_feed;
    QList<PddBuffer> m_pddList;
};

#endif // KOVPRPDPRIVATE_H
