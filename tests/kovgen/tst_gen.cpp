// The generator where no reader's test would notice a fault: the same seed
// must give the same bytes, bad requests are refused without touching the
// user's files, the frame code names no other picture, and loud samples
// clamp instead of wrapping. (The frame code read back from decoded and
// scaled frames: the frame source and clip player tests.)
#include "kovgen.h"
#include "kovtable.h"
#include "kovtestutil.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

using namespace KOVGen;

Q_DECLARE_METATYPE(cv::Mat)

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
    void init() { m_dir.reset(new QTemporaryDir); }

    void sameSeedSameBytes()
    {
        DirOptions o;
        o.outDir = m_dir->filePath(QStringLiteral("a/default"));
        QVERIFY(writeUserDirectory(o).ok);
        const QByteArray first = treeDigest(o.outDir);
        o.outDir = m_dir->filePath(QStringLiteral("b/default"));
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

        auto maxima = [](int format) {
            QVector<double> v;
            for (const Frame& f : makeFrames(format, 50))
                v << f.maxSPL;
            return v;
        };
        QCOMPARE(maxima(11), maxima(11));
        QVERIFY(maxima(12) != maxima(11));
    }

    void refusals()
    {
        DirOptions o;
        QVERIFY(!writeUserDirectory(o).ok); // no folder
        const QString own = m_dir->filePath(QStringLiteral("usrInfo.ini"));
        QVERIFY(KOVTest::writeEncoded(own, QStringLiteral("[TestInfo]\ncompany=mine\n")));
        o.outDir = m_dir->path();
        const DirResult r = writeUserDirectory(o);
        QVERIFY(!r.ok && !r.error.isEmpty());
        QVERIFY(KOVTest::readAll(own).contains("mine"));
        o.force = true;
        o.items = 2;
        o.light = true;
        QVERIFY(writeUserDirectory(o).ok);

        // An empty picture would throw inside the encoder.
        QVERIFY(!writeJpeg(m_dir->filePath(QStringLiteral("e.jpg")), cv::Mat()));
        QVERIFY(!writeThumbnail(m_dir->filePath(QStringLiteral("t.jpg")), cv::Mat()));

        QString error;
        VideoOptions v;
        v.frames = 0;
        QVERIFY(!writeVideo(m_dir->filePath(QStringLiteral("a.mp4")), v, &error));
        QVERIFY(!error.isEmpty());
        v.frames = 2;
        v.fps = 0;
        QVERIFY(!writeVideo(m_dir->filePath(QStringLiteral("b.mp4")), v));
    }

    void frameCodeRejectsOtherImages_data()
    {
        QTest::addColumn<cv::Mat>("image");
        cv::Mat noise(600, 1024, CV_8UC3), flipped(600, 1024, CV_8UC3, cv::Scalar::all(90));
        cv::randu(noise, 0, 256);
        drawFrameCode(flipped, 1234);
        cv::rectangle(flipped, cv::Rect(1024 * 16 / 20, 560, 1024 / 20, 40), cv::Scalar::all(255), cv::FILLED);
        QTest::newRow("empty") << cv::Mat();
        QTest::newRow("all white") << cv::Mat(600, 1024, CV_8UC3, cv::Scalar::all(255));
        QTest::newRow("noise") << noise;
        QTest::newRow("tiny") << cv::Mat(10, 10, CV_8UC3, cv::Scalar::all(255));
        QTest::newRow("one bit flipped") << flipped;
        QTest::newRow("float image") << cv::Mat(600, 1024, CV_32FC3, cv::Scalar::all(0.5));
        QTest::newRow("two channels") << cv::Mat(600, 1024, CV_8UC2, cv::Scalar::all(0));
        QTest::newRow("a picture") << acousticImage(3, QPoint(500, 300), QStringLiteral("67.9dB"));
    }
    void frameCodeRejectsOtherImages()
    {
        QFETCH(cv::Mat, image);
        QCOMPARE(decodeFrameIndex(image), -1);
        QCOMPARE(decodeFrameIndex(QImage()), -1);
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestGen)
#include "tst_gen.moc"
