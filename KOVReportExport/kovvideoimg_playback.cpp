// Video road: loading a video, showing frames, playback and seeking.
//
// m_videoImgIndex is always the index of the frame on show: it is taken from
// the frame source's own count of frames actually read, never computed ahead
// of a read, so a failed read leaves picture and index together.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovframeconvert.h"
#include "kovframeview.h"
#include "kovmarklookup.h"
#include "kovocrcontext.h"
#include "kovprpd.h"
#include "kovvideotime.h"

#include <QTimer>


namespace {
const char* const kPlayIdle = "border-image: url(:/style/ico/pause.png)";
const char* const kPlayRunning = "border-image: url(:/style/ico/play.png)";
enum { kLastBtn = 0, kPlayBtn = 1, kNextBtn = 2 };
}

void KOVVideoImg::setButtonEnabled(int which, bool enabled)
{
    static const char* const on[] = { "border-image: url(:/style/ico/lastFrame_video.png)", kPlayIdle,
        "border-image: url(:/style/ico/nextFrame_video.png)" };
    static const char* const off[] = { "border-image: url(:/style/ico/lastFrame_video_gray.png)",
        "border-image: url(:/style/ico/pause_gray.png)", "border-image: url(:/style/ico/nextFrame_video_gray.png)" };
    QPushButton* const btns[] = { ui->PB_lastFrame, ui->PB_play, ui->PB_nextFrame };
    btns[which]->setEnabled(enabled);
    // The play button's enabled look follows the playback state.
    const QLatin1String style(which == kPlayBtn && enabled && m_isPlaying ? kPlayRunning
                                                                         : (enabled ? on[which] : off[which]));
    // Setting a style sheet re-polishes the button: only on a change, not on
    // every frame of playback.
    if (btns[which]->styleSheet() != style)
        btns[which]->setStyleSheet(style);
}

void KOVVideoImg::showVideoImg(QString path, QString dirPath)
{
    m_pointInfo.marked = false;
    m_pointInfo.pdd = false;
    m_pointInfo.type = ItemType::video;
    m_pointInfo.wavform = false;
    distImg_video(false);
    showLeakPressure(dirPath);

    // Not opening is not reported: the page then shows no frame and a zero
    // length, and the frame information says what is missing.
    m_capture.open(path);
    m_videoPath = path;
    m_videoImgCnt = m_capture.frameCount();
    showVideoTime(m_videoImgCnt, true);
    m_videoImgIndex = 0;

    // Signals blocked: the handler would otherwise seek to frame 0 of the new
    // video when the slider held the previous video's position.
    {
        const QSignalBlocker block(ui->horizontalSlider);
        ui->horizontalSlider->setRange(0, std::max(0, m_videoImgCnt - 1));
        ui->horizontalSlider->setValue(0);
    }
    updateAudioRecording(dirPath);

    showItemInfo(m_videoImgIndex + 1);
    updateSlider(m_videoImgIndex);
    updateImg();
    checkIndex();
    updateTagFile(dirPath);
    m_initAudio = false;
    if (!isVisible())
        releaseHidden();
}

bool KOVVideoImg::updateImg()
{
    cv::Mat frame;
    if (!m_capture.read(frame))
        return false;
    m_videoImgIndex = m_capture.lastIndex();

    // Converted into the previous frame's image when nothing else holds it
    // (a locked frame, a caller of shownFrame()): a new 2.4 MB image per
    // frame costs its page faults again on every tick.
    QImage buffer = std::move(m_img);
    m_frameView->setImage(QImage()); // the view's share of it
    // Shown at the imager's size whatever the file holds: the OCR region is
    // defined on that size.
    cv::Mat sized;
    const QImage image = KOVFrameConvert::toShownImage(frame, buffer, &sized);
    if (image.isNull()) {
        // Only a frame of another type fails, before the buffer is touched.
        m_img = buffer;
        showScaled(m_img);
        return false;
    }
    m_img = image;
    showScaled(m_img);

    QString stored;
    if (KOVMarkLookup::heatSPL(m_markList, m_pointInfo.imgInfoList, m_videoImgIndex + 1, &stored)) {
        // A locked frame shows the reading stored when it was locked.
        retireOcr();
        ui->infoMaxSPL->setText(stored);
    } else {
        showSoundPressure_OCR(sized);
    }
    return true;
}

