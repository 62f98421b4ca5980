#include "kovvideosource.h"

#include <algorithm>
#include <cmath>

bool KOVVideoSource::open(const QString& path)
{
    release();
    const std::string p = path.toUtf8().toStdString();
    // The second attempt is for files the imager is still flushing when the
    // user clicks them: the first open can see a truncated index.
    if (!m_capture.open(p) && !m_capture.open(p))
        return false;
    const double n = m_capture.get(cv::CAP_PROP_FRAME_COUNT);
    m_frameCount = (std::isfinite(n) && n > 0 && n < 1e9) ? int(n) : 0;
    m_nextIndex = 0;
    m_lastIndex = -1;
    m_resync = false;
    return true;
}

void KOVVideoSource::release()
{
    if (m_capture.isOpened())
        m_capture.release();
    m_frameCount = 0;
    m_nextIndex = 0;
    m_lastIndex = -1;
}

bool KOVVideoSource::read(cv::Mat& frame)
{
    if (!m_capture.isOpened() || m_nextIndex >= m_frameCount)
        return false;
    // After a failed read the decoder may have moved on without us; put it
    // back where our count says before trusting the next frame's index.
    if (m_resync) {
        if (!m_capture.set(cv::CAP_PROP_POS_FRAMES, double(m_nextIndex)))
            return false;
        m_resync = false;
    }
    cv::Mat f;
    if (!m_capture.read(f) || f.empty()) {
        m_resync = true;
        return false;
    }
    frame = f;
    m_lastIndex = m_nextIndex++;
    return true;
}

bool KOVVideoSource::seek(int index)
{
    if (!m_capture.isOpened() || m_frameCount <= 0)
        return false;
    index = std::max(0, std::min(index, m_frameCount - 1));
    // Sequential reading needs no seek; decoders seek to a key frame and
    // decode forward, which costs more than the frame itself.
    if (index == m_nextIndex && !m_resync)
        return true;
    if (!m_capture.set(cv::CAP_PROP_POS_FRAMES, double(index)))
        return false;
    m_nextIndex = index;
    m_resync = false;
    return true;
}
