// The audio buffer and its analysis window fed synthetic audio: the slice of
// each frame, the spectrum and cursor that follow playback, the clip cut, the
// spectrogram, the axes' clamps and the window's state after clearing.
#include "kovaudiotiming.h"
#include "kovmsg.h"
#include "kovreadaudio.h"
#include "kovshowwavform.h"
#include "kovsmoothgraph.h"
#include "kovwaveform.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// frames x 1024 samples of a sine; a tone per frame (bin + step * frame) lets
// a spectrum row name the frame it came from.
QVector<short> sine(int frames, double bin, double amplitude, double step = 0)
{
    QVector<short> x(frames * 1024);
    for (int i = 0; i < x.size(); ++i)
        x[i] = short(amplitude * std::sin(2 * M_PI * (bin + step * (i / 1024)) * (i % 1024) / 1024.0));
    return x;
}

// Hands whole frames of pcm to the buffer; returns them.
QVector<short> feed(KOVWaveForm& wf, QVector<short> pcm)
{
    wf.slotAudioData(pcm.data(), pcm.size() / 1024);
    return pcm;
}

} // namespace

class TestWaveformWindow : public QObject
{
    Q_OBJECT

    struct
    {
        int start, count, emitted;
        float first;
        double max;
    } m_slice;
    QMetaObject::Connection m_conn;

private slots:
    void init()
    {
        m_slice = { -1, -1, 0, 0, 0 };
        m_conn = connect(KOVMsg::Instance(), &KOVMsg::sigClipWaveInfo, this,
            [this](int start, int len, float* data, double max) {
                m_slice = { start, len, m_slice.emitted + 1, data[start], max };
            },
            Qt::DirectConnection);
    }
    void cleanup() { disconnect(m_conn); }

