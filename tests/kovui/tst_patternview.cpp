// The partial-discharge pattern view fed generated recordings (bursts locked
// to phases of the 50 Hz period), on its own and on review pages: what it
// feeds the capture, what it announces through the hub, and which page takes
// the pattern, the waveform slice and the audio. The audio buffer and its
// analysis window fed synthetic audio: the slice of each frame, the spectrum
// and cursor that follow playback, the clip cut, the axes' clamps, the
// window's view kept while its page is put away, audio longer than a
// container holds refused. The spectrogram's columns: tst_spectrogram.
#include "kovaudiotiming.h"
#include "kovgen.h"
#include "kovinformation.h"
#include "kovmessagebox.h"
#include "kovmsg.h"
#include "kovprpd.h"
#include "kovreadaudio.h"
#include "kovshowwavform.h"
#include "kovsmoothgraph.h"
#include "kovwaveform.h"
#include "kovwavheader.h"
#include "pagetesthelp.h"
#include "kovtable.h"

#include <QLabel>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include <sys/mman.h>

using namespace PageTest;

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

class TestPatternView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_itemDir;
    QString m_otherDir; // another recording as long as m_itemDir's
    QList<QMetaObject::Connection> m_conns;
    struct // what the hub carried, copied during the emission
    {
        QVector<short> audio;
        int audioFrames = -1;
        QStringList frameRates, types;
        QList<QPixmap> pictures;
        int start = -1, count = -1, emitted = 0; // the last waveform slice
        float first = 0;
        double max = 0;
    } m_log;

    bool writeWav(const QString& file, const KOVGen::WavOptions& w)
    {
        return QDir().mkpath(QFileInfo(m_dir.filePath(file)).path()) && KOVGen::writeWav(m_dir.filePath(file), w);
    }

