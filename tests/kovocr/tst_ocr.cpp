// Recognition of the burnt-in reading: the engine on generated pictures, and
// the per-page context (newest request wins, nothing after shutdown). Waiting
// for an engine while retired or closing: tst_ocrclosing.
#include "kovgen.h"
#include "kovocrcontext.h"
#include "kovocrengine.h"
#include "kovocrenginepool.h"
#include "kovocrregion.h"
#include "kovocrtext.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

#include <unistd.h>

namespace {

cv::Mat picture(const QString& reading, quint64 seed = 3)
{
    return KOVGen::acousticImage(seed, QPoint(300, 300), reading);
}

QString shown(const QString& drawn)
{
    // The whitelist has no point: "45.2dB" is read "452dB" and shown "45.2 dB".
    return KOVOcrText::postProcess(QString(drawn).remove(QLatin1Char('.')));
}

struct Sink : QObject
{
    std::shared_ptr<KOVOcrContext> ctx;
    QStringList accepted; // results the page would show
    int delivered = 0;
};

std::shared_ptr<KOVOcrContext> makeContext(Sink& sink, KOVOcrEnginePool* pool)
{
    Sink* s = &sink;
    sink.ctx = KOVOcrContext::create(
        s,
        [s](quint64 generation, const QString& text) {
            ++s->delivered;
            if (s->ctx->isCurrent(generation))
                s->accepted << text;
        },
        pool);
    return sink.ctx;
}

} // namespace

class TstOcr : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_haveData = KOVOcrEngine::hasLanguageData();
    }

    void engineReadsGeneratedPicture_data()
    {
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<int>("type");
        QTest::newRow("typical") << "45.2dB" << CV_8UC3;
        QTest::newRow("low") << "12.7dB" << CV_8UC3;
        QTest::newRow("grey picture") << "63.8dB" << CV_8UC1;
        QTest::newRow("picture with alpha") << "71.4dB" << CV_8UC4;
    }
    void engineReadsGeneratedPicture()
    {
        if (!m_haveData)
            QSKIP("English OCR data not installed");
        QFETCH(QString, drawn);
        QFETCH(int, type);
        cv::Mat img = picture(drawn);
        if (type == CV_8UC1)
            cv::cvtColor(img, img, cv::COLOR_BGR2GRAY);
        else if (type == CV_8UC4)
            cv::cvtColor(img, img, cv::COLOR_BGR2BGRA);
        cv::Mat region;
        QVERIFY(KOVOcrRegion::cut(img, region));
        KOVOcrEngine engine;
        QVERIFY(engine.isReady());
        QCOMPARE(KOVOcrText::postProcess(engine.recognise(KOVOcrRegion::binarise(region))), shown(drawn));
        // The engine refuses what is not a binarised canvas.
        QCOMPARE(engine.recognise(cv::Mat()), QString());
        QCOMPARE(engine.recognise(region), QString());
    }

    // A picture without the reading's region starts no engine.
    void requestWithoutRegion()
    {
        KOVOcrEnginePool pool(1);
        Sink sink;
        auto ctx = makeContext(sink, &pool);
        QVERIFY(!ctx->request(cv::Mat(94, 160, CV_8UC3, cv::Scalar::all(255))));
        QVERIFY(!ctx->busy());
        ctx->shutdown();
        QCOMPARE(pool.engineCount(), 0);
    }

    void burstEndsWithNewest()
    {
        if (!m_haveData)
            QSKIP("English OCR data not installed");
        KOVOcrEnginePool pool(1);
        Sink sink;
        auto ctx = makeContext(sink, &pool);
        QStringList readings;
        QList<cv::Mat> pictures;
        for (int i = 0; i < 12; ++i) {
            readings << QStringLiteral("%1.%2dB").arg(41 + i).arg(i % 10);
            pictures << picture(readings.last());
        }
        for (const cv::Mat& p : pictures)
            QVERIFY(ctx->request(p));
        QTRY_VERIFY_WITH_TIMEOUT(!ctx->busy(), 20000);
        QTest::qWait(20);
        QVERIFY(!sink.accepted.isEmpty());
        QCOMPARE(sink.accepted.last(), shown(readings.last()));
        // Waiting requests were replaced, not queued: far fewer recognitions
        // than requests.
        QVERIFY2(ctx->recognitions() < readings.size(), qPrintable(QString::number(ctx->recognitions())));
        ctx->shutdown();
    }

    void requestAfterShutdown()
    {
        KOVOcrEnginePool pool(1);
        Sink sink;
        auto ctx = makeContext(sink, &pool);
        ctx->shutdown();
        ctx->shutdown(); // twice is harmless
        QVERIFY(ctx->request(picture("45.2dB")));
        QVERIFY(!ctx->busy());
        QTest::qWait(20);
        QCOMPARE(sink.delivered, 0);
    }

    // A uniform grey region with a sensor's noise leaves specks round the
    // binarising threshold; the engine's statistics on them ("Lower
    // quartile=", "Median=") must not reach the terminal, nor anything else.
    void engineSilentOnUniformRegion()
    {
        if (!m_haveData)
            QSKIP("English OCR data not installed");
        QTemporaryFile log;
        QVERIFY(log.open());
        fflush(stderr);
        const int saved = dup(2);
        dup2(log.handle(), 2);
        {
            KOVOcrEngine engine;
            cv::Mat region(KOVOcrRegion::kHeight, KOVOcrRegion::kWidth, CV_8UC3, cv::Scalar::all(135));
            cv::Mat noise(region.size(), region.type());
            cv::theRNG().state = 7;
            cv::randn(noise, 0, 10);
            engine.recognise(KOVOcrRegion::binarise(region + noise));
        }
        fflush(stderr);
        dup2(saved, 2);
        close(saved);
        log.seek(0);
        QCOMPARE(QString::fromLocal8Bit(log.readAll()), QString());
    }

    void cleanupTestCase()
    {
        QTest::qWait(50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    bool m_haveData = false;
};

QTEST_GUILESS_MAIN(TstOcr)
#include "tst_ocr.moc"
