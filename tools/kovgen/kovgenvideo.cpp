// Videos whose every frame says which frame it is, to people and to programs.
#include "kovgen.h"

#include <QFile>
#include <QFileInfo>

#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

namespace KOVGen {

namespace {

// The band: 20 cells across the full width along the bottom 40 rows. Cells
// are big and flat, so chroma subsampling, blocking and scaling to a quarter
// of the size leave their centres clearly black or white.
constexpr int kCells = 20;
constexpr int kBits = 16;
constexpr int kBandTop = 560; // of 600

int parity(int v, int first)
{
    int p = 0;
    for (int b = first; b < kBits; b += 2)
        p ^= (v >> b) & 1;
    return p;
}

// Cell values: white reference, bits 15..0, parity of odd bits, parity of
// even bits, black reference.
QVector<int> cellsFor(int index)
{
    QVector<int> c(kCells);
    c[0] = 1;
    for (int b = 0; b < kBits; ++b)
        c[1 + b] = (index >> (kBits - 1 - b)) & 1;
    c[17] = parity(index, 1);
    c[18] = parity(index, 0);
    c[19] = 0;
    return c;
}

} // namespace

void drawFrameCode(cv::Mat& bgr, int index)
{
    const QVector<int> c = cellsFor(index & 0xFFFF);
    const int top = bgr.rows * kBandTop / kFrameHeight;
    for (int i = 0; i < kCells; ++i) {
        const int x0 = bgr.cols * i / kCells;
        const int x1 = bgr.cols * (i + 1) / kCells;
        const cv::Scalar v = c[i] ? cv::Scalar(255, 255, 255) : cv::Scalar(0, 0, 0);
        cv::rectangle(bgr, cv::Rect(x0, top, x1 - x0, bgr.rows - top), v, cv::FILLED);
    }
}

int decodeFrameIndex(const cv::Mat& image)
{
    if (image.empty() || image.depth() != CV_8U || image.cols < kCells * 2 || image.rows < 30)
        return -1;
    cv::Mat grey;
    if (image.channels() == 3)
        cv::cvtColor(image, grey, cv::COLOR_BGR2GRAY);
    else if (image.channels() == 4)
        cv::cvtColor(image, grey, cv::COLOR_BGRA2GRAY);
    else if (image.channels() == 1)
        grey = image;
    else
        return -1;
    const int top = grey.rows * kBandTop / kFrameHeight;
    const int h = grey.rows - top;
    QVector<double> mean(kCells);
    for (int i = 0; i < kCells; ++i) {
        const int x0 = grey.cols * i / kCells;
        const int w = grey.cols * (i + 1) / kCells - x0;
        // The central half of the cell: edges blur under scaling and coding.
        const cv::Rect inner(x0 + w / 4, top + h / 4, std::max(1, w / 2), std::max(1, h / 2));
        mean[i] = cv::mean(grey(inner))[0];
    }
    const double white = mean[0];
    const double black = mean[kCells - 1];
    if (white - black < 100)
        return -1;
    const double mid = (white + black) / 2;
    const double margin = (white - black) / 4;
    QVector<int> bits(kCells);
    for (int i = 0; i < kCells; ++i) {
        if (qAbs(mean[i] - mid) < margin)
            return -1; // neither black nor white: not our band
        bits[i] = mean[i] > mid ? 1 : 0;
    }
    int index = 0;
    for (int b = 0; b < kBits; ++b)
        index = (index << 1) | bits[1 + b];
    if (cellsFor(index) != bits)
        return -1;
    return index;
}

int decodeFrameIndex(const QImage& image)
{
    if (image.isNull())
        return -1;
    const QImage g = image.convertToFormat(QImage::Format_Grayscale8);
    const cv::Mat m(g.height(), g.width(), CV_8UC1, const_cast<uchar*>(g.constBits()), size_t(g.bytesPerLine()));
    return decodeFrameIndex(m);
}

cv::Mat videoFrame(int index, const VideoOptions& opt)
{
    Frame f;
    if (index < opt.values.size())
        f = opt.values[index];
    else
        f = makeFrames(opt.seed, index + 1).value(index);
    cv::Mat m = acousticImage(opt.seed, QPoint(f.x, f.y), readingText(f.maxSPL));
    const std::string number = std::to_string(index);
    int base = 0;
    const double scale = 5.0;
    const cv::Size sz = cv::getTextSize(number, cv::FONT_HERSHEY_SIMPLEX, scale, 14, &base);
    const cv::Point org((kFrameWidth - sz.width) / 2, 330 + sz.height / 2);
    cv::putText(m, number, org, cv::FONT_HERSHEY_SIMPLEX, scale, cv::Scalar(0, 0, 0), 22, cv::LINE_AA);
    cv::putText(m, number, org, cv::FONT_HERSHEY_SIMPLEX, scale, cv::Scalar(255, 255, 255), 10, cv::LINE_AA);
    drawFrameCode(m, index);
    return m;
}

bool writeVideo(const QString& path, const VideoOptions& opt, QString* error)
{
    auto fail = [error](const QString& e) {
        if (error)
            *error = e;
        return false;
    };
    if (opt.frames <= 0 || opt.fps <= 0)
        return fail(QStringLiteral("a video needs frames and a frame rate"));
    VideoOptions o = opt;
    if (o.values.size() < o.frames)
        o.values = makeFrames(o.seed, o.frames);
    const std::string file = QFile::encodeName(path).toStdString();
    const cv::Size size(kFrameWidth, kFrameHeight);
    cv::VideoWriter w;
    for (const char* cc : {"avc1", "mp4v"}) {
        if (w.open(file, cv::CAP_FFMPEG, cv::VideoWriter::fourcc(cc[0], cc[1], cc[2], cc[3]), o.fps, size))
            break;
    }
    if (!w.isOpened())
        return fail(QStringLiteral("no MP4 encoder could open %1").arg(path));
    for (int i = 0; i < o.frames; ++i)
        w.write(videoFrame(i, o));
    w.release();
    if (QFileInfo(path).size() <= 0)
        return fail(QStringLiteral("the encoder wrote nothing to %1").arg(path));
    return true;
}

} // namespace KOVGen
