#include "kovframeconvert.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstring>

namespace {

QImage copyRows(const cv::Mat& mat, QImage::Format format, int bytesPerPixel)
{
    QImage img(mat.cols, mat.rows, format);
    if (img.isNull())
        return QImage();
    const size_t rowBytes = size_t(mat.cols) * size_t(bytesPerPixel);
    for (int y = 0; y < mat.rows; ++y)
        std::memcpy(img.scanLine(y), mat.ptr(y), rowBytes);
    return img;
}

} // namespace

QImage KOVFrameConvert::toQImage(const cv::Mat& mat)
{
    if (mat.empty() || mat.dims != 2)
        return QImage();
    switch (mat.type()) {
    case CV_8UC3: {
        // One pass: swap into the image's own buffer, which keeps its stride.
        QImage img(mat.cols, mat.rows, QImage::Format_RGB888);
        if (img.isNull())
            return QImage();
        cv::Mat dst(img.height(), img.width(), CV_8UC3, img.bits(), size_t(img.bytesPerLine()));
        cv::cvtColor(mat, dst, cv::COLOR_BGR2RGB);
        return img;
    }
    case CV_8UC4:
        return copyRows(mat, QImage::Format_ARGB32, 4);
    case CV_8UC1:
        return copyRows(mat, QImage::Format_Grayscale8, 1);
    default:
        return QImage();
    }
}

QImage KOVFrameConvert::toDisplayImage(const cv::Mat& mat)
{
    QImage none;
    return toDisplayImage(mat, none);
}

QImage KOVFrameConvert::toShownImage(const cv::Mat& frame, QImage& reuse, cv::Mat* sized)
{
    cv::Mat at;
    if (frame.cols == 1024 && frame.rows == 600)
        at = frame;
    else
        cv::resize(frame, at, cv::Size(1024, 600), 0, 0, cv::INTER_LINEAR);
    if (sized)
        *sized = at;
    return toDisplayImage(at, reuse);
}

QImage KOVFrameConvert::toDisplayImage(const cv::Mat& mat, QImage& reuse)
{
    if (mat.empty() || mat.dims != 2 || mat.type() != CV_8UC3)
        return toQImage(mat);
    // RGB32 is 0xffRRGGBB, in memory B, G, R, 0xff on little-endian machines:
    // exactly OpenCV's BGRA with an opaque alpha.
    QImage img;
    // Only an image nobody else shares is written over.
    if (reuse.isDetached() && reuse.format() == QImage::Format_RGB32 && reuse.width() == mat.cols
        && reuse.height() == mat.rows)
        img = std::move(reuse);
    else
        img = QImage(mat.cols, mat.rows, QImage::Format_RGB32);
    if (img.isNull())
        return QImage();
    cv::Mat dst(img.height(), img.width(), CV_8UC4, img.bits(), size_t(img.bytesPerLine()));
    // In bands small enough for OpenCV to convert in the calling thread. A
    // whole frame goes to its thread pool, whose workers then spin in
    // sched_yield on every core for a while after each frame: during
    // playback that took the cores from the video decoder's own threads,
    // for a conversion that is no faster in parallel (it is bound by memory
    // bandwidth, not arithmetic).
    const int band = std::max(1, 32768 / std::max(1, mat.cols));
    for (int y = 0; y < mat.rows; y += band) {
        const cv::Range r(y, std::min(mat.rows, y + band));
        cv::Mat d = dst.rowRange(r);
        cv::cvtColor(mat.rowRange(r), d, cv::COLOR_BGR2BGRA);
    }
    return img;
}

cv::Mat KOVFrameConvert::toMat(const QImage& image, bool clone, bool swapRB)
{
    if (image.isNull())
        return cv::Mat();
    // QImage's bits() on a const image do not detach; the cast only satisfies
    // cv::Mat's constructor, which never writes unless the caller does.
    uchar* bits = const_cast<uchar*>(image.constBits());
    const size_t stride = size_t(image.bytesPerLine());
    switch (image.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8: {
        cv::Mat m(image.height(), image.width(), CV_8UC1, bits, stride);
        return clone ? m.clone() : m;
    }
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: {
        cv::Mat m(image.height(), image.width(), CV_8UC4, bits, stride);
        return clone ? m.clone() : m;
    }
    case QImage::Format_RGB888: {
        cv::Mat m(image.height(), image.width(), CV_8UC3, bits, stride);
        if (swapRB) {
            cv::Mat out;
            cv::cvtColor(m, out, cv::COLOR_RGB2BGR);
            return out;
        }
        return clone ? m.clone() : m;
    }
    default:
        return cv::Mat();
    }
}
