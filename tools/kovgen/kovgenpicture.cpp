// False-colour acoustic pictures with the burnt-in reading.
#include "kovgen.h"
#include "kovgenrandom.h"

#include <QFile>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

namespace KOVGen {

namespace {

// Hershey fonts are built into OpenCV, so pictures look the same whatever
// fonts the machine has.
constexpr int kReadingFont = cv::FONT_HERSHEY_SIMPLEX;

cv::Mat scene(quint64 seed)
{
    KOVGenRandom r(seed);
    cv::Mat m(kFrameHeight, kFrameWidth, CV_8UC3);
    const int top = r.range(70, 110);
    const int bottom = r.range(20, 50);
    for (int y = 0; y < m.rows; ++y) {
        const int v = top + (bottom - top) * y / m.rows;
        m.row(y).setTo(cv::Scalar(v + 6, v + 3, v));
    }
    // Pipes, cabinets and insulators as plain grey shapes.
    for (int i = 0; i < 9; ++i) {
        const int g = r.range(60, 190);
        const cv::Point a(r.range(0, kFrameWidth), r.range(60, kFrameHeight - 60));
        if (i % 3 == 0) {
            const cv::Point b(r.range(0, kFrameWidth), a.y + r.range(-80, 80));
            cv::line(m, a, b, cv::Scalar(g, g, g), r.range(8, 26), cv::LINE_AA);
        } else if (i % 3 == 1) {
            cv::rectangle(m, cv::Rect(a.x, a.y, r.range(40, 180), r.range(40, 160)), cv::Scalar(g, g, g - 10),
                          cv::FILLED);
        } else {
            cv::circle(m, a, r.range(12, 50), cv::Scalar(g - 10, g, g), cv::FILLED, cv::LINE_AA);
        }
    }
    return m;
}

void heatBlob(cv::Mat& m, QPoint hotSpot, double sigma)
{
    const int reach = int(3 * sigma);
    const cv::Rect box = cv::Rect(hotSpot.x() - reach, hotSpot.y() - reach, 2 * reach + 1, 2 * reach + 1) &
                         cv::Rect(0, 0, m.cols, m.rows);
    if (box.empty())
        return;
    cv::Mat level(box.size(), CV_8UC1);
    for (int y = 0; y < box.height; ++y) {
        for (int x = 0; x < box.width; ++x) {
            const double dx = box.x + x - hotSpot.x();
            const double dy = box.y + y - hotSpot.y();
            level.at<uchar>(y, x) = cv::saturate_cast<uchar>(255.0 * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma)));
        }
    }
    cv::Mat colour;
    cv::applyColorMap(level, colour, cv::COLORMAP_JET);
    cv::Mat roi = m(box);
    for (int y = 0; y < box.height; ++y) {
        for (int x = 0; x < box.width; ++x) {
            const int v = level.at<uchar>(y, x);
            if (v < 40)
                continue;
            const double a = 0.3 + 0.6 * v / 255.0;
            cv::Vec3b& p = roi.at<cv::Vec3b>(y, x);
            const cv::Vec3b& c = colour.at<cv::Vec3b>(y, x);
            for (int k = 0; k < 3; ++k)
                p[k] = cv::saturate_cast<uchar>(p[k] * (1 - a) + c[k] * a);
        }
    }
    cv::drawMarker(m, cv::Point(hotSpot.x(), hotSpot.y()), cv::Scalar(255, 255, 255), cv::MARKER_CROSS, 24, 2);
}

void colourBar(cv::Mat& m)
{
    const cv::Rect bar(990, 110, 18, 380);
    cv::Mat level(bar.height, 1, CV_8UC1);
    for (int y = 0; y < bar.height; ++y)
        level.at<uchar>(y, 0) = uchar(255 - 255 * y / (bar.height - 1));
    cv::Mat colour;
    cv::applyColorMap(level, colour, cv::COLORMAP_JET);
    cv::resize(colour, m(bar), bar.size(), 0, 0, cv::INTER_NEAREST);
    cv::rectangle(m, bar, cv::Scalar(255, 255, 255), 1);
}

} // namespace

