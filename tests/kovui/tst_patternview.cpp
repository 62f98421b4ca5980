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
#include "kovwaveform.h"
#include "pagetesthelp.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace PageTest;

class TestPatternView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_itemDir;
    QList<QMetaObject::Connection> m_conns;
    struct // what the hub carried, copied during the emission
    {
        QVector<short> audio;
        int audioFrames = -1;
        QStringList frameRates, types;
        QList<QPixmap> pictures;
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
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(KOVGen::wavBytes(three, 3, 96000)) > 0);
        f.close();

        m_itemDir = writePdVideo(m_dir.filePath(QStringLiteral("item")), QStringLiteral("VID_pd.mp4"), 40, 5) + '/';
        QVERIFY(m_itemDir.size() > 1);
        KOVInformation::Instance()->setFileNameList({ QStringLiteral("VID_pd.mp4") });
        KOVInformation::Instance()->setFilePathList({ m_itemDir + QStringLiteral("VID_pd.mp4") });
    }

    void init()
    {
        m_log = {};
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
        for (const auto& c : qAsConst(m_conns))
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
        QCOMPARE(view.getPDDState(), active);
        QCOMPARE(!m_log.pictures.isEmpty(), active);
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
        for (int i = 0; i < 4096; i += 511)
            QCOMPARE(int(m_log.audio[i]), i - 2048);
        QCOMPARE(int(view.audioData()[4095]), 2047); // kept for a page hidden when announced
    }

    // The pattern and its class reach the visible electrical page through the
    // hub; a hidden page takes nothing; a gas page gets its waveform only.
    void pageOnShow_data()
    {
        QTest::addColumn<int>("reportType");
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
        QCOMPARE(m_log.pictures.isEmpty(), reportType == 0);
        QCOMPARE(m_log.frameRates.isEmpty(), reportType == 0);
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
        QVERIFY(!page.waveForm()->hasAudio());
        QCOMPARE(plot->graphCount(), 0);
    }
};

QTEST_MAIN(TestPatternView)
#include "tst_patternview.moc"
