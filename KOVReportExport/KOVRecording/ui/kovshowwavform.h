#ifndef KOVSHOWWAVFORM_H
#define KOVSHOWWAVFORM_H

#include "kovmaplevels.h"
#include "kovspectrum.h"

#include <QByteArray>
#include <QJsonObject>
#include <QVector>
#include <QWidget>

#include <optional>

#include <qcustomplot.h>

class KOVSmoothGraph;
class Ui_KOVShowWavform;

// What a closed window keeps of itself while it and its page's audio are let
// go: its size and place, the tab on show and the ranges of the plots' axes.
struct KOVWavformView
{
    QByteArray geometry;
    int tab = 0;
    QCPRange waveTime, waveValue, spectrumFrequency, spectrumLevel, mapTime, mapFrequency;
};

// The analysis window of one review page's audio: the whole waveform with a
// cursor at the shown video frame, the spectrum of the 1024-sample frame that
// belongs to it, and the spectrogram of the recording. All spectra are
// computed once when the audio arrives; stepping through the video only picks
// a row.
//
// The plots get what a screen can show: the waveform an envelope of the
// visible time range (rebuilt when zoomed or dragged), the spectrogram a
// column per frame while kMapColumns frames or fewer are visible, else
// columns of 2, 4, 8 ... frames, each over exactly its frames' time. The
// colour map holds the visible columns and as many again around them, so a
// drag or zoom within those redraws without making the map anew
// (KOVMapLevels). Plots are redrawn only while the window is shown, and
// brought up to date when it is shown again.
//
// setData keeps a view of the samples to rebuild the envelope; the audio
// buffer that owns them keeps them until it calls setXAxisRange (new audio)
// or clearCurve, which drop the view. Implementation: kovshowwavform.cpp
// (construction, loading, state), kovshowwavform_plots.cpp (drawing, axes).
class KOVShowWavform : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMapColumns = 2048;
    static constexpr int kEnvelopeBuckets = 2048;

    explicit KOVShowWavform(QWidget* parent = nullptr);
    ~KOVShowWavform() override;

    void setXAxisRange(double n);
    void setYAxisRange(double max);
    void setData(float* samples);
    void replotFFT();
    void paintTimePos(double t);
    void paintFFTGraph(int k);
    void clearCurve();

    void saveData(QJsonObject& obj);
    void restoreData(QJsonObject& obj);
    void overlapSample(float* data, int k);

    // What the window shows now, to be kept while it is let go.
    KOVWavformView view() const;
    // Size, place and tab. The ranges go with setZoom once the audio is
    // drawn: drawing it shows all of it.
    void setPlace(const KOVWavformView& v);
    void setZoom(const KOVWavformView& v);

    // Read-only views for tests and measurements.
    QCustomPlot* waveformPlot() const { return m_wavform; }
    QCustomPlot* fftPlot() const { return m_fft; }
    QCustomPlot* spectrogramPlot() const { return m_spectrogram; }
    QCPColorMap* colorMap() const { return m_colormap; }
    int rowCount() const { return m_preFftCnt; }
    const float* fftRow(int r) const;
    double cursorTime() const { return m_curTime; }
    int dataCount() const { return m_dataNum; }

public slots:
    void slotYAxisRange_wavform(QCPRange range);
    void slotXAxisRange_wavform(QCPRange range);
    void slotYAxisRange_fft(QCPRange range);
    void slotXAxisRange_fft(QCPRange range);
    void slotYAxisRange_spectrogram(QCPRange range);
    void slotXAxisRange_spectrogram(QCPRange range);
    void slotScreenDPIChanged(double dpiRate);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // kovshowwavform_plots.cpp
    void calculateFFT(float* samples);
    void paintSpectrogram();
    void fillSpectrogram(double from, double to);
    void setTimeScaleplate(double t);
    void distinguishLabelCnt(double span);
    void fillEnvelope(double from, double to);
    void replotShown(QCustomPlot* plot);
    void catchUp();

    void refreshDPI();
    double audioSeconds() const { return m_dataNum / 96000.0; }

    Ui_KOVShowWavform* ui = nullptr;
    QCustomPlot* m_wavform = nullptr;
    QCustomPlot* m_fft = nullptr;
    QCustomPlot* m_spectrogram = nullptr;
    int m_dataNum = 0;
    // Rows of 512 dB values, one per 1024-sample frame, one after the other.
    QVector<float> m_allFftValue;
    int m_preFftCnt = 0;
    double m_curTime = 0.0;
    QCPColorMap* m_colormap = nullptr;
    // Pooled columns of the rows, and those the colour map holds now (none
    // until it is first filled, even with no columns).
    KOVMapLevels m_levels;
    std::optional<KOVMapLevels::Span> m_mapSpan;
    double m_preDpiRate = 1.0;

    KOVSpectrum m_spectrum;
    const float* m_samples = nullptr;
    KOVSmoothGraph* m_waveGraph = nullptr;
    KOVSmoothGraph* m_cursor = nullptr;
    KOVSmoothGraph* m_fftGraph = nullptr;
    // Plots changed while not on screen (window hidden or tab not current).
    QList<QCustomPlot*> m_stale;
};

#endif // KOVSHOWWAVFORM_H