void drawReading(cv::Mat& bgr, const QString& reading)
{
    const cv::Rect r = kOcrRegion;
    // A white field a little larger than the region, so the region's own
    // border is white and the text stands alone after thresholding.
    cv::rectangle(bgr, cv::Rect(r.x - 5, r.y - 4, r.width + 10, r.height + 8), cv::Scalar(255, 255, 255), cv::FILLED);
    if (reading.isEmpty())
        return;
    // Tuned against Tesseract 5 reading the region as one word: digits 13 px
    // tall, drawn four times larger and scaled down (smooth strokes), and one
    // extra pixel after the point, without which "7dB" often reads "74B".
    // Over every reading from 20.0dB to 99.9dB this misreads only "77.7dB".
    constexpr int kSuper = 4;
    constexpr double kDigitHeight = 13.0;
    const std::string text = reading.toStdString();
    int base = 0;
    double scale = kDigitHeight / cv::getTextSize("8", kReadingFont, 1.0, 1, &base).height;
    auto advance = [&](char c, double s) {
        return cv::getTextSize(std::string(1, c), kReadingFont, s, 1, &base).width + (c == '.' ? 1 : 0);
    };
    auto width = [&](double s) {
        int w = 0;
        for (char c : text)
            w += advance(c, s);
        return w;
    };
    while (width(scale) > r.width - 1 && scale > 0.05)
        scale *= 0.97;
    cv::Mat big(r.height * kSuper, r.width * kSuper, CV_8UC3);
    int shift = 0; // in big pixels, for texts that reach below the digits ("N/A")
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int h = cv::getTextSize("8", kReadingFont, scale, 1, &base).height;
        big.setTo(cv::Scalar(255, 255, 255));
        double x = (r.width - width(scale)) / 2.0;
        const int baseline = int((r.height + h) / 2.0 * kSuper) + shift;
        for (char c : text) {
            cv::putText(big, std::string(1, c), cv::Point(int(x * kSuper), baseline), kReadingFont, scale * kSuper,
                        cv::Scalar(0, 0, 0), kSuper, cv::LINE_AA);
            x += advance(c, scale);
        }
        cv::Mat ink;
        cv::cvtColor(big, ink, cv::COLOR_BGR2GRAY);
        cv::threshold(ink, ink, 250, 255, cv::THRESH_BINARY_INV);
        const cv::Rect box = cv::boundingRect(ink);
        if (box.y >= kSuper && box.br().y <= big.rows - kSuper)
            break; // a white pixel row above and below, as for plain digits
        if (box.height > big.rows - 2 * kSuper - 2) {
            scale *= 0.9;
            shift = 0;
        } else {
            shift += (big.rows - box.height) / 2 - box.y;
        }
    }
    cv::resize(big, bgr(r), r.size(), 0, 0, cv::INTER_AREA);
}

cv::Mat acousticImage(quint64 seed, QPoint hotSpot, const QString& reading)
{
    cv::Mat m = scene(seed);
    heatBlob(m, hotSpot, 40 + double(seed % 5) * 4);
    colourBar(m);
    cv::rectangle(m, cv::Rect(0, 0, kFrameWidth, 40), cv::Scalar(30, 30, 30), cv::FILLED);
    cv::putText(m, "KOV-U200  20-40kHz", cv::Point(12, 27), cv::FONT_HERSHEY_SIMPLEX, 0.7, cv::Scalar(230, 230, 230), 1,
                cv::LINE_AA);
    drawReading(m, reading);
    return m;
}

bool writeJpeg(const QString& path, const cv::Mat& bgr, int quality)
{
    std::vector<uchar> buf;
    if (bgr.empty() || !cv::imencode(".jpg", bgr, buf, {cv::IMWRITE_JPEG_QUALITY, quality}))
        return false;
    QFile f(path); // QFile, not imwrite: folder names hold Chinese characters
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(reinterpret_cast<const char*>(buf.data()), qint64(buf.size())) == qint64(buf.size());
}

bool writePicture(const QString& path, quint64 seed, const Frame& frame)
{
    return writeJpeg(path, acousticImage(seed, QPoint(frame.x, frame.y), readingText(frame.maxSPL)));
}

bool writePicture(const QString& path, const QString& reading, quint64 seed, QPoint hotSpot)
{
    return writeJpeg(path, acousticImage(seed, hotSpot, reading));
}

bool writeThumbnail(const QString& path, const cv::Mat& bgr)
{
    if (bgr.empty())
        return false;
    cv::Mat small;
    cv::resize(bgr, small, cv::Size(160, 94), 0, 0, cv::INTER_AREA);
    return writeJpeg(path, small, 80);
}

const QByteArray& tinyJpeg()
{
    static const QByteArray bytes = [] {
        cv::Mat m(38, 64, CV_8UC3, cv::Scalar(60, 50, 40));
        cv::circle(m, cv::Point(32, 19), 10, cv::Scalar(0, 0, 255), cv::FILLED);
        std::vector<uchar> buf;
        cv::imencode(".jpg", m, buf, {cv::IMWRITE_JPEG_QUALITY, 80});
        return QByteArray(reinterpret_cast<const char*>(buf.data()), int(buf.size()));
    }();
    return bytes;
}

} // namespace KOVGen
