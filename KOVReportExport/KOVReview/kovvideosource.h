#ifndef KOVVIDEOSOURCE_H
#define KOVVIDEOSOURCE_H

#include <QString>

#include <string>

#include <opencv2/core.hpp>
#include <opencv2/videoio.hpp>

// A video read frame by frame. It keeps its own count of the frames actually
// read instead of asking the decoder for its position, which some backends
// report one ahead or approximately after a seek: the index of the frame last
// returned is what the review page shows and what its information and locked
// frames refer to.
class KOVVideoSource
{
public:
    KOVVideoSource() = default;

    // Opens path (UTF-8), trying a second time once; false leaves the source
    // closed with a frame count of 0.
    bool open(const QString& path);
    void release();
    bool isOpened() const { return m_capture.isOpened(); }

    // Closes the decoder and drops its frame buffers (tens of megabytes for
    // the imager's videos) but keeps the file, the frame count and the
    // position: the next read() or seek() opens the file again and goes on
    // from the same frame. For a page that is not on screen.
    void suspend();
    bool isSuspended() const { return m_suspended; }

    // The container's frame count; it may claim more frames than can be read.
    int frameCount() const { return m_frameCount; }
    // Index the next read returns.
    int nextIndex() const { return m_nextIndex; }
    // Index of the frame last read successfully, -1 before the first.
    int lastIndex() const { return m_lastIndex; }

    // Reads the frame at nextIndex(); on failure nothing moves. The frame
    // shares the source's buffer, which the next read overwrites.
    bool read(cv::Mat& frame);
    // Positions the next read at index (clamped to 0 .. count - 1).
    bool seek(int index);

private:
    bool openCapture();
    bool reopenAt(int index);
    bool resume();

    std::string m_path;
    cv::VideoCapture m_capture;
    cv::Mat m_frame;
    int m_frameCount = 0;
    int m_nextIndex = 0;
    int m_lastIndex = -1;
    bool m_needSeek = false;
    bool m_suspended = false;
};

#endif // KOVVIDEOSOURCE_H
