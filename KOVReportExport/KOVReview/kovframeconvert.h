#ifndef KOVFRAMECONVERT_H
#define KOVFRAMECONVERT_H

#include <QImage>

#include <opencv2/core.hpp>

// Conversions between OpenCV frames (BGR order) and QImage.
class KOVFrameConvert
{
public:
    // Always a deep copy, rows read with the matrix's own stride in bytes, so
    // the image stays valid after the decoder reuses its buffer and a
    // sub-matrix (region of a larger frame) converts correctly.
    // 8-bit 3 channels -> RGB888 (blue and red swapped), 8-bit 4 channels ->
    // ARGB32, 8-bit 1 channel -> Grayscale8; anything else a null image.
    static QImage toQImage(const cv::Mat& mat);

    // For display: an 8-bit BGR frame as Format_RGB32, the raster engine's
    // own pixel format, so painting needs no further conversion. Other
    // types as toQImage.
    static QImage toDisplayImage(const cv::Mat& mat);
    // The same, written into reuse's pixels (and reuse left null) when reuse
    // is an RGB32 image of the frame's size that shares its pixels with no
    // other image; otherwise reuse is left as it is and a new image made.
    static QImage toDisplayImage(const cv::Mat& mat, QImage& reuse);
    // A decoded frame as the review page shows it: at the imager's size
    // (1024x600) whatever the file holds, since the OCR region is defined on
    // that size; then as toDisplayImage(mat, reuse). The frame at that size
    // in *sized when asked for (the OCR reads it).
    static QImage toShownImage(const cv::Mat& frame, QImage& reuse, cv::Mat* sized = nullptr);

    // Indexed8/Grayscale8 -> 8UC1, RGB32/ARGB32(_Premultiplied) -> 8UC4,
    // RGB888 -> 8UC3 (to BGR when swapRB). Without clone the matrix shares
    // the image's pixels and is only valid while the image is. Other formats
    // give an empty matrix.
    static cv::Mat toMat(const QImage& image, bool clone, bool swapRB);
};

#endif // KOVFRAMECONVERT_H
