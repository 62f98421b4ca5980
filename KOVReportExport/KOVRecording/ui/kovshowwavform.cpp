#include "kovshowwavform.h"
#include "ui_kovshowwavform.h"

#include "kovaxisrules.h"
#include "kovinformation.h"
#include "kovmsg.h"
#include "kovreadaudio.h"
#include "kovsmoothgraph.h"

#include <QIcon>

#include <algorithm>
#include <cstring>

KOVShowWavform::KOVShowWavform(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui_KOVShowWavform)
{
    ui->setupUi(this);
    // Tabs of a fixed width: a long English title is elided, not clipped.
    ui->tabWidget->setElideMode(Qt::ElideRight);
    setWindowTitle(tr("时域波形图"));
    setWindowIcon(QIcon(QStringLiteral("./OEM/icon.png")));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    // The high-pass row is not used.
    ui->label->hide();
    ui->lineEdit->hide();

    m_wavform = ui->widget_waveform;
    m_fft = ui->widget_FFT;
    m_spectrogram = ui->widget_spectrogram;
    for (QCustomPlot* p : { m_wavform, m_fft, m_spectrogram }) {
        p->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
        // The plots replot on their first resize, which for the tabs not yet
        // laid out would be to nothing (an unpaintable buffer).
        p->setMinimumSize(100, 100);
    }

    m_wavform->xAxis->setLabel(tr("时间/分:秒:毫秒"));
    connect(m_wavform->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &KOVShowWavform::slotYAxisRange_wavform);
    connect(m_wavform->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &KOVShowWavform::slotXAxisRange_wavform);

    m_fft->xAxis->setLabel(tr("频率/Hz"));
    m_fft->yAxis->setLabel(QStringLiteral("dB"));
    m_fft->xAxis->setRange(0, 48000);
    connect(m_fft->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &KOVShowWavform::slotYAxisRange_fft);
    connect(m_fft->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &KOVShowWavform::slotXAxisRange_fft);

    m_spectrogram->xAxis->setTickLabels(true);
    m_spectrogram->xAxis->setLabel(tr("时间/分:秒:毫秒"));
    m_spectrogram->yAxis->setRange(0, 48);
    m_spectrogram->yAxis->setLabel(tr("频率/kHz"));
    for (QCPAxis* a : { m_spectrogram->xAxis, m_spectrogram->yAxis }) {
        a->setTickPen(QPen(Qt::white));
        a->setSubTickPen(QPen(Qt::white));
    }
    connect(m_spectrogram->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &KOVShowWavform::slotYAxisRange_spectrogram);
    connect(m_spectrogram->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &KOVShowWavform::slotXAxisRange_spectrogram);

    connect(ui->tabWidget, &QTabWidget::currentChanged, this, [this]() { catchUp(); });
    connect(KOVMsg::Instance(), &KOVMsg::sigScreenDpiChanged, this, &KOVShowWavform::slotScreenDPIChanged);
    refreshDPI();
    // A window opened on a scaled screen gets the tab size that a later
    // change of scale would give it, or its titles stay at 96 dpi widths.
    if (m_preDpiRate != 1.0)
        slotScreenDPIChanged(m_preDpiRate);
}

KOVShowWavform::~KOVShowWavform()
{
    delete ui;
}

void KOVShowWavform::refreshDPI()
{
    const double rate = KOVInformation::Instance()->getScreenDPI() / 96.0;
    const double relative = rate / m_preDpiRate;
    m_preDpiRate = rate;
    KOVInformation::Instance()->changeObjectSize(*this, relative);
    resize(int(width() * relative), int(height() * relative));
}

void KOVShowWavform::slotScreenDPIChanged(double dpiRate)
{
    ui->tabWidget->setStyleSheet(QStringLiteral("QTabBar::tab {width: %1; height: %2;}")
                                     .arg(QString::number(150 * dpiRate, 'g', 6))
                                     .arg(QString::number(25 * dpiRate, 'g', 6)));
}

void KOVShowWavform::setXAxisRange(double n)
{
    // New audio: the view of the previous samples goes first, before the axis
    // changes below rebuild anything from it.
    m_samples = nullptr;
    // Nor is the previous map filled from the rows about to be replaced.
    m_colormap = nullptr;
    // Beyond what a load gives the spectra would not fit their container.
    m_dataNum = n > 0 && n <= KOVReadAudio::kMaxFrames * 1024.0 ? int(n) : 0;
    const double end = audioSeconds();
    m_wavform->xAxis->setRange(0, end);
    m_spectrogram->xAxis->setRange(0, end);
    m_preFftCnt = int(m_dataNum * 0.0009765625);
    m_allFftValue.clear();
    m_allFftValue.squeeze();
    m_allFftValue.resize(m_preFftCnt * KOVSpectrum::kBins);
    m_levels.reset(m_allFftValue.constData(), m_preFftCnt, KOVSpectrum::kBins);
}

