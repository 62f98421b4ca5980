#ifndef KOVWAVEFORM_H
#define KOVWAVEFORM_H

#include <QString>
#include <QVector>

#include <memory>

class KOVShowWavform;
struct KOVWavformView;

// The audio of the item on one review page, as floats (16-bit sample x
// 1/32767), and the page's waveform window. It hands the whole signal to the
// window when the audio arrives, the 40 ms slice of each shown video frame to
// the page through the hub, moves the window's cursor and spectrum with
// playback, and cuts a clip's audio into a WAV file. Not a QObject: the page
// calls it.
class KOVWaveForm
{
public:
    KOVWaveForm();
    ~KOVWaveForm();
    KOVWaveForm(const KOVWaveForm&) = delete;
    KOVWaveForm& operator=(const KOVWaveForm&) = delete;

    // frames x 1024 samples of one channel; copied during the call.
    void slotAudioData(short* data, int frames);
    // Emits the hub's sigClipWaveInfo for the slice starting at time; the
    // pointer is valid during the emission (receivers copy what they draw).
    void paintWavForm(float time);
    void setFFTIndex(int frame);
    void clearWavform();
    bool getWavPlotVisible() const;
    void setWavPlotVisible(bool visible);
    // The samples between the two times (seconds) as a 96 kHz mono WAV file;
    // a range reaching past the loaded audio is cut at its end.
    void cutoutAudio(QString path, float start, float end);

    bool hasAudio() const { return m_flag; }
    int length() const { return m_dataLen; }
    float maxValue() const { return m_max; }
    const float* samples() const { return m_data.constData(); }
    // Made at its first use, with the audio and frame given so far.
    KOVShowWavform* window() const;
    // A closed window goes with its plots' data; the next use makes it again,
    // at the size, place and tab it had.
    void releaseWindow();
    // Lets the samples and a closed window go. The window's zoom comes back
    // with the same audio; a new item's audio (after clearWavform) shows all.
    void releaseAudio();

private:
    void applyKeptZoom() const;

    bool m_flag = false;
    QVector<float> m_data;
    int m_dataLen = 0;
    float m_max = 0.0f;
    // Most pages never open their window: three plots each, made only when
    // needed. m_frame is the frame setFFTIndex() last gave, if m_framed.
    mutable KOVShowWavform* m_showWavPlot = nullptr;
    int m_frame = 0;
    bool m_framed = false;
    // A let-go window's view, a few hundred bytes, until a window is made
    // again; its ranges count only while m_keptFor (the length of the audio
    // they belong to) is not -1, and are applied once that audio is drawn.
    mutable std::unique_ptr<KOVWavformView> m_kept;
    mutable int m_keptFor = -1;
};

#endif // KOVWAVEFORM_H
