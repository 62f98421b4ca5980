// Generated pictures and videos: size, the reading inside the OCR region, and
// the frame code that says which frame is shown.
#include "kovgen.h"
#include "kovtestutil.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

using namespace KOVGen;

namespace {

cv::Mat readImage(const QString& path)
{
    const QByteArray b = KOVTest::readAll(path);
    return cv::imdecode(cv::Mat(1, b.size(), CV_8UC1, const_cast<char*>(b.constData())), cv::IMREAD_COLOR);
}

cv::Mat jpegRoundTrip(const cv::Mat& m, int quality)
{
    std::vector<uchar> buf;
    cv::imencode(".jpg", m, buf, {cv::IMWRITE_JPEG_QUALITY, quality});
    return cv::imdecode(buf, cv::IMREAD_COLOR);
}

} // namespace

class TestGenMedia : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    // The reading must survive the review page's steps: the region copied onto
    // white, grey, threshold at 125. So the region's border is white, the text
    // is dark, tall enough to read, and wholly inside.
    void readingInsideOcrRegion_data()
    {
        QTest::addColumn<QString>("reading");
        QTest::newRow("usual") << QStringLiteral("45.2dB");
        QTest::newRow("high") << QStringLiteral("99.9dB");
        QTest::newRow("three digits") << QStringLiteral("100.3dB");
        QTest::newRow("no value") << QStringLiteral("N/AdB");
    }
    void readingInsideOcrRegion()
    {
        QFETCH(QString, reading);
        const QString path = m_dir->filePath(QStringLiteral("p.jpg"));
        // The heat blob right under the region must not leak into it.
        QVERIFY(writePicture(path, reading, 5, QPoint(730, 70)));
        const cv::Mat img = readImage(path);
        QCOMPARE(img.cols, 1024);
        QCOMPARE(img.rows, 600);
        cv::Mat grey;
        cv::cvtColor(img(kOcrRegion), grey, cv::COLOR_BGR2GRAY);
        cv::Mat ink;
        cv::threshold(grey, ink, 125, 255, cv::THRESH_BINARY_INV);
        for (int x = 0; x < grey.cols; ++x) {
            QVERIFY(grey.at<uchar>(0, x) > 200);
            QVERIFY(grey.at<uchar>(grey.rows - 1, x) > 200);
        }
        for (int y = 0; y < grey.rows; ++y) {
            QVERIFY(grey.at<uchar>(y, 0) > 200);
            QVERIFY(grey.at<uchar>(y, grey.cols - 1) > 200);
        }
        const cv::Rect box = cv::boundingRect(ink);
        QVERIFY2(box.height >= 8, qPrintable(QString::number(box.height)));
        QVERIFY(box.width >= 40);
        QVERIFY(box.x >= 1 && box.y >= 1 && box.br().x < kOcrRegion.width && box.br().y < kOcrRegion.height);
        // Crisp: few grey pixels between ink and paper.
        int mid = 0;
        for (int i = 0; i < int(grey.total()); ++i)
            mid += grey.data[i] > 80 && grey.data[i] < 170;
        QVERIFY2(mid < int(grey.total()) / 6, qPrintable(QString::number(mid)));
    }

    void pictureAndThumbnail()
    {
        const QString dir = m_dir->filePath(QStringLiteral("测点 1"));
        QVERIFY(QDir().mkpath(dir));
        Frame f;
        f.maxSPL = 67.9;
        QVERIFY(writePicture(dir + QStringLiteral("/A.jpg"), 3, f));
        const cv::Mat a = readImage(dir + QStringLiteral("/A.jpg"));
        QCOMPARE(a.size(), cv::Size(1024, 600));
        QVERIFY(writeThumbnail(dir + QStringLiteral("/.thumbnail.jpg"), a));
        QCOMPARE(readImage(dir + QStringLiteral("/.thumbnail.jpg")).size(), cv::Size(160, 94));
        QVERIFY(!writeThumbnail(dir + QStringLiteral("/t.jpg"), cv::Mat()));
        QVERIFY(!writeJpeg(dir + QStringLiteral("/e.jpg"), cv::Mat()));
        QVERIFY(!writeJpeg(dir + QStringLiteral("/no/such.jpg"), a));
        QCOMPARE(cv::imdecode(cv::Mat(1, tinyJpeg().size(), CV_8UC1, const_cast<char*>(tinyJpeg().constData())),
                              cv::IMREAD_COLOR)
                     .cols,
                 64);
        // A picture carries no frame code.
        QCOMPARE(decodeFrameIndex(a), -1);
    }

    void frameCodeSurvives_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("quality");
        for (int index : {0, 1, 37, 255, 4096, 65535}) {
            const QByteArray n = QByteArray::number(index);
            QTest::newRow("index " + n + " full size") << index << 1024 << 600 << 95;
            QTest::newRow("index " + n + " half size, rough jpeg") << index << 512 << 300 << 30;
            QTest::newRow("index " + n + " quarter size") << index << 256 << 150 << 60;
            QTest::newRow("index " + n + " other aspect") << index << 320 << 240 << 60;
            QTest::newRow("index " + n + " larger") << index << 1366 << 768 << 80;
        }
    }
    void frameCodeSurvives()
    {
        QFETCH(int, index);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, quality);
        cv::Mat m = acousticImage(1, QPoint(500, 300), QStringLiteral("50.0dB"));
        drawFrameCode(m, index);
        cv::Mat scaled;
        cv::resize(m, scaled, cv::Size(width, height), 0, 0, cv::INTER_LINEAR);
        const cv::Mat back = jpegRoundTrip(scaled, quality);
        QCOMPARE(decodeFrameIndex(back), index);
        cv::Mat rgb;
        cv::cvtColor(back, rgb, cv::COLOR_BGR2RGB);
        const QImage q(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888);
        QCOMPARE(decodeFrameIndex(q), index);
        QCOMPARE(decodeFrameIndex(q.convertToFormat(QImage::Format_ARGB32)), index);
    }

    void frameCodeRejectsOtherImages_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("empty") << 0;
        QTest::newRow("all white") << 1;
        QTest::newRow("all black") << 2;
        QTest::newRow("noise") << 3;
        QTest::newRow("tiny") << 4;
        QTest::newRow("one bit flipped") << 5;
        QTest::newRow("float image") << 6;
        QTest::newRow("two channels") << 7;
    }
    void frameCodeRejectsOtherImages()
    {
        QFETCH(int, kind);
        cv::Mat m;
        if (kind == 1)
            m = cv::Mat(600, 1024, CV_8UC3, cv::Scalar::all(255));
        if (kind == 2)
            m = cv::Mat(600, 1024, CV_8UC3, cv::Scalar::all(0));
        if (kind == 3) {
            m = cv::Mat(600, 1024, CV_8UC3);
            cv::randu(m, 0, 256);
        }
        if (kind == 4)
            m = cv::Mat(10, 10, CV_8UC3, cv::Scalar::all(255));
        if (kind == 5) {
            m = cv::Mat(600, 1024, CV_8UC3, cv::Scalar::all(90));
            drawFrameCode(m, 1234);
            cv::rectangle(m, cv::Rect(1024 * 16 / 20, 560, 1024 / 20, 40), cv::Scalar::all(255), cv::FILLED);
        }
        if (kind == 6)
            m = cv::Mat(600, 1024, CV_32FC3, cv::Scalar::all(0.5));
        if (kind == 7)
            m = cv::Mat(600, 1024, CV_8UC2, cv::Scalar::all(0));
        QCOMPARE(decodeFrameIndex(m), -1);
        QCOMPARE(decodeFrameIndex(QImage()), -1);
    }

    // The container reports the frame count and rate, and every frame read
    // back in order carries its own index.
    void videoReadsBack_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("name");
        QTest::newRow("one frame") << 1 << QStringLiteral("one.mp4");
        QTest::newRow("thirty frames, blanks and Chinese in the name") << 30 << QStringLiteral("视频 测点 1.mp4");
    }
    void videoReadsBack()
    {
        QFETCH(int, frames);
        QFETCH(QString, name);
        const QString path = m_dir->filePath(name);
        VideoOptions o;
        o.frames = frames;
        o.seed = 9;
        QString error;
        QVERIFY2(writeVideo(path, o, &error), qPrintable(error));
        cv::VideoCapture cap(QFile::encodeName(path).toStdString());
        QVERIFY(cap.isOpened());
        QCOMPARE(int(cap.get(cv::CAP_PROP_FRAME_WIDTH)), 1024);
        QCOMPARE(int(cap.get(cv::CAP_PROP_FRAME_HEIGHT)), 600);
        QCOMPARE(cap.get(cv::CAP_PROP_FPS), 25.0);
        QCOMPARE(int(cap.get(cv::CAP_PROP_FRAME_COUNT)), frames);
        cv::Mat f;
        int n = 0;
        while (cap.read(f)) {
            QCOMPARE(decodeFrameIndex(f), n);
            ++n;
        }
        QCOMPARE(n, frames);
        // Seeking, as the review page does for the previous frame.
        if (frames > 10) {
            cap.set(cv::CAP_PROP_POS_FRAMES, 7);
            QVERIFY(cap.read(f));
            QCOMPARE(decodeFrameIndex(f), 7);
        }

        const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
        if (ffprobe.isEmpty())
            return;
        QProcess p;
        p.start(ffprobe, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_streams"), path});
        QVERIFY(p.waitForFinished(30000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.contains(QLatin1String("width=1024")) && out.contains(QLatin1String("height=600")), qPrintable(out));
        QVERIFY(out.contains(QLatin1String("r_frame_rate=25/1")));
        QVERIFY(out.contains(QStringLiteral("nb_frames=%1").arg(frames)));
    }

    void videoFramesShowTheirReading()
    {
        VideoOptions o;
        o.frames = 3;
        o.values = makeFrames(4, 3);
        o.values[2].maxSPL = 88.8;
        const cv::Mat a = videoFrame(2, o);
        const cv::Mat b = acousticImage(4, QPoint(o.values[2].x, o.values[2].y), QStringLiteral("88.8dB"));
        // Same reading region as a picture with that reading.
        cv::Mat diff;
        cv::absdiff(a(kOcrRegion), b(kOcrRegion), diff);
        QCOMPARE(cv::countNonZero(diff.reshape(1)), 0);
    }

    void videoRefusesBadInput()
    {
        QString error;
        VideoOptions o;
        o.frames = 0;
        QVERIFY(!writeVideo(m_dir->filePath(QStringLiteral("a.mp4")), o, &error));
        QVERIFY(!error.isEmpty());
        o.frames = 2;
        o.fps = 0;
        QVERIFY(!writeVideo(m_dir->filePath(QStringLiteral("b.mp4")), o, &error));
        o.fps = 25;
        error.clear();
        QVERIFY(!writeVideo(m_dir->filePath(QStringLiteral("no/such/c.mp4")), o, &error));
        QVERIFY(!error.isEmpty());
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestGenMedia)
#include "tst_genmedia.moc"
