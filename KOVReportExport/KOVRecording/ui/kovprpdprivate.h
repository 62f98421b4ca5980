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
    // Built at the first stretch fed: its buffers take 4 MB, and most pages
    // (pictures, gas reports, pages not shown yet) never feed it. Kept from
    // then on, as its noise floor and filter state carry over.
    std::unique_ptr<KOVPddPulseCapture> m_pddCap;
    KOVPddPulseCapture& capture()
    {
        if (!m_pddCap)
            m_pddCap.reset(new KOVPddPulseCapture(KOVPddPulseCapture::Pdd50Hz));
        return *m_pddCap;
    }
    // Channel 0 of the loaded audio, kept as 16-bit samples (half the size of
    // floats); each stretch fed to the capture is converted (x 1/32767) into
    // m_feed first.
    QVector<short> m_channel0;
    QVector<float> m_feed;
    QList<PddBuffer> m_pddList;
};

#endif // KOVPRPDPRIVATE_H
