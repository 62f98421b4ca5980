#ifndef KOVOCRREGION_H
#define KOVOCRREGION_H

#include <opencv2/core.hpp>

// Where the imager burns the maximum sound-pressure reading into a 1024 x 600
// frame, and how that patch is prepared for the engine. A picture is read at
// its own size, so a picture smaller than the region's far corner has no
// reading.
class KOVOcrRegion
{
public:
    static constexpr int kX = 705;
    static constexpr int kY = 58;
    static constexpr int kWidth = 60;
    static constexpr int kHeight = 15;
    // White margin around the patch: the engine misreads glyphs that touch
    // the image border.
    static constexpr int kMargin = 5;
    static constexpr int kCanvasWidth = kWidth + 2 * kMargin;   // 70
    static constexpr int kCanvasHeight = kHeight + 2 * kMargin; // 25

    // A deep copy of the region as 8-bit BGR, whatever the image's depth and
    // channels (grey and alpha pictures are converted). False, out untouched,
    // when the image is empty or does not hold the whole region.
    static bool cut(const cv::Mat& image, cv::Mat& out);

    // The region on its white canvas, grey, thresholded at 125: an 8-bit,
    // one-channel image of kCanvasWidth x kCanvasHeight, continuous.
    static cv::Mat binarise(const cv::Mat& region);
};

#endif // KOVOCRREGION_H