bool KOVVideoImg::showFrameAt(int index)
{
    if (!m_capture.seek(index))
        return false;
    return updateImg();
}

void KOVVideoImg::stopPlayback()
{
    m_timer->stop();
    m_isPlaying = false;
    ui->PB_play->setStyleSheet(QLatin1String(kPlayIdle));
}

void KOVVideoImg::on_PB_play_clicked()
{
    if (m_isPlaying) {
        stopPlayback();
        return;
    }
    if (m_videoImgCnt <= 0)
        return;
    if (m_videoImgIndex >= m_videoImgCnt - 1) {
        // Rewind by showing frame 0 now; the ticks then continue with frame 1.
        if (!showFrameAt(0))
            return;
        m_prpd->replayVideo();
        updateSlider(m_videoImgIndex);
        checkIndex();
    }
    m_timer->start();
    m_isPlaying = true;
    ui->PB_play->setStyleSheet(QLatin1String(kPlayRunning));
}

void KOVVideoImg::slotTimeOut()
{
    if (m_videoImgIndex >= m_videoImgCnt - 1) {
        stopPlayback();
        return;
    }
    if (!updateImg()) {
        // The container promised more frames than it holds: end as at the
        // last frame.
        stopPlayback();
        checkIndex();
        return;
    }
    updateSlider(m_videoImgIndex);
    checkIndex();
    if (m_screening)
        slotScreentshotTimer();
}

void KOVVideoImg::on_PB_nextFrame_clicked()
{
    if (!updateImg())
        return;
    updateSlider(m_videoImgIndex);
    checkIndex();
}

void KOVVideoImg::on_PB_lastFrame_clicked()
{
    if (m_videoImgIndex <= 0 || !showFrameAt(m_videoImgIndex - 1))
        return;
    updateSlider(m_videoImgIndex);
    checkIndex();
}

void KOVVideoImg::on_horizontalSlider_valueChanged(int value)
{
    if (m_timer->isActive() || m_isPlaying)
        stopPlayback();
    // From frame 0 a jump straight to the last frame is ignored; the slider
    // then goes back to the frame on show.
    if (!(m_videoImgIndex == 0 && value == m_videoImgCnt - 1))
        showFrameAt(value);
    // On a failed read too: picture, index and slider stay together.
    updateSlider(m_videoImgIndex);
    checkIndex();
}

void KOVVideoImg::updateSlider(int index)
{
    showVideoTime(index + 1, false);
    {
        const QSignalBlocker block(ui->horizontalSlider);
        ui->horizontalSlider->setValue(m_videoImgIndex);
    }
    ui->imgPRPD->clear();
    followFrame(index);
}

void KOVVideoImg::checkIndex()
{
    showItemInfo(m_videoImgIndex + 1);
    if (m_videoImgIndex < 1) {
        setButtonEnabled(kLastBtn, false);
        // A one-frame video has nothing to step to.
        if (m_videoImgCnt <= 1)
            setButtonEnabled(kNextBtn, false);
    } else if (m_videoImgIndex < m_videoImgCnt - 1) {
        setButtonEnabled(kLastBtn, true);
        if (!ui->PB_nextFrame->isEnabled())
            setButtonEnabled(kNextBtn, true);
    } else {
        setButtonEnabled(kLastBtn, true);
        setButtonEnabled(kNextBtn, false);
    }
}

void KOVVideoImg::showVideoTime(int frames, bool total)
{
    (total ? ui->allCnt : ui->curCnt)->setText(KOVVideoTime::label(frames));
}

