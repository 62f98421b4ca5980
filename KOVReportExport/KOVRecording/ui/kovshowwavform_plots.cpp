// Drawing the analysis window's plots and keeping their axes in bounds.
#include "kovshowwavform.h"

#include "kovaxisrules.h"
#include "kovplotreduce.h"
#include "kovsmoothgraph.h"

#include <qcustomplot.h>

#include <algorithm>

namespace {

KOVAxisRules::Range toRange(const QCPRange& r)
{
    return { r.lower, r.upper };
}

// Sets the clamped range only when it differs, so the range-changed signal
// this raises finds a fixed point and stops.
void apply(QCPAxis* axis, const QCPRange& was, const KOVAxisRules::Range& r)
{
    if (r.lower != was.lower || r.upper != was.upper)
        axis->setRange(r.lower, r.upper);
}

} // namespace

void KOVShowWavform::replotShown(QCustomPlot* plot)
{
    // A plot not on screen is not drawn at all; it catches up when shown.
    if (plot->isVisible()) {
        m_stale.removeAll(plot);
        plot->replot(QCustomPlot::rpRefreshHint);
    } else if (!m_stale.contains(plot)) {
        m_stale.append(plot);
    }
}

void KOVShowWavform::catchUp()
{
    const QList<QCustomPlot*> stale = m_stale;
    for (QCustomPlot* p : stale)
        if (p->isVisible())
            replotShown(p);
}

void KOVShowWavform::calculateFFT(float* samples)
{
    m_spectrum.rows(samples, m_preFftCnt * KOVSpectrum::kFrame, m_allFftValue.data());
    // Levels pooled from the rows before they were computed are of nothing.
    m_levels.reset(m_allFftValue.constData(), m_preFftCnt, KOVSpectrum::kBins);
}

void KOVShowWavform::fillEnvelope(double from, double to)
{
    if (!m_waveGraph || !m_samples)
        return;
    QVector<double> keys;
    QVector<double> values;
    const int first = std::max(0, int(from * 96000.0));
    const int last = std::min(m_dataNum, int(to * 96000.0) + 1);
    KOVPlotReduce::envelope(m_samples, m_dataNum, first, last, kEnvelopeBuckets, keys, values);
    m_waveGraph->setData(keys, values, true);
}

void KOVShowWavform::replotFFT()
{
    if (m_fftGraph)
        m_fftGraph->data()->clear();
    replotShown(m_fft);
}

void KOVShowWavform::paintFFTGraph(int k)
{
    if (m_dataNum < 1 || k >= m_preFftCnt)
        return;
    const float* row = fftRow(k >= 1 ? k - 1 : 0);
    if (!row)
        return;
    QVector<QCPGraphData> points(KOVSpectrum::kBins);
    for (int j = 0; j < KOVSpectrum::kBins; ++j)
        points[j] = QCPGraphData(j * 48000.0 * (1.0 / 512), double(row[j]));
    m_fft->yAxis->setRange(KOVSpectrum::axisLow(row, KOVSpectrum::kBins), 0.0);
    if (!m_fftGraph) {
        m_fft->clearPlottables();
        m_fftGraph = new KOVSmoothGraph(m_fft->xAxis, m_fft->yAxis);
        m_fftGraph->setSmooth(true);
    }
    m_fftGraph->data()->set(points, true);
    replotShown(m_fft);
}

void KOVShowWavform::paintSpectrogram()
{
    // The previous map stays in the plot until the plot is cleared.
    m_colormap = new QCPColorMap(m_spectrogram->xAxis, m_spectrogram->yAxis);
    m_mapSpan.reset();
    // Each column drawn as one block over the time of its frames, not
    // blended into its neighbours.
    m_colormap->setInterpolate(false);
    m_colormap->setDataRange(QCPRange(-120, 0));
    QCPColorGradient gradient;
    gradient.clearColorStops();
    gradient.setColorStopAt(0.0, QColor(0, 0, 0, 255));
    gradient.setColorStopAt(1.0, QColor(255, 0, 255, 255));
    m_colormap->setGradient(gradient);
    // The whole audio first: the rescale below takes its extent from the map,
    // and when it leaves the range as it was no range change fills it.
    fillSpectrogram(0.0, audioSeconds());
    m_spectrogram->rescaleAxes(false);
    // The map's extent is the centres of its outer columns; the audio's time
    // reaches half a column further at both ends.
    m_spectrogram->xAxis->setRange(0.0, audioSeconds());
    replotShown(m_spectrogram);
}