private slots:
    void initTestCase()
    {
        KOVGen::WavOptions w;
        w.content = KOVGen::AudioContent::PdBursts;
        w.seconds = 3.0;
        w.seed = 5;
        KOVGen::WavOptions silent; // sorts after the first file: never read
        silent.content = KOVGen::AudioContent::Silence;
        KOVGen::WavOptions tiny = w;
        tiny.seconds = 500 / 96000.0;
        QVERIFY(writeWav(QStringLiteral("pd/wav/B.wav"), w) && writeWav(QStringLiteral("pd/wav/c.wav"), silent));
        QVERIFY(writeWav(QStringLiteral("tiny/wav/a.wav"), tiny));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("nowav/wav"))));
        // Three channels, channel 0 a ramp that names each sample.
        QVector<qint16> three(3 * 4096, 7);
        for (int i = 0; i < 4096; ++i)
            three[3 * i] = qint16(i - 2048);
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("three/wav"))));
        QFile f(m_dir.filePath(QStringLiteral("three/wav/a.wav")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(KOVGen::wavBytes(three, 3, 96000)) > 0 && f.flush());

        m_itemDir = writePdVideo(m_dir.filePath(QStringLiteral("item")), QStringLiteral("VID_pd.mp4"), 40, 5) + '/';
        QVERIFY(m_itemDir.size() > 1);
        m_otherDir = writePdVideo(m_dir.filePath(QStringLiteral("other")), QStringLiteral("VID_pd2.mp4"), 40, 9) + '/';
        QVERIFY(m_otherDir.size() > 1);
        KOVInformation::Instance()->setFileNameList({ QStringLiteral("VID_pd.mp4"), QStringLiteral("VID_pd2.mp4") });
        KOVInformation::Instance()->setFilePathList(
            { m_itemDir + QStringLiteral("VID_pd.mp4"), m_otherDir + QStringLiteral("VID_pd2.mp4") });
    }
    void init()
    {
        m_log = {};
        KOVInformation::Instance()->setPDDLen(240);
        KOVMsg* hub = KOVMsg::Instance();
        m_conns << connect(hub, &KOVMsg::sigAudioData, this,
            [this](short* data, int len) { m_log.audio = QVector<short>(data, data + qMax(m_log.audioFrames = len, 0) * 1024); },
            Qt::DirectConnection);
        m_conns << connect(hub, &KOVMsg::sigClipWaveInfo, this,
            [this](int start, int len, float* data, double max) {
                m_log.start = start; m_log.count = len; m_log.first = data[start]; m_log.max = max; ++m_log.emitted;
            },
            Qt::DirectConnection);
        m_conns << connect(hub, &KOVMsg::sigFrameRate, this, [this](QString r) { m_log.frameRates << r; });
        m_conns << connect(hub, &KOVMsg::sigPRPDImg, this, [this](QPixmap p, QString t) { m_log.pictures << p, m_log.types << t; });
    }
    void cleanup()
    {
        for (const auto& c : qAsConst(m_conns))
            disconnect(c);
        m_conns.clear();
    }

    void loading_data()
    {
        KOVTable::columns<QString, int, int, int, QString>({"folder", "reportType", "pddLen", "frames", "rate"});
        QTest::newRow("electrical page") << "pd" << 1 << 240 << 281 << "20ms/50Hz";
        QTest::newRow("gas page: no label") << "pd" << 0 << 240 << 281 << "";
        QTest::newRow("more bins than held") << "pd" << 1 << 300 << 281 << "16.7ms/60Hz";
        QTest::newRow("no frame of audio") << "tiny" << 1 << 240 << 0 << "20ms/50Hz";
        QTest::newRow("no wav file") << "nowav" << 1 << 240 << -1 << "";
    }
    void loading()
    {
        QFETCH(QString, folder);
        QFETCH(int, reportType);
        QFETCH(int, pddLen);
        QFETCH(int, frames);
        QFETCH(QString, rate);
        KOVInformation::Instance()->setPDDLen(pddLen);
        KOVPRPD view;
        view.setPDDPath(m_dir.filePath(folder) + QStringLiteral("/wav/"), reportType);
        QCOMPARE(m_log.audioFrames, frames);
        QCOMPARE(m_log.frameRates, rate.isEmpty() ? QStringList() : QStringList { rate });
        // A second of playback; more bins than held must read nothing past
        // the buffers (the sanitizer build), no audio frame must stop it.
        for (int i = 0; i <= 25; ++i)
            view.showPDD(KOVAudioTiming::frameTime(i));
        const bool active = frames > 0 && reportType != 0;
        QVERIFY(view.getPDDState() == active && m_log.pictures.isEmpty() == !active);
        if (active) {
            QCOMPARE(view.requestedTo(), 96000);
            QCOMPARE(m_log.pictures.last().size(), QSize(530, 220));
            QCOMPARE(view.typeText(), m_log.types.last());
        }
    }

    void feedFollowsPlayback()
    {
        KOVPRPD view;
        view.setPDDPath(m_dir.filePath(QStringLiteral("pd/wav/")), 1);
        view.showPDD(KOVAudioTiming::frameTime(1));
        // Two seconds of playback: 100 periods, the list keeps the last 15.
        for (int i = 2; i <= 50; ++i)
            view.showPDD(KOVAudioTiming::frameTime(i));
        QCOMPARE(view.periodCount(), 15);
        const int fed = view.fedTo();
        view.showPDD(10.0f); // beyond the audio: nothing changes
        QCOMPARE(view.fedTo(), fed);
        // Replay from the start: the list stays, feeding starts at sample 0.
        const int periods = view.periodCount();
        view.replayVideo();
        QVERIFY(view.fedTo() == 0 && view.periodCount() == periods);
        view.showPDD(KOVAudioTiming::frameTime(1));
        QCOMPARE(view.fedTo(), 3840);
        // Cleared: idle until the next load.
        view.clearPDD();
        m_log.pictures.clear();
        view.showPDD(KOVAudioTiming::frameTime(2));
        QVERIFY(view.fedTo() == 3840 && m_log.pictures.isEmpty());
    }

    void otherChannelCountsReadChannelZero()
    {
        KOVPRPD view;
        view.setPDDPath(m_dir.filePath(QStringLiteral("three/wav/")), 1);
        QCOMPARE(m_log.audioFrames, 4);
        for (int i = 0; i < 4096; i += 511)
            QCOMPARE(int(m_log.audio[i]), i - 2048);
        QCOMPARE(int(view.audioData()[4095]), 2047); // kept for a page hidden when announced
    }

    // The pattern and its class reach the visible electrical page through the
    // hub; a hidden page takes nothing; a gas page gets its waveform only.
    void pageOnShow_data()
    {
        KOVTable::columns<int>({"reportType"});
        QTest::newRow("electrical page") << 1;
        QTest::newRow("gas page") << 0;
    }
    void pageOnShow()
    {
        QFETCH(int, reportType);
        KOVVideoImg hidden;
        hidden.isReportWin(false, -1);
        KOVVideoImg page;
        open(page, reportType);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.showItem(0, m_itemDir);
        click(&page, QStringLiteral("PB_nextFrame"), 10);
        QVERIFY(page.waveForm()->hasAudio() && !hidden.waveForm()->hasAudio());
        QVERIFY(child<QLabel>(&hidden, QStringLiteral("imgPRPD"))->pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(child<QCustomPlot>(&hidden, QStringLiteral("graphWaveform"))->graphCount(), 0);
        QVERIFY(m_log.pictures.isEmpty() == (reportType == 0) && m_log.frameRates.isEmpty() == (reportType == 0));
        if (reportType == 0)
            return;
        QCOMPARE(child<QLabel>(&page, QStringLiteral("imgPRPDFramerate"))->text(), QStringLiteral("20ms/50Hz"));
        const QLabel* pattern = child<QLabel>(&page, QStringLiteral("imgPRPD"));
        QCOMPARE(pattern->pixmap(Qt::ReturnByValue).size(), pattern->size());
        // The slice of frame 10, drawn smooth; the spectrum window follows.
        QCustomPlot* plot = child<QCustomPlot>(&page, QStringLiteral("graphWaveform"));
        auto* slice = qobject_cast<KOVSmoothGraph*>(plot->graph(0));
        QVERIFY(slice && slice->smooth());
        QCOMPARE(slice->data()->size(), 3840);
        QCOMPARE(slice->data()->at(0)->key, KOVAudioTiming::sampleAt(KOVAudioTiming::frameTime(10)) / 96000.0);
        QVERIFY(qFuzzyCompare(page.waveForm()->window()->cursorTime(), 11 * 0.04));
        // Closing the item: no spectrum or slice of it stays.
        page.closeFile(true);
        QVERIFY(!page.waveForm()->hasAudio() && plot->graphCount() == 0);
    }
    void sliceOfEachFrame_data()
    {
        // cleared: after the audio came
        KOVTable::columns<int, bool, int, int, int>({"frames", "cleared", "videoFrame", "start", "count"});
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
        QTEST(m_log.start, "start");
        QTEST(m_log.count, "count");
        if (m_log.emitted) {
            QCOMPARE(m_log.first, float(pcm[m_log.start]) * 3.051851e-5f);
            QCOMPARE(float(m_log.max), 32768 / 32767.0f);
        } else if (cleared) {
            QCOMPARE(wf.window()->fftPlot()->plottableCount() + wf.window()->waveformPlot()->plottableCount(), 0);
        }
    }

    void spectrumAndCursorFollowTheFrame_data()
    {
        // row: of the spectrogram; -1: none
        KOVTable::columns<int, int, double, double>({"frame", "row", "cursor", "amplitude"});
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
            QCOMPARE(w->colorMap()->dataRange(), QCPRange(-120, 0));
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

    // A page put away with its window closed lets the window go with its
    // audio. Shown again, the same audio's window comes back at the size,
    // place, tab and zoom it was left at; another item's (as long) keeps the
    // size, place and tab but shows all of its audio.
    void windowViewKeptWhilePageAway_data()
    {
        KOVTable::columns<bool>({"otherItem"});
        QTest::newRow("same item shown again: as left") << false;
        QTest::newRow("another item of the same length: all of it") << true;
    }
    void windowViewKeptWhilePageAway()
    {
        QFETCH(bool, otherItem);
        QTabWidget tabs;
        KOVVideoImg* page = pageBesideAnother(tabs);
        QVERIFY(page);
        open(*page, 1, 0, m_itemDir);
        click(page, QStringLiteral("PB_nextFrame"), 5);
        KOVWaveForm* wf = page->waveForm();
        const int length = wf->length();
        wf->setWavPlotVisible(true);
        QPointer<KOVShowWavform> w = wf->window();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const KOVWavformView full = w->view();
        w->setGeometry(60, 70, 720, 480);
        child<QTabWidget>(w, QStringLiteral("tabWidget"))->setCurrentIndex(2);
        w->waveformPlot()->xAxis->setRange(0.2, 0.5);
        w->waveformPlot()->yAxis->setRange(-0.3, 0.3);
        w->fftPlot()->xAxis->setRange(1000, 20000);
        w->spectrogramPlot()->xAxis->setRange(0.3, 0.9);
        w->spectrogramPlot()->yAxis->setRange(5, 30);
        const KOVWavformView left = w->view();
        const QRect place = w->geometry();
        wf->setWavPlotVisible(false);

        tabs.setCurrentIndex(1);
        QVERIFY(!wf->hasAudio() && w.isNull()); // the window went with the audio
        tabs.setCurrentIndex(0);
        QVERIFY(wf->hasAudio());
        if (otherItem) {
            page->showItem(1, m_otherDir);
            QCOMPARE(wf->length(), length);
        }
        wf->setWavPlotVisible(true);
        KOVShowWavform* again = wf->window();
        QVERIFY(QTest::qWaitForWindowExposed(again));
        QCOMPARE(again->geometry(), place);
        QCOMPARE(child<QTabWidget>(again, QStringLiteral("tabWidget"))->currentIndex(), 2);
        const KOVWavformView now = again->view();
        const KOVWavformView& want = otherItem ? full : left;
        QCOMPARE(now.waveTime, want.waveTime);
        QCOMPARE(now.waveValue, otherItem ? QCPRange(-double(wf->maxValue()), double(wf->maxValue())) : left.waveValue);
        QCOMPARE(now.spectrumFrequency, want.spectrumFrequency);
        QCOMPARE(now.mapTime, want.mapTime);
        QCOMPARE(now.mapFrequency, want.mapFrequency);
        // The map and the envelope are of the ranges shown: the map's
        // columns, one a frame, hold frames 28..84 shown, or every frame.
        // (Its key range is of the outer columns' centres.)
        const double frame = 1024 / 96000.0;
        const QCPColorMapData* map = again->colorMap()->data();
        const double first = map->keyRange().lower / frame - 0.5;
        const double last = map->keyRange().upper / frame + 0.5;
        QVERIFY(std::fabs(last - first - map->keySize()) < 1e-6);
        if (otherItem)
            QVERIFY(std::fabs(first) < 1e-6 && std::fabs(last - again->rowCount()) < 1e-6);
        else
            QVERIFY2(first < 28 + 1e-6 && last > 85 - 1e-6,
                qPrintable(QStringLiteral("frames %1..%2 of %3").arg(first).arg(last).arg(again->rowCount())));
        QCOMPARE(again->waveformPlot()->graph(0)->data()->at(0)->key, otherItem ? 0.0 : 19199 / 96000.0);
        wf->setWavPlotVisible(false);
    }

    void clipCut_data()
    {
        KOVTable::columns<float, float, int, int>({"start", "end", "first", "count"});
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
        QFile clip(path); // mono at the recording's 96 kHz
        QVERIFY(clip.open(QIODevice::ReadOnly) && clip.seek(22));
        QCOMPARE(clip.read(6), QByteArray::fromHex("010000770100"));
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

    // Audio longer than a container holds (2 GiB of float samples, about 93
    // minutes at 96 kHz) is refused with a message, nothing aborts. No such
    // file is written: a sparse file's header claims the length.
    void tooLongAudioRefused()
    {
        QStringList asked;
        KOVMessageBox::s_answer = [&asked](QMessageBox::Icon, const QString&, const QString& text, const QStringList&) {
            asked << text; return 0;
        };
        QVERIFY(QDir().mkpath(m_dir.filePath("long/wav")));
        const quint32 bytes = quint32(KOVReadAudio::kMaxFrames + 1) * 2048; // mono, one frame too many
        QFile file(m_dir.filePath("long/wav/long.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(KOVWavHeader::build(1, 96000, bytes)) == 44);
        QVERIFY(file.resize(44 + qint64(bytes)));
        file.close();
        KOVPRPD view;
        view.setPDDPath(m_dir.filePath("long/wav/"), 1);
        view.showPDD(1.0f);
        KOVMessageBox::s_answer = nullptr;
        QVERIFY(!view.hasAudio() && !view.audioData());
        QCOMPARE(view.frameCount() + view.periodCount(), 0);
        QVERIFY2(asked.size() == 1 && asked.first().contains("93") && asked.first().endsWith(file.fileName()),
                 qPrintable(asked.join('\n')));
    }

    // The audio buffer and its window, handed more than a load gives, hold
    // nothing and read none of it (zero pages reserving nothing).
    void holdersRefuseCount_data()
    {
        KOVTable::columns<int>({"frames"});
        QTest::newRow("one frame past the limit") << KOVReadAudio::kMaxFrames + 1;
        QTest::newRow("samples past the int range") << (1 << 21);
        QTest::newRow("largest count") << std::numeric_limits<int>::max();
    }
    void holdersRefuseCount()
    {
        QFETCH(int, frames);
        const size_t size = size_t(KOVReadAudio::kMaxFrames + 1) * 1024 * sizeof(float);
        void* zeros = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        QVERIFY(zeros != MAP_FAILED);
        KOVWaveForm buffer;
        buffer.slotAudioData(static_cast<short*>(zeros), frames);
        QCOMPARE(buffer.length() + buffer.window()->dataCount(), 0);
        KOVShowWavform window;
        window.setXAxisRange(frames * 1024.0);
        window.setData(static_cast<float*>(zeros));
        QCOMPARE(window.dataCount() + window.rowCount(), 0);
        munmap(zeros, size);
    }
};

QTEST_MAIN(TestPatternView)
#include "tst_patternview.moc"
