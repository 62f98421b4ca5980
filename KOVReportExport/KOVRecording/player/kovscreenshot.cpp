#include "kovscreenshot.h"
#include "ui_kovscreenshot.h"

#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <opencv2/imgproc.hpp>

#include <algorithm>

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
    m_total = int(m_capture.get(cv::CAP_PROP_FRAME_COUNT));
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
    // The seek shows frame m_index; the read after it the frame beyond, so
    // the picture runs one frame ahead of the slider.
    ui->horizontalSlider->setValue(m_index);
    updateImg();
    m_playTimer->start();
}

void KOVScreenshot::updateImg()
{
    cv::Mat frame;
    if (!m_capture.isOpened() || !m_capture.read(frame) || frame.empty())
        return;
    cv::Mat sized;
    cv::resize(frame, sized, cv::Size(ui->label->width(), ui->label->height()), 0, 0, cv::INTER_LINEAR);
    ui->label->setPixmap(QPixmap::fromImage(MatToQImage(sized)));
}

QImage KOVScreenshot::MatToQImage(const cv::Mat& mat)
{
    if (mat.depth() != CV_8U || mat.dims != 2)
        return QImage();
    // Row stride in bytes from the matrix itself: a region or a padded row
    // is not width times channels.
    const int stride = int(mat.step[0]);
    switch (mat.channels()) {
    case 3:
        return QImage(mat.data, mat.cols, mat.rows, stride, QImage::Format_RGB888).rgbSwapped();
    case 4:
        return QImage(mat.data, mat.cols, mat.rows, stride, QImage::Format_ARGB32).copy();
    case 1:
        return QImage(mat.data, mat.cols, mat.rows, stride, QImage::Format_Grayscale8).copy();
    default:
        return QImage();
    }
}
