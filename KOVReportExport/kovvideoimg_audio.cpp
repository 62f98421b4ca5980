// Waveform plot of the shown frame and the partial-discharge pattern label.
// Hub slots act only on the visible page: every review page receives every
// hub signal.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovaxisrules.h"
#include "kovprpd.h"
#include "kovsmoothgraph.h"
#include "kovvideotime.h"
#include "kovwaveform.h"

void KOVVideoImg::clearAudioInfo()
{
    m_prpdType.clear();
    m_prpdImg = QPixmap();
    m_prpdPicture = QPixmap();
    ui->imgPRPD->clear();
    ui->imgPRPDFramerate->clear();
    m_initAudio = true;
    m_audioDir.clear();
    m_prpd->clearPDD();
    m_wavfrom->clearWavform();
    ui->graphWaveform->clearGraphs();
    ui->graphWaveform->replot(QCustomPlot::rpQueuedReplot);
}

void KOVVideoImg::slotPaintWaveGraph(int startIndex, int len, float* data, double max)
{
    if (!isVisible() || !data || startIndex < 0 || len <= 0)
        return;
    m_pointInfo.wavform = true;
    QCustomPlot* plot = ui->graphWaveform;
    if (plot->graphCount() != 1) {
        plot->clearGraphs();
        auto* graph = new KOVSmoothGraph(plot->xAxis, plot->yAxis);
        graph->setPen(QPen(QColor(0, 110, 0)));
        graph->setSmooth(true);
    }
    QVector<double> x(len);
    QVector<double> y(len);
    for (int i = 0; i < len; ++i) {
        x[i] = (startIndex + i) / 96000.0;
        y[i] = double(data[startIndex + i]);
    }
    plot->xAxis->setRange(x.first(), x.last());
    if (max != m_max_wavform) {
        m_max_wavform = max;
        plot->yAxis->setRange(-max, max);
    }
    plot->graph(0)->setData(x, y, false);
    plot->replot(QCustomPlot::rpRefreshHint);
}

void KOVVideoImg::slotXAxisRange_wavform(const QCPRange& range)
{
    // The view may zoom into the shown frame's 40 ms but not beyond it.
    const KOVAxisRules::Range r
        = KOVAxisRules::sliceTime({ range.lower, range.upper }, double(m_videoImgIndex) * 0.04);
    if (r.lower != range.lower || r.upper != range.upper)
        ui->graphWaveform->xAxis->setRange(r.lower, r.upper);
}

void KOVVideoImg::slotYAxisRange_wavform(const QCPRange& range)
{
    const KOVAxisRules::Range r = KOVAxisRules::sliceValue({ range.lower, range.upper }, m_max_wavform);
    if (r.lower != range.lower || r.upper != range.upper)
        ui->graphWaveform->yAxis->setRange(r.lower, r.upper);
}

void KOVVideoImg::slotWaveformReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    if (m_pointInfo.wavform && !m_wavfrom->getWavPlotVisible())
        m_wavfrom->setWavPlotVisible(true);
    else if (m_wavfrom->getWavPlotVisible())
        m_wavfrom->setWavPlotVisible(false);
}

void KOVVideoImg::slotAudioData(short* data, int dataNum)
{
    if (!isVisible())
        return;
    m_wavfrom->slotAudioData(data, dataNum);
    m_pointInfo.wavform = true;
}

void KOVVideoImg::slotPRPDPixmap(QPixmap pixmap, QString prpdType)
{
    if (!isVisible())
        return;
    m_prpdImg = pixmap.scaled(ui->imgPRPD->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    ui->imgPRPD->setPixmap(m_prpdImg);
    m_prpdType = prpdType;
    // Shared with the pattern view's own copy while that one stands.
    m_prpdPicture = pixmap;
}

void KOVVideoImg::slotPRPDFrameRate(QString framerate)
{
    if (!isVisible())
        return;
    ui->imgPRPDFramerate->setText(framerate);
}

void KOVVideoImg::slotHasWavform()
{
}
