// The review page's rules that need no widget: texts, frame conversion,
// leak-loss figures, and the frame source against damaged files (it fails
// cleanly and never labels a frame with another frame's index).
#include "kovframeconvert.h"
#include "kovframeinfotext.h"
#include "kovgen.h"
#include "koviteminfo.h"
#include "kovtable.h"
#include "kovvideosource.h"
#include "kovvideotime.h"
#include "leaklossestimation.h"

#include <QJsonArray>
#include <QTemporaryDir>

#include <cstring>

#include <opencv2/imgproc.hpp>

class TstReviewRules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_good = m_dir.filePath("good.mp4");
        KOVGen::VideoOptions o;
        o.frames = 30;
        QVERIFY(KOVGen::writeVideo(m_good, o));
        QFile f(m_good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        m_goodBytes = f.readAll();
    }

    void videoTime_data()
    {
        KOVTable::columns<int, QString>({"frames", "label"});
        QTest::newRow("none") << 0 << "00:00";
        QTest::newRow("25 frames one second") << 25 << "00:01";
        QTest::newRow("1499 frames") << 1499 << "00:59";
        QTest::newRow("1500 frames one minute (float)") << 1500 << "01:00";
        QTest::newRow("two hours run past 99 minutes") << 180000 << "120:00";
    }
    void videoTime()
    {
        QFETCH(int, frames);
        QTEST(KOVVideoTime::label(frames), "label");
    }

    void frameInfoText_data()
    {
        // texts: band, dynamic range, ultrasonic level, leak value, time, leak level
        KOVTable::columns<int, int, float, float, QDateTime, QStringList>({"low", "high", "dynamic", "leakValue", "time", "texts"});
        const QDateTime t(QDate(2024, 3, 15), QTime(10, 15, 59, 960));
        QTest::newRow("typical") << 20000 << 40000 << 12.34f << 1.0f << t
                                 << QStringList{"20.0 - 40.0 kHz", "12.3 dB", "12.3 dB", "1.00", "2024-03-15 10:15", "2.3"};
        QTest::newRow("odd band") << 25500 << 39950 << 0.05f << 0.125f << t
                                  << QStringList{"25.5 - 40.0 kHz", "0.1 dB", "0.1 dB", "0.13", "2024-03-15 10:15", "2.3"};
        QTest::newRow("negative level, no time") << 20000 << 40000 << -3.26f << 2.5f << QDateTime()
                                                 << QStringList{"20.0 - 40.0 kHz", "-3.3 dB", "-3.3 dB", "2.50", "/", "2.3"};
    }
    void frameInfoText()
    {
        QFETCH(float, dynamic);
        QFETCH(QDateTime, time);
        KOVImageInfo info;
        QFETCH(int, low);
        info.freqBandLow = low;
        QFETCH(int, high);
        info.freqBandHigh = high;
        info.dynamivRange = info.ultrasonicSPLdBValue = dynamic;
        QFETCH(float, leakValue);
        info.leakValue = leakValue;
        info.leakLevel = 2.26f;
        const KOVFrameInfoText text = KOVFrameInfoText::fromImageInfo(info, time);
        QTEST(QStringList({text.bandwidth, text.dynamic, text.ultrasonic, text.leakValue, text.time, text.level}), "texts");
    }

    void convertCopiesAndKeepsStride()
    {
        // An odd width makes rows of 3 x 1023 bytes: QImage pads its rows to four
        // bytes, and a region of a larger frame has the larger frame's stride.
        cv::Mat big(20, 1030, CV_8UC3, cv::Scalar(0, 0, 0));
        cv::Mat roi = big(cv::Rect(3, 2, 1023, 10));
        for (int y = 0; y < roi.rows; ++y)
            roi.at<cv::Vec3b>(y, roi.cols - 1) = cv::Vec3b(uchar(y), 0, 255);
        const QImage img = KOVFrameConvert::toQImage(roi);
        QCOMPARE(img.size(), QSize(1023, 10));
        for (int y = 0; y < 10; ++y)
            QCOMPARE(img.pixel(1022, y), qRgb(255, 0, y));
        big.setTo(cv::Scalar(1, 2, 3)); // the decoder reusing its buffer
        QCOMPARE(img.pixel(1022, 9), qRgb(255, 0, 9));
    }

    // Frames of every shape convert, in bands, to the same pixels as one whole
    // conversion; the buffer offered for reuse is written only when nobody else
    // shares it and it has the frame's size and format.
    void displayImage_data()
    {
        // roi: a region of a larger frame; buffer offered: none, "own", "shared" (shown elsewhere), "argb" (other format)
        KOVTable::columns<QSize, bool, QString, bool>({"size", "roi", "buffer", "reused"});
        QTest::newRow("imager frame, no buffer") << QSize(1024, 600) << false << "" << false;
        QTest::newRow("imager frame, own buffer") << QSize(1024, 600) << false << "own" << true;
        QTest::newRow("buffer shown elsewhere") << QSize(1024, 600) << false << "shared" << false;
        QTest::newRow("buffer of another format") << QSize(1024, 600) << false << "argb" << false;
        QTest::newRow("rows not a multiple of the band") << QSize(1024, 601) << false << "" << false;
        QTest::newRow("wider than a band") << QSize(40000, 2) << false << "" << false;
        QTest::newRow("region of a larger frame") << QSize(1023, 97) << true << "own" << true;
    }
    void displayImage()
    {
        QFETCH(QSize, size);
        QFETCH(bool, roi);
        QFETCH(QString, buffer);
        QFETCH(bool, reused);
        cv::Mat big(size.height() + 3, size.width() + 5, CV_8UC3);
        cv::randu(big, 0, 256);
        const cv::Rect r(roi ? 2 : 0, roi ? 1 : 0, size.width(), size.height());
        const cv::Mat frame = roi ? big(r) : big(r).clone();

        QImage offered, other; // other: a second holder of the buffer, as a shown or locked frame
        if (!buffer.isEmpty()) {
            offered = QImage(size, buffer == QLatin1String("argb") ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            offered.fill(Qt::magenta);
            if (buffer == QLatin1String("shared"))
                other = offered;
        }
        const uchar* before = offered.isNull() ? nullptr : offered.constBits();
        const QImage img = KOVFrameConvert::toDisplayImage(frame, offered);
        QCOMPARE(img.format(), QImage::Format_RGB32);
        QCOMPARE(img.size(), size);
        QCOMPARE(img.constBits() == before, reused);
        QCOMPARE(offered.isNull(), reused || buffer.isEmpty());
        if (!other.isNull()) // never written over under its other holder
            QCOMPARE(other.pixel(0, 0), QColor(Qt::magenta).rgb());

        cv::Mat whole;
        cv::cvtColor(frame, whole, cv::COLOR_BGR2BGRA);
        for (int y = 0; y < size.height(); ++y)
            QVERIFY2(std::memcmp(img.constScanLine(y), whole.ptr(y), size_t(size.width()) * 4) == 0,
                qPrintable(QStringLiteral("row %1").arg(y)));
        QCOMPARE(img.pixel(size.width() - 1, size.height() - 1) >> 24, 0xffu); // opaque

        // Not 8-bit colour: as toQImage, the buffer untouched.
        QImage keep(4, 4, QImage::Format_RGB32);
        QCOMPARE(KOVFrameConvert::toDisplayImage(cv::Mat(4, 4, CV_8UC1, cv::Scalar(9)), keep).format(),
            QImage::Format_Grayscale8);
        QVERIFY(KOVFrameConvert::toDisplayImage(cv::Mat(), keep).isNull());
        QVERIFY(KOVFrameConvert::toDisplayImage(cv::Mat(4, 4, CV_32FC3), keep).isNull());
        QVERIFY(!keep.isNull());
    }
    void yearlyAmount_data()
    {
        KOVTable::columns<float, float, int, float, int, QString>({"pressure", "leak", "hours", "specificPower", "unit", "shown"});
        QTest::newRow("0.5 MPa 10 ml/s yuan") << 0.5f << 10.0f << 8760 << 12.0f << 0 << "1934.61";
        QTest::newRow("dollar") << 0.5f << 10.0f << 8760 << 12.0f << 1 << "304.31";
        QTest::newRow("euro") << 0.5f << 10.0f << 8760 << 12.0f << 2 << "268.14";
        QTest::newRow("pound") << 0.5f << 10.0f << 8760 << 12.0f << 3 << "224.61";
        QTest::newRow("unknown currency is base") << 0.5f << 10.0f << 8760 << 12.0f << -1 << "1934.61";
        QTest::newRow("no pressure 1 ml/s") << 0.0f << 1.0f << 8760 << 12.0f << 0 << "37.84";
        QTest::newRow("empty hours") << 0.5f << 10.0f << 0 << 12.0f << 0 << "0.00";
        // The energy term uses the measured leak: no power removes exactly 63.07.
        QTest::newRow("energy term uses measured leak") << 0.5f << 10.0f << 8760 << 0.0f << 0 << "1871.54";
    }
    void yearlyAmount()
    {
        QFETCH(float, pressure);
        QFETCH(float, leak);
        QFETCH(int, hours);
        QFETCH(float, specificPower);
        QFETCH(int, unit);
        LeakLossEstimation e;
        e.pressure = pressure;
        e.leakValue = leak;
        e.time = hours;
        e.specificPower = specificPower;
        e.unitType = unit;
        QTEST(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(unit, KOVLeakLoss::yearlyAmount(e))), "shown");
        // A typed amount is kept in the base currency and shows again as typed.
        QCOMPARE(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(unit, KOVLeakLoss::toBase(unit, 6.36f))),
                 QStringLiteral("6.36"));
    }

    // Dropped, a restored page would show a leak rate of 0.
    void leakFieldsInTheCache()
    {
        const QJsonObject frame { { "seq", 1 }, { "leakDistance", 3.25 }, { "leakLevel", 2.5 }, { "leakPower", 0.75 },
                                  { "leakValue", 1.5 } };
        QJsonObject root { { "imageCount", 1 }, { "imageInfoList", QJsonArray { frame } } };
        KOVItemInfo info;
        info.restoreData(root);
        QJsonObject again;
        info.saveData(again);
        const QJsonObject back = again.value("imageInfoList").toArray().at(0).toObject();
        for (const char* key : { "leakDistance", "leakLevel", "leakPower", "leakValue" })
            QCOMPARE(back.value(QLatin1String(key)), frame.value(QLatin1String(key)));
    }
    // Damaged files fail cleanly; a cut file's index (at the end for this
    // writer, or the start) may claim frames whose data is gone: reading
    // stops, and every frame read carries its own index.
    void damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("empty file") << QByteArray("");
        QTest::newRow("nonsense") << QByteArray(5000, '\x33');
        QTest::newRow("only the first 64 bytes") << m_goodBytes.left(64);
        for (int percent : {30, 60, 90})
            QTest::addRow("cut at %d %%", percent) << m_goodBytes.left(m_goodBytes.size() * percent / 100);
    }
    void damaged()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".mp4");
        QFile f(path);
        QVERIFY(bytes.isNull() || (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()));
        f.close();
        KOVVideoSource s;
        cv::Mat frame;
        QCOMPARE(s.lastIndex(), -1);
        if (!s.open(path))
            QVERIFY(s.frameCount() == 0 && !s.read(frame) && !s.seek(3) && frame.empty());
        int n = 0;
        for (; s.read(frame) && n <= 30; ++n) {
            QCOMPARE(s.lastIndex(), n);
            const int code = KOVGen::decodeFrameIndex(frame);
            QVERIFY(code < 0 || code == n);
        }
        QVERIFY(n <= s.frameCount() || s.frameCount() == 0);
    }

    void sequentialAndSeek()
    {
        KOVVideoSource s;
        QVERIFY(s.open(m_good));
        QCOMPARE(s.frameCount(), 30);
        cv::Mat frame;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(s.read(frame));
            QCOMPARE(QPoint(KOVGen::decodeFrameIndex(frame), s.lastIndex()), QPoint(i, i));
        }
        for (int target : { 20, 0, 29, 1, 13, 0 }) {
            QVERIFY(s.seek(target) && s.read(frame));
            QCOMPARE(QPoint(KOVGen::decodeFrameIndex(frame), s.lastIndex()), QPoint(target, target));
        }
        QVERIFY(s.seek(-5) && s.read(frame)); // clamped
        QCOMPARE(s.lastIndex(), 0);
        QVERIFY(s.seek(500) && s.read(frame));
        QCOMPARE(s.lastIndex(), 29);
        // Reading past the end moves nothing.
        QVERIFY(!s.read(frame));
        QCOMPARE(s.lastIndex(), 29);
        QCOMPARE(s.nextIndex(), 30);
        s.release();
        QVERIFY(!s.read(frame));
        QCOMPARE(s.frameCount(), 0);
    }

private:
    QTemporaryDir m_dir;
    QString m_good;
    QByteArray m_goodBytes;
};

QTEST_GUILESS_MAIN(TstReviewRules)
#include "tst_reviewrules.moc"
