// Recognition of the burnt-in reading: the engine on generated pictures, and
// the per-page context (newest request wins, retired requests stay silent,
// shutting down while a recognition waits).
#include "kovgen.h"
#include "kovocrcontext.h"
#include "kovocrengine.h"
#include "kovocrenginepool.h"
#include "kovocrregion.h"
#include "kovocrtext.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

#include <thread>

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
        QTest::newRow("high") << "90.5dB" << CV_8UC3;
        QTest::newRow("nines") << "99.9dB" << CV_8UC3;
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

    void requestWithoutRegion_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::newRow("empty picture") << 0 << 0;
        QTest::newRow("thumbnail") << 94 << 160;
        QTest::newRow("narrower than the region") << 600 << 700;
    }
    void requestWithoutRegion()
    {
        QFETCH(int, rows);
        QFETCH(int, cols);
        KOVOcrEnginePool pool(1);
        Sink sink;
        auto ctx = makeContext(sink, &pool);
        const cv::Mat img = rows ? cv::Mat(rows, cols, CV_8UC3, cv::Scalar::all(255)) : cv::Mat();
        QVERIFY(!ctx->request(img));
        QVERIFY(!ctx->busy());
        ctx->shutdown();
        QCOMPARE(pool.engineCount(), 0); // nothing was started for it
    }

    void burstEndsWithNewest()
    {
        if (!m_haveData)
            QSKIP("English OCR data not installed");
        KOVOcrEnginePool pool(1);
        Sink sink;
        auto ctx = makeContext(sink, &pool);
        const QStringList readings = { "41.0dB", "42.1dB", "43.2dB", "44.3dB", "45.4dB", "46.5dB", "47.6dB", "48.7dB",
            "49.8dB", "50.9dB", "51.3dB", "52.4dB" };
        QList<cv::Mat> pictures;
        for (const QString& r : readings)
            pictures << picture(r);
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

    void retiredRequestsStaySilent()
    {
        if (!m_haveData)
            QSKIP("English OCR data not installed");
        KOVOcrEnginePool pool(1);
        Sink sink;
        auto ctx = makeContext(sink, &pool);
        QVERIFY(ctx->request(picture("45.2dB")));
        ctx->invalidate(); // another item is shown
        QTRY_VERIFY_WITH_TIMEOUT(!ctx->busy(), 20000);
        QTest::qWait(20);
        QVERIFY(sink.accepted.isEmpty());
        ctx->shutdown();
    }

    void shutdownWhileRecognitionWaits()
    {
        KOVOcrEnginePool pool(1);
        // Hold the pool's only engine so the worker waits for it.
        KOVOcrEngine* held = pool.acquire();
        auto* sink = new Sink;
        auto ctx = makeContext(*sink, &pool);
        QVERIFY(ctx->request(picture("45.2dB")));
        QVERIFY(ctx->request(picture("46.3dB")));
        QTRY_VERIFY(ctx->busy());
        std::thread releaser([&pool, held] {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            pool.release(held);
        });
        ctx->shutdown(); // returns once the worker has ended
        releaser.join();
        QVERIFY(!ctx->busy());
        sink->ctx.reset();
        delete sink; // the page going away
        QTest::qWait(50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(ctx.use_count(), 1L); // nothing left holds the context
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
