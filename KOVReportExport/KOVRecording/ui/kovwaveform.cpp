#include "kovwaveform.h"

#include "kovaudiosave.h"
#include "kovaudiotiming.h"
#include "kovmsg.h"
#include "kovreadaudio.h"
#include "kovshowwavform.h"

#include <algorithm>
#include <cmath>

KOVWaveForm::KOVWaveForm() = default;

void KOVWaveForm::applyKeptZoom() const
{
    if (m_kept && m_keptFor > 0 && m_keptFor == m_dataLen)
        m_showWavPlot->setZoom(*m_kept);
    // Once: from now on the window holds all it would keep.
    m_keptFor = -1;
    m_kept.reset();
}

KOVShowWavform* KOVWaveForm::window() const
{
    if (m_showWavPlot)
        return m_showWavPlot;
    m_showWavPlot = new KOVShowWavform(nullptr);
    m_showWavPlot->hide();
    if (m_kept)
        m_showWavPlot->setPlace(*m_kept);
    // As it would be had it followed every call since the audio arrived.
    if (m_flag) {
        m_showWavPlot->setXAxisRange(m_dataLen);
        m_showWavPlot->setYAxisRange(m_dataLen > 0 ? m_max : 0);
        m_showWavPlot->setData(const_cast<float*>(m_data.constData()));
        if (m_framed) {
            m_showWavPlot->replotFFT();
            m_showWavPlot->paintTimePos(KOVAudioTiming::cursorTime(m_frame));
            m_showWavPlot->paintFFTGraph(KOVAudioTiming::spectrumIndex(m_frame));
        }
        if (m_dataLen > 0)
            applyKeptZoom();
    }
    // Kept on only while a zoom waits for its audio.
    if (m_keptFor < 0)
        m_kept.reset();
    return m_showWavPlot;
}

KOVWaveForm::~KOVWaveForm()
{
    // The window holds a view of the samples: it goes first.
    delete m_showWavPlot;
}

void KOVWaveForm::releaseWindow()
{
    if (m_showWavPlot && !m_showWavPlot->isVisible()) {
        const KOVWavformView now = m_showWavPlot->view();
        if (!m_kept)
            m_kept.reset(new KOVWavformView(now));
        m_kept->geometry = now.geometry;
        m_kept->tab = now.tab;
        delete m_showWavPlot;
        m_showWavPlot = nullptr;
    }
}

void KOVWaveForm::releaseAudio()
{
    // Before the samples go: letting them go resets the window's ranges. A
    // window that never drew this audio leaves a zoom kept before as it is
    // (releaseWindow takes its place and tab).
    if (m_showWavPlot && m_showWavPlot->dataCount() > 0) {
        m_kept.reset(new KOVWavformView(m_showWavPlot->view()));
        m_keptFor = m_dataLen;
    }
    const int keptFor = m_keptFor;
    slotAudioData(nullptr, 0); // frees the samples
    clearWavform();
    m_keptFor = keptFor;
    releaseWindow();
}

void KOVWaveForm::slotAudioData(short* data, int frames)
{
    m_flag = true;
    m_framed = false;
    // More than a load gives would not fit one container: held as none.
    const int len = data && frames > 0 && frames <= KOVReadAudio::kMaxFrames ? frames * 1024 : 0;
    // Drops the window's view of the old samples before they are replaced.
    if (m_showWavPlot)
        m_showWavPlot->setXAxisRange(len);
    m_data.clear();
    m_data.squeeze();
    m_dataLen = len;
    m_data.resize(len);
    if (len < 1) {
        m_max = 0.0f;
        if (m_showWavPlot) {
            m_showWavPlot->setYAxisRange(0);
            m_showWavPlot->setData(m_data.data());
        }
        return;
    }
    float max = 0.0f;
    float* out = m_data.data();
    for (int i = 0; i < len; ++i) {
        out[i] = float(data[i]) * 3.051851e-5f;
        max = std::max(max, std::fabs(out[i]));
    }
    m_max = max;
    if (m_showWavPlot) {
        m_showWavPlot->setYAxisRange(m_max);
        m_showWavPlot->setData(out);
        applyKeptZoom();
    }
}

void KOVWaveForm::paintWavForm(float time)
{
    if (!m_flag)
        return;
    const KOVAudioTiming::Slice s = KOVAudioTiming::slice(time, m_dataLen);
    if (!s.valid)
        return;
    emit KOVMsg::Instance()->sigClipWaveInfo(s.start, s.count, m_data.data(), double(m_max));
}

void KOVWaveForm::setFFTIndex(int frame)
{
    // Without audio the window would show the previous item's spectrum.
    if (!m_flag)
        return;
    m_frame = frame;
    m_framed = true;
    if (!m_showWavPlot)
        return;
    m_showWavPlot->replotFFT();
    m_showWavPlot->paintTimePos(KOVAudioTiming::cursorTime(frame));
    m_showWavPlot->paintFFTGraph(KOVAudioTiming::spectrumIndex(frame));
}

void KOVWaveForm::clearWavform()
{
    if (m_showWavPlot)
        m_showWavPlot->clearCurve();
    m_flag = false;
    m_framed = false;
    // Another item follows, or none: its audio starts at full range.
    m_keptFor = -1;
}

bool KOVWaveForm::getWavPlotVisible() const
{
    return m_showWavPlot && m_showWavPlot->isVisible();
}

void KOVWaveForm::setWavPlotVisible(bool visible)
{
    if (visible || m_showWavPlot)
        window()->setVisible(visible);
}

void KOVWaveForm::cutoutAudio(QString path, float start, float end)
{
    const KOVAudioTiming::Span span = KOVAudioTiming::clipSpan(start, end, m_dataLen);
    QVector<short> clip(span.count);
    const float* src = m_data.constData() + span.first;
    for (int i = 0; i < span.count; ++i)
        clip[i] = short(src[i] * 32767.0f);
    KOVAudioSave writer(path, 1, 96000, false);
    writer.write(clip.constData(), nullptr, span.count);
}