void KOVShowWavform::fillSpectrogram(double from, double to)
{
    if (!m_colormap)
        return;
    const double rowSeconds = KOVSpectrum::kFrame / 96000.0;
    const KOVPlotReduce::RowSpan rows = KOVPlotReduce::rowsOfRange(from, to, rowSeconds, m_preFftCnt);
    const KOVMapLevels::Span span = m_levels.spanFor(rows, kMapColumns, m_mapSpan.value_or(KOVMapLevels::Span()));
    // A drag or zoom within the columns the map holds, or the re-entry of a
    // clamped range: the map and its colours stay as they are.
    if (m_mapSpan == span)
        return;
    m_mapSpan = span;
    QVector<float> cells;
    const int n = m_levels.columns(span, cells);
    // The colour map takes its key range as the centres of its outer cells.
    // A single column has no width that way: it is given as two halves.
    const double width = rowSeconds * double(1 << std::max(span.level, 0));
    const int columns = n == 1 ? 2 : n;
    const double cell = n == 1 ? width / 2 : width;
    const double start = span.first * width;
    QCPColorMapData* data = m_colormap->data();
    data->setSize(columns, KOVSpectrum::kBins);
    // No rows (less than a frame of audio): no cells, and no time either.
    const QCPRange keys = columns ? QCPRange(start + cell / 2, start + (columns - 0.5) * cell) : QCPRange(0, 0);
    data->setRange(keys, QCPRange(0, 48));
    // Bin by bin, so the map's cells (a bin's columns side by side) are
    // written in the order they lie.
    for (int j = 0; j < KOVSpectrum::kBins; ++j)
        for (int c = 0; c < columns; ++c)
            data->setCell(c, j, double(std::max(cells[qptrdiff(n == 1 ? 0 : c) * KOVSpectrum::kBins + j], -120.0f)));
}

void KOVShowWavform::paintTimePos(double t)
{
    if (!m_waveGraph)
        return;
    if (!m_cursor) {
        m_cursor = new KOVSmoothGraph(m_wavform->xAxis, m_wavform->yAxis);
        m_cursor->setPen(QPen(QColor(255, 0, 0, 255)));
    }
    setTimeScaleplate(t);
}

void KOVShowWavform::setTimeScaleplate(double t)
{
    m_curTime = t;
    const QCPRange v = m_wavform->yAxis->range();
    QVector<QCPGraphData> line = { QCPGraphData(t, v.lower), QCPGraphData(t, v.upper) };
    m_cursor->data()->set(line, true);
    replotShown(m_wavform);
}

void KOVShowWavform::distinguishLabelCnt(double span)
{
    const KOVAxisRules::Ticks rule = KOVAxisRules::timeTicks(span);
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    // Labels are times from the start, not clock times: no zone may shift them.
    ticker->setDateTimeSpec(Qt::UTC);
    ticker->setDateTimeFormat(rule.format);
    ticker->setTickCount(rule.count);
    m_wavform->xAxis->setTicker(ticker);
    m_wavform->xAxis->setTickLabelRotation(30);
}

void KOVShowWavform::slotXAxisRange_wavform(QCPRange range)
{
    const KOVAxisRules::Range r = KOVAxisRules::waveTime(toRange(range), audioSeconds());
    if (r != toRange(range)) {
        apply(m_wavform->xAxis, range, r);
        return; // the re-entry with the clamped range does the rest
    }
    distinguishLabelCnt(r.upper - r.lower);
    fillEnvelope(r.lower, r.upper);
}

void KOVShowWavform::slotYAxisRange_wavform(QCPRange range)
{
    const KOVAxisRules::Range r = KOVAxisRules::waveValue(toRange(range));
    if (r != toRange(range)) {
        apply(m_wavform->yAxis, range, r);
        return;
    }
    if (m_cursor)
        setTimeScaleplate(m_curTime);
}

void KOVShowWavform::slotYAxisRange_fft(QCPRange range)
{
    Q_UNUSED(range);
}

void KOVShowWavform::slotXAxisRange_fft(QCPRange range)
{
    apply(m_fft->xAxis, range, KOVAxisRules::spectrumFrequency(toRange(range)));
}

void KOVShowWavform::slotYAxisRange_spectrogram(QCPRange range)
{
    apply(m_spectrogram->yAxis, range, KOVAxisRules::spectrogramFrequency(toRange(range)));
}

void KOVShowWavform::slotXAxisRange_spectrogram(QCPRange range)
{
    const KOVAxisRules::Range r = KOVAxisRules::spectrogramTime(toRange(range), audioSeconds());
    if (r != toRange(range)) {
        apply(m_spectrogram->xAxis, range, r);
        return;
    }
    fillSpectrogram(r.lower, r.upper);
}
