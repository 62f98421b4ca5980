#include "kovocrregion.h"

#include <opencv2/imgproc.hpp>

namespace {

// Any depth to 8 bit, keeping the visible range: 16-bit pictures use the full
// 0..65535, float ones 0..1.
cv::Mat to8Bit(const cv::Mat& m)
{
    switch (m.depth()) {
    case CV_8U:
        return m;
    case CV_8S:
    case CV_16S:
    case CV_32S: {
        cv::Mat out;
        m.convertTo(out, CV_8U); // saturates negative values to 0
        return out;
    }
    case CV_16U: {
        cv::Mat out;
        m.convertTo(out, CV_8U, 1.0 / 257.0);
        return out;
    }
    default: {
        cv::Mat out;
        m.convertTo(out, CV_8U, 255.0);
        return out;
    }
    }
}

} // namespace

bool KOVOcrRegion::cut(const cv::Mat& image, cv::Mat& out)
{
    if (image.empty() || image.dims != 2)
        return false;
    if (image.cols < kX + kWidth || image.rows < kY + kHeight)
        return false;
    const cv::Mat patch = to8Bit(image(cv::Rect(kX, kY, kWidth, kHeight)));
    cv::Mat bgr;
    switch (patch.channels()) {
    case 1:
        cv::cvtColor(patch, bgr, cv::COLOR_GRAY2BGR);
        break;
    case 3:
        bgr = patch.clone();
        break;
    case 4:
        cv::cvtColor(patch, bgr, cv::COLOR_BGRA2BGR);
        break;
    default:
        return false;
    }
    out = bgr;
    return true;
}

cv::Mat KOVOcrRegion::binarise(const cv::Mat& region)
{
    cv::Mat canvas(kCanvasHeight, kCanvasWidth, CV_8UC3, cv::Scalar(255, 255, 255));
    if (region.type() == CV_8UC3 && region.cols <= kWidth && region.rows <= kHeight)
        region.copyTo(canvas(cv::Rect(kMargin, kMargin, region.cols, region.rows)));
    cv::Mat grey;
    cv::cvtColor(canvas, grey, cv::COLOR_BGR2GRAY);
    cv::Mat bin;
    cv::threshold(grey, bin, 125, 255, cv::THRESH_BINARY);
    return bin;
}
