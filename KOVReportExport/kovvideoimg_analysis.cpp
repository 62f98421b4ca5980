// The item's audio on the review page: loading it into the pattern view and
// the audio buffer, and moving both with the shown frame.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovaudiotiming.h"
#include "kovprpd.h"
#include "kovwaveform.h"


void KOVVideoImg::updateAudioRecording(QString dirPath)
{
    m_wavfrom->clearWavform();
    // The pattern view announces the audio through the hub; the visible page
    // (this one) hands it to its audio buffer.
    if (isVisible())
        loadAudio(dirPath, true);
    else
        deferAudio(dirPath);
}

void KOVVideoImg::followFrame(int index)
{
    const float t = KOVAudioTiming::frameTime(index);
    m_prpd->showPDD(t);
    m_wavfrom->paintWavForm(t);
    if (!m_initAudio)
        m_wavfrom->setFFTIndex(index);
}

void KOVVideoImg::showEvent(QShowEvent* event)
{
    setUpdatesEnabled(true);
    QWidget::showEvent(event);
    restoreImage();
    const bool loaded = loadShown();
    // A page that loaded its video while hidden missed the hub's audio, and
    // without it has no waveform and could cut no clip audio. Taken straight
    // from its own pattern view: through the hub, another visible page would
    // take it too.
    if (m_pointInfo.type == ItemType::video && m_prpd->hasAudio() && !m_wavfrom->hasAudio()) {
        m_wavfrom->slotAudioData(const_cast<short*>(m_prpd->audioData()), m_prpd->frameCount());
        m_pointInfo.wavform = true;
    }
    // The pattern and the waveform slice catch up with the frame on show.
    // A pattern the page showed before its audio was let go stays until the
    // next frame: fed again from a reload it may come out otherwise.
    if (loaded) {
        const QPixmap pattern = m_prpdImg;
        const QPixmap picture = m_prpdPicture;
        const QString type = m_prpdType;
        followFrame(m_videoImgIndex);
        if (!pattern.isNull()) {
            m_prpdImg = pattern;
            m_prpdPicture = picture;
            m_prpdType = type;
            ui->imgPRPD->setPixmap(pattern);
        }
    }
}
