// The generator where no reader's test would notice a fault: the same seed
// must give the same bytes, bad requests are refused without touching the
// user's files, the frame code names its frame after scaling and lossy
// compression, and loud samples clamp instead of wrapping.
#include "kovgen.h"
#include "kovtestutil.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/imgcodecs.hpp>
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
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    void sameSeedSameBytes()
    {
        DirOptions o;
        o.outDir = m_dir->filePath(QStringLiteral("a/default"));
        QVERIFY(writeUserDirectory(o).ok);
        const QByteArray first = treeDigest(o.outDir);
        o.outDir = m_dir->filePath(QStringLiteral("b/default"));
        QVERIFY(writeUserDirectory(o).ok);
        QCOMPARE(treeDigest(o.outDir), first);
        o.outDir = m_dir->filePath(QStringLiteral("c/default"));
        o.seed = 2;
        o.light = true;
        QVERIFY(writeUserDirectory(o).ok);
        QVERIFY(KOVTest::readAll(o.outDir + QStringLiteral("/usrInfo.ini"))
                != KOVTest::readAll(m_dir->filePath(QStringLiteral("a/default/usrInfo.ini"))));

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

        QVector<double> first11, again11, other;
        for (const Frame& f : makeFrames(11, 50))
            first11 << f.maxSPL;
        for (const Frame& f : makeFrames(11, 50))
            again11 << f.maxSPL;
        for (const Frame& f : makeFrames(12, 50))
            other << f.maxSPL;
        QCOMPARE(again11, first11);
        QVERIFY(other != first11);
    }

    void refusals()
    {
        DirOptions o;
        QVERIFY(!writeUserDirectory(o).ok); // no folder
        const QString own = m_dir->filePath(QStringLiteral("usrInfo.ini"));
        QVERIFY(KOVTest::writeEncoded(own, QStringLiteral("[TestInfo]\ncompany=mine\n")));
        o.outDir = m_dir->path();
        const DirResult r = writeUserDirectory(o);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QVERIFY(KOVTest::readAll(own).contains("mine"));
        o.outDir = own + QStringLiteral("/x"); // a file where the folder should be
        QVERIFY(!writeUserDirectory(o).ok);
        o.outDir = m_dir->path();
        o.force = true;
        o.items = 2;
        o.light = true;
        QVERIFY(writeUserDirectory(o).ok);

        const QString missing = m_dir->filePath(QStringLiteral("no/such/"));
        QVERIFY(!writeWav(missing + QStringLiteral("a.wav"), WavOptions()));
        QVERIFY(!writeIni(missing + QStringLiteral("x.ini"), {}));
        QVERIFY(!writeIni(m_dir->filePath(QStringLiteral("x.ini")), {}, "no-such-codec"));
        QVERIFY(writeInfoDat(missing + QStringLiteral("info.dat"), InfoDatOptions()) < 0);
        QVERIFY(!writeJpeg(m_dir->filePath(QStringLiteral("e.jpg")), cv::Mat()));
        QVERIFY(!writeThumbnail(m_dir->filePath(QStringLiteral("t.jpg")), cv::Mat()));
        QVERIFY(!writeJpeg(missing + QStringLiteral("a.jpg"), acousticImage(1, QPoint(5, 5), QString())));

        QString error;
        VideoOptions v;
        v.frames = 0;
        QVERIFY(!writeVideo(m_dir->filePath(QStringLiteral("a.mp4")), v, &error));
        QVERIFY(!error.isEmpty());
        v.frames = 2;
        v.fps = 0;
        QVERIFY(!writeVideo(m_dir->filePath(QStringLiteral("b.mp4")), v, &error));
        v.fps = 25;
        error.clear();
        QVERIFY(!writeVideo(missing + QStringLiteral("c.mp4"), v, &error));
        QVERIFY(!error.isEmpty());
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("light items") << QStringList{QStringLiteral("--items"), QStringLiteral("5"), QStringLiteral("--light")} << 0;
        QTest::newRow("seed not a number") << QStringList{QStringLiteral("--seed"), QStringLiteral("x")} << 2;
        QTest::newRow("negative items") << QStringList{QStringLiteral("--items"), QStringLiteral("-4")} << 2;
        QTest::newRow("no output folder") << QStringList{QStringLiteral("--light")} << 2;
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        const QString exe = qEnvironmentVariable("KOV_BINARY_DIR") + QStringLiteral("/tools/kovgen/kovgen");
        if (args.size() > 1)
            args << QStringLiteral("--out") << m_dir->filePath(QStringLiteral("default"));
        QProcess p;
        p.start(exe, args);
        QVERIFY2(p.waitForFinished(120000), qPrintable(exe));
        QCOMPARE(p.exitCode(), exitCode);
        if (exitCode == 0)
            QCOMPARE(QDir(m_dir->filePath(QStringLiteral("default"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 5);
        else
            QVERIFY(!p.readAllStandardError().isEmpty());
    }

    void frameCodeSurvives_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("quality");
        for (int index : {0, 37, 4096, 65535}) {
            const QByteArray n = QByteArray::number(index);
            QTest::newRow("index " + n + " full size") << index << QSize(1024, 600) << 95;
            QTest::newRow("index " + n + " half size, rough jpeg") << index << QSize(512, 300) << 30;
            QTest::newRow("index " + n + " other aspect") << index << QSize(320, 240) << 60;
            QTest::newRow("index " + n + " larger") << index << QSize(1366, 768) << 80;
        }
    }
    void frameCodeSurvives()
    {
        QFETCH(int, index);
        QFETCH(QSize, size);
        QFETCH(int, quality);
        cv::Mat m = acousticImage(1, QPoint(500, 300), QStringLiteral("50.0dB"));
        drawFrameCode(m, index);
        cv::Mat scaled;
        cv::resize(m, scaled, cv::Size(size.width(), size.height()), 0, 0, cv::INTER_LINEAR);
        std::vector<uchar> buf;
        cv::imencode(".jpg", scaled, buf, {cv::IMWRITE_JPEG_QUALITY, quality});
        const cv::Mat back = cv::imdecode(buf, cv::IMREAD_COLOR);
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
        QTest::newRow("a picture") << 8;
    }
    void frameCodeRejectsOtherImages()
    {
        QFETCH(int, kind);
        cv::Mat m;
        switch (kind) {
        case 1: m = cv::Mat(600, 1024, CV_8UC3, cv::Scalar::all(255)); break;
        case 2: m = cv::Mat(600, 1024, CV_8UC3, cv::Scalar::all(0)); break;
        case 3:
            m = cv::Mat(600, 1024, CV_8UC3);
            cv::randu(m, 0, 256);
            break;
        case 4: m = cv::Mat(10, 10, CV_8UC3, cv::Scalar::all(255)); break;
        case 5:
            m = cv::Mat(600, 1024, CV_8UC3, cv::Scalar::all(90));
            drawFrameCode(m, 1234);
            cv::rectangle(m, cv::Rect(1024 * 16 / 20, 560, 1024 / 20, 40), cv::Scalar::all(255), cv::FILLED);
            break;
        case 6: m = cv::Mat(600, 1024, CV_32FC3, cv::Scalar::all(0.5)); break;
        case 7: m = cv::Mat(600, 1024, CV_8UC2, cv::Scalar::all(0)); break;
        case 8: m = acousticImage(3, QPoint(500, 300), QStringLiteral("67.9dB")); break;
        default: break;
        }
        QCOMPARE(decodeFrameIndex(m), -1);
        QCOMPARE(decodeFrameIndex(QImage()), -1);
    }

    void clampsInsteadOfWrapping()
    {
        WavOptions o;
        o.content = AudioContent::Tone;
        o.amplitude = 3.0; // far beyond full scale
        o.noiseLevel = 0;
        o.seconds = 0.01;
        const QVector<qint16> s = makeSamples(o);
        int high = 0, low = 0;
        for (qint16 v : s) {
            QVERIFY(v >= -32767 && v <= 32767);
            high += v == 32767;
            low += v == -32767;
        }
        QVERIFY(high > 0 && low > 0);
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestGen)
#include "tst_gen.moc"
