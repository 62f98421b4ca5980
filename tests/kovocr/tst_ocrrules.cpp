// The OCR's rules without an engine: text clean-up and the reading's region.
#include "kovocrregion.h"
#include "kovocrtext.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

class TstOcrRules : public QObject
{
    Q_OBJECT
private slots:
    void ocrText_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("shown");
        QTest::newRow("three digits") << "905dB" << "90.5 dB";
        QTest::newRow("four digits") << "1000dB" << "100.0 dB";
        QTest::newRow("surrounding blanks trimmed") << "  905dB \n" << "90.5 dB";
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
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("ok");
        QTest::newRow("frame size colour") << 600 << 1024 << CV_8UC3 << true;
        QTest::newRow("exactly the far corner") << 73 << 765 << CV_8UC3 << true;
        QTest::newRow("one pixel too narrow") << 73 << 764 << CV_8UC3 << false;
        QTest::newRow("one pixel too low") << 72 << 765 << CV_8UC3 << false;
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
        cv::Mat img(600, 1024, CV_8UC3, cv::Scalar(255, 255, 255));
        img(cv::Rect(KOVOcrRegion::kX, KOVOcrRegion::kY, 1, 1)).setTo(cv::Scalar(0, 0, 0));
        img(cv::Rect(KOVOcrRegion::kX + 1, KOVOcrRegion::kY, 1, 1)).setTo(cv::Scalar(126, 126, 126));
        img(cv::Rect(KOVOcrRegion::kX + 2, KOVOcrRegion::kY, 1, 1)).setTo(cv::Scalar(125, 125, 125));
        cv::Mat region;
        QVERIFY(KOVOcrRegion::cut(img, region));
        const cv::Mat bin = KOVOcrRegion::binarise(region);
        QCOMPARE(bin.type(), CV_8UC1);
        QCOMPARE(cv::Size(bin.cols, bin.rows), cv::Size(70, 25));
        QVERIFY(bin.isContinuous());
        QCOMPARE(int(bin.at<uchar>(5, 5)), 0);
        QCOMPARE(int(bin.at<uchar>(5, 6)), 255); // above 125
        QCOMPARE(int(bin.at<uchar>(5, 7)), 0); // 125 is not above 125
        QCOMPARE(cv::countNonZero(bin), 70 * 25 - 2); // margin white
        // A region of the wrong shape leaves the canvas blank rather than crash.
        QCOMPARE(cv::countNonZero(KOVOcrRegion::binarise(cv::Mat(40, 90, CV_8UC3))), 70 * 25);
    }
};

QTEST_GUILESS_MAIN(TstOcrRules)
#include "tst_ocrrules.moc"
