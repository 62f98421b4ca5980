#include "kovscreenshot.h"
#include "ui_kovscreenshot.h"

#include "kovframeconvert.h"

#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

KOVScreenshot::KOVScreenshot(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui_KOVScreenshot)
{
    ui->setupUi(this);
    setWindowTitle(tr("截取的视频片段"));
    setWindowIcon(QIcon(QStringLiteral("./OEM/icon.png")));
    m_playTimer = new QTimer(this);
    m_playTimer->setInterval(40);
    connect(m_playTimer, &QTimer::timeout, this, &KOVScreenshot::slotTimeOut);
}

KOVScreenshot::~KOVScreenshot()
{
    delete m_playTimer;
    delete ui;
    m_capture.release();
}

bool KOVScreenshot::isPlaying() const
{
    return m_playTimer->isActive();
}

void KOVScreenshot::showScreenshot(QString path)
{
    const QFileInfo info(path);
    if (path == m_path && info.lastModified() == m_modified && info.size() == m_size) {
        show();
        return;
    }
    m_playTimer->stop();
    const std::string name = path.toUtf8().toStdString();
    // The back end the review page reads videos with; trying every back end
    // on a broken file only adds noise and device scans.
    if (!m_capture.open(name, cv::CAP_FFMPEG))
        m_capture.open(name, cv::CAP_FFMPEG);
    if (!m_capture.isOpened()) {
        // Nothing of an earlier clip stays on show, and the next request for
        // this path tries again.
        m_path.clear();
        m_total = 0;
        m_index = 0;
        ui->label->clear();
        {
            const QSignalBlocker block(ui->horizontalSlider);
            ui->horizontalSlider->setRange(0, 0);
        }
        show();
        return;
    }
    m_path = path;
    m_modified = info.lastModified();
    m_size = info.size();
    // The header's count is not trusted: each frame takes at least its
    // 16-byte index entry in the file, and playback ends at the last frame
    // that can be read, whatever the header promised.
    const double claimed = m_capture.get(cv::CAP_PROP_FRAME_COUNT);
    const double most = std::min(1e9, double(m_size) / 16);
    m_total = (std::isfinite(claimed) && claimed > 0) ? int(std::min(claimed, most)) : 0;
    {
        const QSignalBlocker block(ui->horizontalSlider);
        ui->horizontalSlider->setRange(0, std::max(0, m_total - 1));
    }
    m_index = int(m_capture.get(cv::CAP_PROP_POS_FRAMES));
    if (ui->horizontalSlider->value() != m_index)
        ui->horizontalSlider->setValue(m_index);
    else
        updateImg();
    show();
}

void KOVScreenshot::mousePressEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    if (m_playTimer->isActive())
        m_playTimer->stop();
    else
        m_playTimer->start();
}

void KOVScreenshot::on_horizontalSlider_valueChanged(int value)
{
    if (m_playTimer->isActive())
        m_playTimer->stop();
    m_index = value;
    m_capture.set(cv::CAP_PROP_POS_FRAMES, value);
    updateImg();
}

void KOVScreenshot::slotTimeOut()
{
    if (m_index >= m_total - 1) {
        m_playTimer->stop();
        m_index = 0;
        m_capture.set(cv::CAP_PROP_POS_FRAMES, 0);
        return;
    }
    ++m_index;
    {
        // Not through the seek handler: it would stop the timer, seek back
        // to m_index and decode a frame that the next read covers at once.
        const QSignalBlocker block(ui->horizontalSlider);
        ui->horizontalSlider->setValue(m_index);
    }
    // The picture runs one frame ahead of the slider (the last frame at the
    // end), and the capture stands after it, as a seek to m_index and two
    // reads would leave it. Sequential playback needs no seek at all.
    const int ahead = std::min(m_index + 1, m_total - 1);
    if (int(m_capture.get(cv::CAP_PROP_POS_FRAMES)) != ahead)
        m_capture.set(cv::CAP_PROP_POS_FRAMES, ahead);
    if (!updateImg() && ahead > m_index) {
        // Fewer frames than the header said: the clip ends here.
        m_total = ahead;
        const QSignalBlocker block(ui->horizontalSlider);
        ui->horizontalSlider->setRange(0, m_total - 1);
    }
    m_playTimer->start();
}

bool KOVScreenshot::updateImg()
{
    cv::Mat frame;
    if (!m_capture.isOpened() || !m_capture.read(frame) || frame.empty())
        return false;
    const cv::Size size(ui->label->width(), ui->label->height());
    cv::Mat sized;
    if (frame.size() == size)
        sized = frame;
    else
        cv::resize(frame, sized, size, 0, 0, cv::INTER_LINEAR);
    ui->label->setPixmap(QPixmap::fromImage(KOVFrameConvert::toDisplayImage(sized)));
    return true;
}

QImage KOVScreenshot::MatToQImage(const cv::Mat& mat)
{
    return KOVFrameConvert::toQImage(mat);
}
