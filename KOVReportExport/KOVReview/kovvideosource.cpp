#include "kovvideosource.h"

#include <algorithm>
#include <cmath>

bool KOVVideoSource::openCapture()
{
    // FFmpeg only: it reads the imager's MP4 files, and the other backends
    // OpenCV would try after it on an unreadable file (GStreamer) start
    // device probing and plug-ins that a file viewer has no use for.
    return m_capture.open(m_path, cv::CAP_FFMPEG);
}

bool KOVVideoSource::open(const QString& path)
{
    release();
    m_path = path.toUtf8().toStdString();
    // The second attempt is for a file still being flushed when it is clicked.
    if (!openCapture() && !openCapture())
        return false;
    const double n = m_capture.get(cv::CAP_PROP_FRAME_COUNT);
    m_frameCount = (std::isfinite(n) && n > 0 && n < 1e9) ? int(n) : 0;
    return true;
}

void KOVVideoSource::release()
{
    if (m_capture.isOpened())
        m_capture.release();
    m_frameCount = 0;
    m_nextIndex = 0;
    m_lastIndex = -1;
    m_needSeek = false;
    m_suspended = false;
}

void KOVVideoSource::suspend()
{
    if (!m_capture.isOpened())
        return;
    m_capture.release();
    m_frame.release();
    m_suspended = true;
}

bool KOVVideoSource::resume()
{
    if (!m_suspended)
        return true;
    if (!openCapture())
        return false; // still suspended: a later read tries again
    m_suspended = false;
    // A fresh decoder stands before frame 0.
    m_needSeek = m_nextIndex != 0;
    return true;
}

bool KOVVideoSource::reopenAt(int index)
{
    m_capture.release();
    if (!openCapture())
        return false;
    for (int i = 0; i < index; ++i)
        if (!m_capture.grab())
            return false;
    return true;
}

bool KOVVideoSource::read(cv::Mat& frame)
{
    if (m_nextIndex >= m_frameCount || !resume() || !m_capture.isOpened())
        return false;
    // Decoding into the same buffer every time saves a 1.8 MB allocation per
    // frame; callers that keep a frame beyond the next read copy it.
    cv::Mat& f = m_frame;
    if (m_needSeek) {
        // The decoder's own seek lands on frame 0 unreliably (after the last
        // frame of a short video it reports success and then reads nothing),
        // so the start is reached by opening again; other frames by seeking,
        // and by decoding forward from the start if that read fails.
        bool ok = m_nextIndex == 0 ? reopenAt(0) : m_capture.set(cv::CAP_PROP_POS_FRAMES, double(m_nextIndex));
        ok = ok && m_capture.read(f) && !f.empty();
        if (!ok && m_nextIndex > 0)
            ok = reopenAt(m_nextIndex) && m_capture.read(f) && !f.empty();
        if (!ok)
            return false; // still to seek on the next attempt
        m_needSeek = false;
    } else if (!m_capture.read(f) || f.empty()) {
        // The decoder may have moved on without us: position it by our
        // count before trusting the next frame's index.
        m_needSeek = true;
        return false;
    }
    frame = f;
    m_lastIndex = m_nextIndex++;
    return true;
}

bool KOVVideoSource::seek(int index)
{
    if (!(m_capture.isOpened() || m_suspended) || m_frameCount <= 0)
        return false;
    index = std::max(0, std::min(index, m_frameCount - 1));
    // Sequential reading needs no seek, which would cost a decode from the
    // previous key frame.
    if (index == m_nextIndex && !m_needSeek)
        return true;
    m_nextIndex = index;
    m_needSeek = true;
    return true;
}