void KOVShowWavform::setYAxisRange(double max)
{
    m_wavform->yAxis->setRange(-max, max);
}

void KOVShowWavform::setData(float* samples)
{
    if (m_dataNum < 1 || !samples)
        return;
    calculateFFT(samples);
    m_samples = samples;

    if (!m_waveGraph) {
        m_wavform->clearPlottables();
        m_cursor = nullptr;
        m_waveGraph = new KOVSmoothGraph(m_wavform->xAxis, m_wavform->yAxis);
        m_waveGraph->setSmooth(true);
    }
    fillEnvelope(0.0, audioSeconds());

    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeSpec(Qt::UTC);
    const double lastKey = (m_dataNum - 1) / 96000.0;
    ticker->setDateTimeFormat(lastKey < 11.0 ? QStringLiteral("mm:ss") : QStringLiteral("mm:ss.zzz"));
    ticker->setTickCount(12);
    m_wavform->xAxis->setTicker(ticker);
    m_wavform->xAxis->setTickLabelRotation(30);

    m_wavform->rescaleAxes(false);
    replotShown(m_wavform);

    paintFFTGraph(0);
    paintTimePos(0.0);
    paintSpectrogram();
}

void KOVShowWavform::clearCurve()
{
    m_samples = nullptr;
    m_waveGraph = nullptr;
    m_cursor = nullptr;
    m_fftGraph = nullptr;
    m_colormap = nullptr;
    for (QCustomPlot* p : { m_wavform, m_fft, m_spectrogram }) {
        p->clearPlottables();
        replotShown(p);
    }
}

const float* KOVShowWavform::fftRow(int r) const
{
    if (r < 0 || r >= m_preFftCnt)
        return nullptr;
    return m_allFftValue.constData() + qptrdiff(r) * KOVSpectrum::kBins;
}

void KOVShowWavform::saveData(QJsonObject& obj)
{
    obj.insert(QStringLiteral("xAxisL"), m_wavform->xAxis->range().lower);
    obj.insert(QStringLiteral("xAxisH"), m_wavform->xAxis->range().upper);
    obj.insert(QStringLiteral("yAxisL"), m_wavform->yAxis->range().lower);
    obj.insert(QStringLiteral("yAxisH"), m_wavform->yAxis->range().upper);
}

void KOVShowWavform::restoreData(QJsonObject& obj)
{
    // Through the axes, so the clamps of the range slots apply.
    m_wavform->xAxis->setRange(
        obj.value(QStringLiteral("xAxisL")).toDouble(), obj.value(QStringLiteral("xAxisH")).toDouble());
    m_wavform->yAxis->setRange(
        obj.value(QStringLiteral("yAxisL")).toDouble(), obj.value(QStringLiteral("yAxisH")).toDouble());
}

KOVWavformView KOVShowWavform::view() const
{
    KOVWavformView v;
    v.geometry = saveGeometry();
    v.tab = ui->tabWidget->currentIndex();
    v.waveTime = m_wavform->xAxis->range();
    v.waveValue = m_wavform->yAxis->range();
    v.spectrumFrequency = m_fft->xAxis->range();
    v.spectrumLevel = m_fft->yAxis->range();
    v.mapTime = m_spectrogram->xAxis->range();
    v.mapFrequency = m_spectrogram->yAxis->range();
    return v;
}

void KOVShowWavform::setPlace(const KOVWavformView& v)
{
    restoreGeometry(v.geometry);
    ui->tabWidget->setCurrentIndex(v.tab);
}

void KOVShowWavform::setZoom(const KOVWavformView& v)
{
    // Through the axes, so the clamps of the range slots apply and the
    // envelope and the colour map are rebuilt for the ranges.
    m_wavform->xAxis->setRange(v.waveTime);
    m_wavform->yAxis->setRange(v.waveValue);
    m_fft->xAxis->setRange(v.spectrumFrequency);
    m_fft->yAxis->setRange(v.spectrumLevel);
    m_spectrogram->xAxis->setRange(v.mapTime);
    m_spectrogram->yAxis->setRange(v.mapFrequency);
    for (QCustomPlot* p : { m_wavform, m_fft, m_spectrogram })
        replotShown(p);
}

void KOVShowWavform::overlapSample(float* data, int k)
{
    const int frame = KOVSpectrum::kFrame;
    const int n = m_preFftCnt * frame;
    if (!data || k <= 0 || n <= 0)
        return;
    // Within a frame only: the neighbour frames' samples never reach further
    // than one frame, so nothing is read outside the copy.
    k = std::min(k, frame);
    const QVector<float> copy(data, data + n);
    for (int r = 0; r < m_preFftCnt; ++r) {
        const int base = r * frame;
        if (r + 1 < m_preFftCnt)
            for (int i = frame - k; i < frame; ++i)
                data[base + i] += copy[base + i + k];
        if (r > 0)
            for (int i = 0; i < k; ++i)
                data[base + i] += copy[base + i - k];
    }
}

void KOVShowWavform::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    catchUp();
}
