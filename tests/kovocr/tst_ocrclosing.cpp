// A recognition that is no longer wanted when its worker finally gets an
// engine is not run: a closing page waits for its worker, and the shared
// engines may all be busy with other pages.
#include "kovgen.h"
#include "kovocrcontext.h"
#include "kovocrenginepool.h"

#include <QtTest>

#include <thread>

class TstOcrClosing : public QObject
{
    Q_OBJECT
private slots:
    void unwantedAfterWaitingForEngine_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("recognitions"); // run and delivered
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
        QCOMPARE(ctx->recognitions(), recognitions);
        QCOMPARE(got, recognitions);
        QCOMPARE(pool.engineCount(), 1); // the engine went back either way
        QCOMPARE(pool.waiting(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(ctx.use_count(), 1L); // the ended worker holds no share
    }
};

QTEST_GUILESS_MAIN(TstOcrClosing)
#include "tst_ocrclosing.moc"
