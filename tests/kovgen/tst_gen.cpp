// The generator where no reader's test would notice a fault: the same seed
// must give the same bytes, bad requests are refused without touching the
// user's files, and the frame code names no other picture. (The frame code
// read back from decoded and scaled frames: the frame source and clip player
// tests.)
#include "kovgen.h"
#include "kovtestutil.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/imgproc.hpp>

using namespace KOVGen;

namespace {

QByteArray treeDigest(const QString& root)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const QString& rel : KOVTest::listTree(root)) {
        h.addData(rel.toUtf8());
        if (QFileInfo(root + QLatin1Char('/') + rel).isFile())
            h.addData(KOVTest::readAll(root + QLatin1Char('/') + rel));
    }
    return h.result().toHex();
}

} // namespace

class TestGen : public QObject
{
    Q_OBJECT

private slots:
    void sameSeedSameBytes()
    {
        QTemporaryDir dir;
        DirOptions o;
        o.outDir = dir.filePath(QStringLiteral("a/default"));
        QVERIFY(writeUserDirectory(o).ok);
        const QByteArray first = treeDigest(o.outDir);
        o.outDir = dir.filePath(QStringLiteral("b/default"));
        QVERIFY(writeUserDirectory(o).ok);
        QCOMPARE(treeDigest(o.outDir), first);

        WavOptions w;
        w.channels = 2;
        w.seconds = 0.1;
        const QVector<qint16> a = makeSamples(w);
        QCOMPARE(makeSamples(w), a);
        w.seed = 2;
        QVERIFY(makeSamples(w) != a);
        // The second channel has its own noise, not a copy of the first.
        int same = 0;
        for (int i = 0; i + 1 < a.size(); i += 2)
            same += a[i] == a[i + 1];
        QVERIFY(same < a.size() / 20);
    }

    void refusals()
    {
        QTemporaryDir dir;
        DirOptions o;
        QVERIFY(!writeUserDirectory(o).ok); // no folder
        const QString own = dir.filePath(QStringLiteral("usrInfo.ini"));
        QVERIFY(KOVTest::writeEncoded(own, QStringLiteral("[TestInfo]\ncompany=mine\n")));
        o.outDir = dir.path();
        const DirResult r = writeUserDirectory(o);
        QVERIFY(!r.ok && !r.error.isEmpty() && KOVTest::readAll(own).contains("mine"));
        // An empty picture would throw inside the encoder.
        QVERIFY(!writeJpeg(dir.filePath(QStringLiteral("e.jpg")), cv::Mat()));
        VideoOptions v;
        v.frames = 0;
        QVERIFY(!writeVideo(dir.filePath(QStringLiteral("a.mp4")), v));
    }

    void frameCodeRejectsOtherImages()
    {
        cv::Mat noise(600, 1024, CV_8UC3), flipped(600, 1024, CV_8UC3, cv::Scalar::all(90));
        cv::randu(noise, 0, 256);
        drawFrameCode(flipped, 1234);
        QCOMPARE(decodeFrameIndex(flipped), 1234);
        cv::rectangle(flipped, cv::Rect(1024 * 16 / 20, 560, 1024 / 20, 40), cv::Scalar::all(255), cv::FILLED);
        for (const cv::Mat& m : {cv::Mat(), noise, flipped, cv::Mat(10, 10, CV_8UC3, cv::Scalar::all(255)),
                                 acousticImage(3, QPoint(500, 300), QStringLiteral("67.9dB"))})
            QCOMPARE(decodeFrameIndex(m), -1);
    }
};

QTEST_GUILESS_MAIN(TestGen)
#include "tst_gen.moc"