    void sliceOfEachFrame_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<bool>("cleared"); // after the audio came
        QTest::addColumn<int>("videoFrame");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::newRow("frame 5 at 19199") << 30 << false << 5 << 19199 << 3840;
        QTest::newRow("negative frame as 0") << 10 << false << -3 << 0 << 3840;
        QTest::newRow("last, partial") << 10 << false << 2 << 7680 << 2560;
        QTest::newRow("beyond the audio") << 10 << false << 3 << -1 << -1;
        QTest::newRow("no audio frames") << 0 << false << 0 << -1 << -1;
        QTest::newRow("cleared: nothing of the old audio") << 8 << true << 0 << -1 << -1;
    }
    void sliceOfEachFrame()
    {
        QFETCH(int, frames);
        QFETCH(bool, cleared);
        QFETCH(int, videoFrame);
        KOVWaveForm wf;
        QVector<short> pcm = sine(frames, 100, 16000);
        if (frames)
            pcm[7] = -32768; // the loudest sample, below zero
        feed(wf, pcm);
        if (cleared)
            wf.clearWavform();
        wf.paintWavForm(KOVAudioTiming::frameTime(videoFrame));
        if (cleared)
            wf.setFFTIndex(videoFrame);
        QTEST(m_slice.start, "start");
        QTEST(m_slice.count, "count");
        if (m_slice.emitted) {
            QCOMPARE(m_slice.first, float(pcm[m_slice.start]) * 3.051851e-5f);
            QCOMPARE(float(m_slice.max), 32768 / 32767.0f);
        } else if (cleared) {
            QCOMPARE(wf.window()->fftPlot()->plottableCount(), 0);
            QCOMPARE(wf.window()->waveformPlot()->plottableCount(), 0);
        }
    }

    void spectrumAndCursorFollowTheFrame_data()
    {
        QTest::addColumn<int>("frame");
        QTest::addColumn<int>("row"); // of the spectrogram; -1: none
        QTest::addColumn<double>("cursor");
        QTest::addColumn<double>("amplitude");
        QTest::newRow("frame 1: row 3") << 1 << 3 << 0.08 << 32767.0;
        QTest::newRow("frame 3: row 11") << 3 << 11 << 0.16 << 32767.0;
        QTest::newRow("negative frame as 0") << -2 << 0 << 0.04 << 32767.0;
        QTest::newRow("beyond the rows: none") << 40 << -1 << 1.64 << 32767.0;
        QTest::newRow("silence: a finite axis") << 0 << 0 << 0.04 << 0.0;
    }
    void spectrumAndCursorFollowTheFrame()
    {
        QFETCH(int, frame);
        QFETCH(int, row);
        QFETCH(double, cursor);
        QFETCH(double, amplitude);
        KOVWaveForm wf;
        feed(wf, sine(20, 10, amplitude, 5)); // row r peaks at bin 10 + 5r
        wf.setFFTIndex(frame);
        KOVShowWavform* w = wf.window();
        QVERIFY(qFuzzyCompare(w->cursorTime(), cursor));
        if (amplitude == 0) {
            QCOMPARE(w->fftPlot()->yAxis->range(), QCPRange(-120, 0));
            QCOMPARE(w->colorMap()->data()->cell(2, 100), -120.0); // the spectrogram's floor
            return;
        }
        auto* spectrum = w->fftPlot()->graphCount() ? qobject_cast<KOVSmoothGraph*>(w->fftPlot()->graph(0)) : nullptr;
        if (row < 0) {
            QVERIFY(!spectrum || spectrum->data()->isEmpty());
            return;
        }
        QVERIFY(spectrum && spectrum->smooth() && spectrum->data()->size() == 512);
        const auto peak = std::max_element(spectrum->data()->constBegin(), spectrum->data()->constEnd(),
            [](const QCPGraphData& a, const QCPGraphData& b) { return a.value < b.value; });
        QCOMPARE(peak->key, (10 + 5 * row) * 93.75);
        QVERIFY(std::fabs(peak->value - 96.3) < 0.1);
        // The cursor spans the value axis at the frame's end, and follows it.
        QCPGraph* line = w->waveformPlot()->graph(1);
        QCOMPARE(line->data()->at(0)->key, cursor);
        w->waveformPlot()->yAxis->setRange(-0.2, 0.1);
        QCOMPARE(line->data()->at(1)->value, w->waveformPlot()->yAxis->range().upper);
    }

    // The clamps' values are tst_analysis' table; here, that each axis
    // goes through its clamp, ticks in UTC, and saved ranges come back clamped.
    void axesStayInBounds()
    {
        KOVWaveForm wf;
        const QVector<short> pcm = feed(wf, sine(94, 100, 8000)); // about one second
        QCustomPlot* p = wf.window()->waveformPlot();
        const double end = 94 * 1024 / 96000.0;
        QCOMPARE(p->xAxis->range(), QCPRange(0, (94 * 1024 - 1) / 96000.0));
        p->yAxis->setRange(-20000, 5000);
        QCOMPARE(p->yAxis->range(), QCPRange(-10000, 10000));
        p->xAxis->setRange(end - 0.1, end + 0.1); // a drag past the end keeps the span
        QVERIFY(qFuzzyCompare(p->xAxis->range().size(), 0.2));
        QCOMPARE(p->xAxis->range().upper, end);
        p->xAxis->setRange(0.3, 0.3045);
        auto ticker = p->xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
        QVERIFY(ticker && ticker->dateTimeSpec() == Qt::UTC && ticker->dateTimeFormat() == QLatin1String("mm:ss.zzz"));
        // Zoomed in, the graph shows each sample of the range.
        QCOMPARE(p->graph(0)->data()->at(1)->value, double(float(pcm[28800]) * 3.051851e-5f));
        QJsonObject saved;
        wf.window()->saveData(saved);
        p->xAxis->setRange(0.1, 0.9);
        saved.insert(QStringLiteral("yAxisL"), -30000.0);
        wf.window()->restoreData(saved);
        QCOMPARE(p->xAxis->range(), QCPRange(0.3, 0.3045));
        QCOMPARE(p->yAxis->range(), QCPRange(-10000, 10000));
        wf.window()->fftPlot()->xAxis->setRange(40000, 50000);
        QCOMPARE(wf.window()->fftPlot()->xAxis->range(), QCPRange(38000, 48000));
    }

    void clipCut_data()
    {
        QTest::addColumn<float>("start");
        QTest::addColumn<float>("end");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::newRow("one frame, from -32768") << 0.04f << 0.08f << 3840 << 3840;
        QTest::newRow("end past the audio") << 0.08f << 5.0f << 7680 << 10240 - 7680;
        QTest::newRow("wholly past") << 1.0f << 2.0f << 10240 << 0;
    }
    void clipCut()
    {
        QFETCH(float, start);
        QFETCH(float, end);
        QFETCH(int, first);
        QFETCH(int, count);
        QVector<short> pcm(10240);
        for (int i = 0; i < pcm.size(); ++i)
            pcm[i] = i == 3840 ? -32768 : short((i * 37) % 65536 - 32768);
        KOVWaveForm wf;
        feed(wf, pcm);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.wav"));
        wf.cutoutAudio(path, start, end);
        QCOMPARE(QFileInfo(path).size(), 44 + 2 * qint64(count));
        if (count == 0)
            return;
        KOVReadAudio back;
        QVERIFY(back.initAudioData(path));
        const short* s = back.getAudioData();
        for (int i = 0; i < count; i += 97) // float and back may lower a magnitude by one
            QVERIFY2(qAbs(s[i] - pcm[first + i]) <= 1, qPrintable(QStringLiteral("%1: %2").arg(i).arg(s[i])));
        if (first == 3840)
            QCOMPARE(int(s[0]), -32768);
    }

    void overlapReadsOnlyTheCopy()
    {
        KOVWaveForm wf;
        feed(wf, QVector<short>(2 * 1024, 0));
        QVector<float> data(2 * 1024, 1.0f);
        // k past a frame would read past the copy (the sanitizer build reports
        // it); clamped to one frame, every sample gets its neighbour frame's.
        wf.window()->overlapSample(data.data(), 5000);
        for (int i : { 0, 1023, 1024, 2047 })
            QCOMPARE(data[i], 2.0f);
    }
};

QTEST_MAIN(TestWaveformWindow)
#include "tst_waveformwindow.moc"
