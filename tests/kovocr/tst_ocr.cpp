// Recognition of the burnt-in reading: text clean-up and the reading's
// region, the engine on generated pictures, and the per-page context (newest
// request wins, nothing after shutdown or once unwanted).
#include "kovgen.h"
#include "kovocrcontext.h"
#include "kovocrengine.h"
#include "kovocrenginepool.h"
#include "kovocrregion.h"
#include "kovocrtext.h"
#include "kovtable.h"

#include <QtTest>
#include <thread>

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

    void ocrText_data()
    {
        KOVTable::columns<QString, QString>({"raw", "shown"});
        QTest::newRow("three digits") << "905dB" << "90.5 dB";
        QTest::newRow("four digits") << "1000dB" << "100.0 dB";
        QTest::newRow("not available") << "N/AdB" << "N/A dB";
        QTest::newRow("bare N/A gets a blank two from the end") << "N/A" << "N /A";
        QTest::newRow("one digit: point at the start") << "5dB" << ".5 dB";
        QTest::newRow("bare dB: no point, blank at 0") << "dB" << " dB";
        QTest::newRow("empty") << "" << "/";
        QTest::newRow("digits without unit") << "905" << "/";
        QTest::newRow("lower-case unit is not the unit") << "905db" << "/";
        QTest::newRow("N/A wins over dB") << "dBN/A" << "dBN /A";
    }
    void ocrText()
    {
        QFETCH(QString, raw);
        QTEST(KOVOcrText::postProcess(raw), "shown");
    }

    void ocrRegionCut_data()
    {
        KOVTable::columns<int, int, int, bool>({"rows", "cols", "type", "ok"});
        QTest::newRow("frame size colour") << 600 << 1024 << CV_8UC3 << true;
        QTest::newRow("exactly the far corner") << 73 << 765 << CV_8UC3 << true;
        QTest::newRow("one pixel too narrow") << 73 << 764 << CV_8UC3 << false;
        QTest::newRow("empty") << 0 << 0 << CV_8UC3 << false;
        QTest::newRow("grey picture") << 600 << 1024 << CV_8UC1 << true;
        QTest::newRow("picture with alpha") << 600 << 1024 << CV_8UC4 << true;
        QTest::newRow("16-bit picture") << 600 << 1024 << CV_16UC3 << true;
        QTest::newRow("two channels unsupported") << 600 << 1024 << CV_8UC2 << false;
    }
    void ocrRegionCut()
    {
        QFETCH(int, rows);
        QFETCH(int, cols);
        QFETCH(int, type);
        QFETCH(bool, ok);
        const cv::Mat img = rows > 0 ? cv::Mat(rows, cols, type, cv::Scalar::all(0)) : cv::Mat();
        cv::Mat out;
        QCOMPARE(KOVOcrRegion::cut(img, out), ok);
        QCOMPARE(out.empty(), !ok);
        if (ok) {
            QCOMPARE(out.type(), CV_8UC3);
            QCOMPARE(cv::Size(out.cols, out.rows), cv::Size(KOVOcrRegion::kWidth, KOVOcrRegion::kHeight));
            QVERIFY(out.data < img.datastart || out.data >= img.dataend); // a copy, not a view
        }
    }

    void ocrRegionBinarise()
    {
        cv::Mat img(600, 1024, CV_8UC3, cv::Scalar::all(255));
        for (int i : {0, 1, 2}) // black, 126 and 125
            img(cv::Rect(KOVOcrRegion::kX + i, KOVOcrRegion::kY, 1, 1)).setTo(cv::Scalar::all(i ? 127 - i : 0));
        cv::Mat region;
        QVERIFY(KOVOcrRegion::cut(img, region));
        const cv::Mat bin = KOVOcrRegion::binarise(region);
        QVERIFY(bin.type() == CV_8UC1 && bin.cols == 70 && bin.rows == 25 && bin.isContinuous());
        // 126 is above 125, 125 is not.
        QCOMPARE(QPoint(bin.at<uchar>(5, 5) + bin.at<uchar>(5, 7), bin.at<uchar>(5, 6)), QPoint(0, 255));
        QCOMPARE(cv::countNonZero(bin), 70 * 25 - 2); // margin white
        // A region of the wrong shape leaves the canvas blank rather than crash.
        QCOMPARE(cv::countNonZero(KOVOcrRegion::binarise(cv::Mat(40, 90, CV_8UC3))), 70 * 25);
    }
    // A recognition that is no longer wanted when its worker finally gets an
    // engine is not run: a closing page waits for its worker, and the shared
    // engines may all be busy with other pages.
    void unwantedAfterWaitingForEngine_data()
    {
        KOVTable::columns<QString, int>({"action", "recognitions"}); // recognitions run and delivered
        QTest::newRow("page closes") << "shutdown" << 0;
        QTest::newRow("another item is shown") << "invalidate" << 0;
        QTest::newRow("a newer frame is shown") << "request" << 1;
    }
    void unwantedAfterWaitingForEngine()
    {
        QFETCH(QString, action);
        QFETCH(int, recognitions);
        KOVOcrEnginePool pool(1);
        KOVOcrEngine* held = pool.acquire(); // another page holds the only engine
        QObject receiver;
        int got = 0;
        auto ctx = KOVOcrContext::create(&receiver, [&got](quint64, const QString&) { ++got; }, &pool);
        const cv::Mat frame = KOVGen::acousticImage(5, QPoint(300, 300), QStringLiteral("45.2dB"));
        QVERIFY(ctx->request(frame));
        QTRY_COMPARE(pool.waiting(), 1); // the worker waits for the engine

        if (action == QLatin1String("shutdown")) {
            // The engine comes back only after the page has begun to close.
            std::thread other([&pool, held] {
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
                pool.release(held);
            });
            ctx->shutdown();
            other.join();
        } else {
            if (action == QLatin1String("invalidate"))
                ctx->invalidate();
            else
                QVERIFY(ctx->request(frame));
            pool.release(held);
            QTRY_VERIFY_WITH_TIMEOUT(!ctx->busy(), 20000);
            ctx->shutdown();
        }
        QTest::qWait(20);
        QCOMPARE(QPoint(ctx->recognitions(), got), QPoint(recognitions, recognitions));
        // The engine went back either way.
        QCOMPARE(QPoint(pool.engineCount(), pool.waiting()), QPoint(1, 0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(ctx.use_count(), 1L); // the ended worker holds no share
    }
    void engineReadsGeneratedPicture_data()
    {
        KOVTable::columns<QString, int>({"drawn", "type"});
        QTest::newRow("typical") << "45.2dB" << CV_8UC3;
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
        KOVOcrEngine engine;
        QVERIFY(KOVOcrRegion::cut(img, region) && engine.isReady());
        QCOMPARE(KOVOcrText::postProcess(engine.recognise(KOVOcrRegion::binarise(region))), shown(drawn));
        // The engine refuses what is not a binarised canvas.
        QVERIFY(engine.recognise(cv::Mat()).isEmpty() && engine.recognise(region).isEmpty());
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
