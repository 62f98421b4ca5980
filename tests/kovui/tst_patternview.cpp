// The partial-discharge pattern view fed generated recordings (bursts locked
// to phases of the 50 Hz period), on its own and on review pages: what it
// feeds the capture, what it announces through the hub, and which page takes
// the pattern, the waveform slice and the audio.
#include "kovaudiotiming.h"
#include "kovgen.h"
#include "kovinformation.h"
#include "kovmsg.h"
#include "kovprpd.h"
#include "kovshowwavform.h"
#include "kovsmoothgraph.h"
#include "kovvideoimg.h"
#include "kovwaveform.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kClassTexts = { QStringLiteral("电晕，尖端放电"), QStringLiteral("沿面放电、悬浮放电"),
    QStringLiteral("自由金属放电"), QStringLiteral("未检测到放电") };

// What the hub carried, copied during the emission.
struct HubLog
{
    QVector<short> audio;
    int audioFrames = -1;
    QStringList frameRates;
    QStringList types;
    QList<QPixmap> pictures;
};

} // namespace

class TestPatternView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        KOVGen::WavOptions w;
        w.content = KOVGen::AudioContent::PdBursts;
        w.seconds = 3.0;
        w.seed = 5;
        QVERIFY(KOVGen::writeWav(m_dir.filePath(QStringLiteral("pd/wav/B.wav")), w) || mkWav(QStringLiteral("pd"), w));
        // A second file sorting after it is never read.
        KOVGen::WavOptions silent;
        silent.content = KOVGen::AudioContent::Silence;
        QVERIFY(KOVGen::writeWav(m_dir.filePath(QStringLiteral("pd/wav/c.wav")), silent));
        KOVGen::WavOptions tiny = w;
        tiny.seconds = 500 / 96000.0;
        QVERIFY(mkWav(QStringLiteral("tiny"), tiny));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("nowav/wav"))));

        // Three channels, channel 0 a ramp that names each sample.
        QVector<qint16> three(3 * 4096);
        for (int i = 0; i < 4096; ++i) {
            three[3 * i] = qint16(i - 2048);
            three[3 * i + 1] = 7;
            three[3 * i + 2] = -7;
        }
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("three/wav"))));
        QFile f(m_dir.filePath(QStringLiteral("three/wav/a.wav")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(KOVGen::wavBytes(three, 3, 96000));
        f.close();

        // A video item of the electrical kind with its recording.
        KOVGen::ItemOptions o;
        o.dir = m_dir.filePath(QStringLiteral("item"));
        o.fileName = QStringLiteral("VID_pd.mp4");
        o.kind = KOVGen::ItemKind::Video;
        o.frames = 40;
        o.label = KOVGen::electricalLabel(3);
        o.withAudio = true;
        o.audio = w;
        o.audio.seconds = 0; // as long as the video and a little more
        QVERIFY(KOVGen::writeItem(o));
        KOVInformation::Instance()->setFileNameList({ o.fileName });
        KOVInformation::Instance()->setFilePathList({ o.dir + QLatin1Char('/') + o.fileName });
        m_itemDir = o.dir + QLatin1Char('/');
    }

    void init()
    {
        m_log = HubLog();
        KOVInformation::Instance()->setPDDLen(240);
        KOVMsg* hub = KOVMsg::Instance();
        m_conns << connect(hub, &KOVMsg::sigAudioData, this,
            [this](short* data, int len) {
                m_log.audioFrames = len;
                m_log.audio = QVector<short>(data, data + qMax(len, 0) * 1024);
            },
            Qt::DirectConnection);
        m_conns << connect(hub, &KOVMsg::sigFrameRate, this, [this](QString r) { m_log.frameRates << r; });
        m_conns << connect(hub, &KOVMsg::sigPRPDImg, this, [this](QPixmap p, QString t) {
            m_log.pictures << p;
            m_log.types << t;
        });
    }
    void cleanup()
    {
        for (const auto& c : m_conns)
            disconnect(c);
        m_conns.clear();
    }

    void loading_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("reportType");
        QTest::addColumn<int>("pddLen");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("rate");
        QTest::newRow("browse page") << "pd" << -1 << 240 << 281 << "20ms/50Hz";
        QTest::newRow("electrical page") << "pd" << 1 << 240 << 281 << "20ms/50Hz";
        QTest::newRow("gas page: no label") << "pd" << 0 << 240 << 281 << "";
        QTest::newRow("60 Hz bin count") << "pd" << 1 << 200 << 281 << "16.7ms/60Hz";
        QTest::newRow("more bins than held") << "pd" << 1 << 300 << 281 << "16.7ms/60Hz";
        QTest::newRow("no frame of audio") << "tiny" << 1 << 240 << 0 << "20ms/50Hz";
        QTest::newRow("no wav file") << "nowav" << 1 << 240 << -1 << "";
        QTest::newRow("no folder") << "missing" << 1 << 240 << -1 << "";
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
        QCOMPARE(view.hasAudio(), frames >= 0);
        QCOMPARE(m_log.audioFrames, frames);
        QCOMPARE(m_log.frameRates, rate.isEmpty() ? QStringList() : QStringList { rate });
        if (frames >= 0)
            QCOMPARE(view.binCount(), pddLen);

        // Stepping a second of playback.
        for (int i = 0; i <= 25; ++i)
            view.showPDD(KOVAudioTiming::frameTime(i));
        const bool active = frames > 0 && reportType != 0;
        QCOMPARE(view.getPDDState(), active);
        QCOMPARE(!m_log.pictures.isEmpty(), active);
        if (active) {
            QCOMPARE(view.requestedTo(), 96000);
            QVERIFY(view.periodCount() > 0 && view.periodCount() <= 15);
            QCOMPARE(m_log.pictures.last().size(), QSize(530, 220));
            QVERIFY2(kClassTexts.contains(m_log.types.last()), qPrintable(m_log.types.last()));
            QCOMPARE(view.typeText(), m_log.types.last());
            QCOMPARE(view.getPDDImg().size(), QSize(530, 220));
        }
    }

    void feedFollowsPlayback()
    {
        KOVPRPD view;
        view.setPDDPath(m_dir.filePath(QStringLiteral("pd/wav/")), 1);
        QCOMPARE(view.fedTo(), 0);
        view.showPDD(KOVAudioTiming::frameTime(1));
        QCOMPARE(view.fedTo(), 3840);
        view.showPDD(KOVAudioTiming::frameTime(2));
        QCOMPARE(view.fedTo(), 7680);
        for (int i = 3; i <= 5; ++i)
            view.showPDD(KOVAudioTiming::frameTime(i));
        QCOMPARE(view.fedTo(), 19199);
        // Two seconds of playback: 100 periods, the list keeps the last 15.
        for (int i = 6; i <= 50; ++i)
            view.showPDD(KOVAudioTiming::frameTime(i));
        QCOMPARE(view.periodCount(), 15);
        const QImage before = view.getPDDImg();
        // The same time again recomputes the last window from scratch: the
        // pattern of those periods comes back.
        view.showPDD(KOVAudioTiming::frameTime(50));
        QCOMPARE(view.fedTo(), KOVAudioTiming::sampleAt(KOVAudioTiming::frameTime(50)));
        QVERIFY(view.periodCount() >= 13 && view.periodCount() <= 15);
        QVERIFY(!before.isNull());
        // Beyond the audio: nothing changes.
        const int fed = view.fedTo();
        view.showPDD(10.0f);
        QCOMPARE(view.fedTo(), fed);
        // Replay from the start: the list stays, feeding starts at sample 0.
        const int periods = view.periodCount();
        view.replayVideo();
        QCOMPARE(view.fedTo(), 0);
        QCOMPARE(view.periodCount(), periods);
        view.showPDD(KOVAudioTiming::frameTime(1));
        QCOMPARE(view.fedTo(), 3840);
        // Cleared: idle until the next load.
        view.clearPDD();
        m_log.pictures.clear();
        view.showPDD(KOVAudioTiming::frameTime(2));
        QCOMPARE(view.fedTo(), 3840);
        QVERIFY(m_log.pictures.isEmpty());
    }

    void otherChannelCountsReadChannelZero()
    {
        KOVPRPD view;
        view.setPDDPath(m_dir.filePath(QStringLiteral("three/wav/")), 1);
        QCOMPARE(m_log.audioFrames, 4);
        QCOMPARE(m_log.audio.size(), 4096);
        for (int i = 0; i < 4096; i += 511)
            QCOMPARE(int(m_log.audio[i]), i - 2048);
        // Kept for a page that was hidden when they were announced.
        QCOMPARE(int(view.audioData()[4095]), 2047);
    }

    void visiblePageTakesPatternAndSlice()
    {
        KOVVideoImg page;
        page.isReportWin(true, 1);
        page.slotUpdateItemList();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        KOVVideoImg hidden;
        hidden.isReportWin(false, -1);
        page.showItem(0, m_itemDir);
        QCOMPARE(m_log.frameRates, QStringList { QStringLiteral("20ms/50Hz") });
        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("imgPRPDFramerate"))->text(), QStringLiteral("20ms/50Hz"));
        QVERIFY(page.waveForm()->hasAudio());
        QVERIFY(page.pointInfo().wavform);
        QPushButton* next = page.findChild<QPushButton*>(QStringLiteral("PB_nextFrame"));
        for (int i = 0; i < 10; ++i)
            next->click();
        QCOMPARE(page.currentFrameIndex(), 10);
        QVERIFY(!m_log.pictures.isEmpty());
        QVERIFY(kClassTexts.contains(m_log.types.last()));
        const QLabel* pattern = page.findChild<QLabel*>(QStringLiteral("imgPRPD"));
        QVERIFY(!pattern->pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(pattern->pixmap(Qt::ReturnByValue).size(), pattern->size());
        // The slice of frame 10, drawn smooth.
        QCustomPlot* plot = page.findChild<QCustomPlot*>(QStringLiteral("graphWaveform"));
        QCOMPARE(plot->graphCount(), 1);
        auto* slice = qobject_cast<KOVSmoothGraph*>(plot->graph(0));
        QVERIFY(slice && slice->smooth());
        QCOMPARE(slice->data()->size(), 3840);
        QCOMPARE(slice->data()->at(0)->key, KOVAudioTiming::sampleAt(KOVAudioTiming::frameTime(10)) / 96000.0);
        // The spectrum window follows the frame.
        QVERIFY(qFuzzyCompare(page.waveForm()->window()->cursorTime(), 11 * 0.04));
        // The hidden page took none of it.
        QVERIFY(!hidden.waveForm()->hasAudio());
        const QLabel* other = hidden.findChild<QLabel*>(QStringLiteral("imgPRPD"));
        QVERIFY(other->pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(hidden.findChild<QCustomPlot*>(QStringLiteral("graphWaveform"))->graphCount(), 0);

        // A release over the slice opens the analysis window; the next closes it.
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        emit plot->mouseRelease(&release);
        QVERIFY(page.waveForm()->getWavPlotVisible());
        emit plot->mouseRelease(&release);
        QVERIFY(!page.waveForm()->getWavPlotVisible());

        // Closing the item: no spectrum or slice of it stays.
        page.closeFile(true);
        QVERIFY(!page.waveForm()->hasAudio());
        QCOMPARE(plot->graphCount(), 0);
    }

    void gasPageEmitsNoPattern()
    {
        KOVVideoImg page;
        page.isReportWin(true, 0);
        page.slotUpdateItemList();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.showItem(0, m_itemDir);
        QPushButton* next = page.findChild<QPushButton*>(QStringLiteral("PB_nextFrame"));
        for (int i = 0; i < 10; ++i)
            next->click();
        QVERIFY(m_log.pictures.isEmpty());
        QVERIFY(m_log.frameRates.isEmpty());
        // Its waveform still comes.
        QVERIFY(page.waveForm()->hasAudio());
    }

    void pageLoadedWhileHiddenGetsItsAudioWhenShown()
    {
        KOVVideoImg page;
        page.isReportWin(true, 1);
        page.slotUpdateItemList();
        page.showItem(0, m_itemDir);
        QVERIFY(!page.waveForm()->hasAudio());
        // Another visible page keeps its own audio meanwhile.
        KOVVideoImg other;
        other.show();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.waveForm()->hasAudio());
        QVERIFY(!other.waveForm()->hasAudio());
        QCOMPARE(page.waveForm()->length(), page.patternView()->frameCount() * 1024);
        // So a clip's audio can be cut.
        const QString clip = m_dir.filePath(QStringLiteral("clip.wav"));
        page.waveForm()->cutoutAudio(clip, 0.04f, 0.08f);
        QCOMPARE(QFileInfo(clip).size(), 44 + 2 * 3840);
    }

private:
    bool mkWav(const QString& folder, const KOVGen::WavOptions& w)
    {
        return QDir().mkpath(m_dir.filePath(folder + QStringLiteral("/wav")))
            && KOVGen::writeWav(m_dir.filePath(folder + QStringLiteral("/wav/a.wav")), w);
    }

    QTemporaryDir m_dir;
    QString m_itemDir;
    HubLog m_log;
    QList<QMetaObject::Connection> m_conns;
};

QTEST_MAIN(TestPatternView)
#include "tst_patternview.moc"
