// Clips: recording the frames playback shows into an MJPG AVI in the item's
// working folder, cutting the matching audio, showing the clip in the
// player, deleting it.
//
// Each frame that playback shows while recording goes into the clip once,
// written from the playback tick itself; the clip timer's tick only catches
// a frame the playback tick has not written. Two free-running 40 ms timers
// would otherwise drop or double frames whenever their ticks drift apart.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovclipnames.h"
#include "kovclipwriter.h"
#include "kovmessagebox.h"
#include "kovscreenshot.h"
#include "kovwaveform.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {
// The clip's frames are the imager's frame size, whatever the label's size.
const int kClipWidth = 1024;
const int kClipHeight = 600;
// Frames go in one per 40 ms playback tick: declared at any other rate the
// clip would run out of step with its audio.
const double kClipFps = 25.0;
}

void KOVVideoImg::on_screenShotPB_clicked()
{
    if (ui->screenShotPB->text() == tr("视频片段")) {
        if (m_isPlaying)
            stopPlayback();
        if (m_screenShot->isVisible()) {
            qDebug() << "截取视频查看窗口已打开！";
            KOVMessageBox::ask(this, QMessageBox::Warning, tr("提示"), tr("截取视频窗口已存在！"), { tr("是") });
        } else if (!m_screenList.isEmpty()) {
            m_screenShot->showScreenshot(m_screenList.first());
        }
        return;
    }
    if (m_screenshotTimer->isActive())
        stopClip();
    else
        startClip();
}

void KOVVideoImg::startClip()
{
    if (m_pointInfo.type != ItemType::video || m_videoImgCnt <= 0)
        return;
    const QString path = KOVClipNames::clipVideo(m_dirPath, m_savePre);
    KOVClipNames::removeInside(m_dirPath, path);
    if (!m_clipWriter)
        m_clipWriter.reset(new KOVClipWriter);
    // A clip that cannot be created is no clip: the page stays ready to
    // record, and says why. Nor is one in a working folder that is a link.
    if (!KOVClipNames::hideDirUsable(m_dirPath) || !m_clipWriter->open(path, kClipWidth, kClipHeight, kClipFps)) {
        qWarning() << "clip not created:" << path << m_clipWriter->error();
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("提示"), tr("无法创建视频片段文件！") + "\n" + path, {});
        return;
    }
    ui->screenShotPB->setText(tr("截取中..."));
    if (!m_isPlaying)
        on_PB_play_clicked();
    // The frame on show when recording starts was shown before: the clip
    // begins with the next one, at this time.
    m_clipFrame = m_videoImgIndex;
    m_screenshotTimer->start();
    m_screening = true;
    m_screenTime_start = float(m_videoImgIndex + 1) * 0.04f;
    m_pointInfo.clipVideo = path;
    m_screenList.append(path);
}

void KOVVideoImg::stopClip()
{
    m_screenshotTimer->stop();
    if (m_isPlaying)
        stopPlayback();
    m_screening = false;
    const bool written = m_clipWriter && m_clipWriter->close();
    if (!written) {
        // Frames went missing (disk full, folder gone): the file is not
        // the clip the user recorded.
        qWarning() << "clip not written:" << m_pointInfo.clipVideo << (m_clipWriter ? m_clipWriter->error() : "");
        KOVClipNames::removeInside(m_dirPath, m_pointInfo.clipVideo);
        m_screenList.clear();
        m_screenAudList.clear();
        m_pointInfo.hasClip = false;
        ui->screenShotPB->setText(tr("截取视频"));
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("提示"), tr("视频片段写入失败！"), {});
        emitPointInfo();
        return;
    }
    saveScreenAudio();
    ui->screenShotPB->setText(tr("视频片段"));
    ui->delScreen_1->show();
    m_pointInfo.hasClip = true;
    emitPointInfo();
}

void KOVVideoImg::slotScreentshotTimer()
{
    if (!m_clipWriter || !m_clipWriter->isOpen() || !m_screening || !m_isPlaying)
        return;
    if (m_videoImgIndex == m_clipFrame || m_img.isNull())
        return;
    m_clipFrame = m_videoImgIndex;
    m_clipWriter->addFrame(m_img);
}

void KOVVideoImg::saveScreenAudio()
{
    const QString path = KOVClipNames::clipAudio(m_dirPath, m_savePre);
    KOVClipNames::removeInside(m_dirPath, path);
    m_screenTime_end = float(m_videoImgIndex + 1) * 0.04f;
    // A clip whose end lies before its start (the slider was moved back
    // while recording) has no audio span.
    if (m_pointInfo.wavform && m_screenTime_end > m_screenTime_start && KOVClipNames::hideDirUsable(m_dirPath)
        && cutClipAudio(path, m_screenTime_start, m_screenTime_end)) {
        m_pointInfo.clipAudio = path;
        m_screenAudList.append(path);
    } else {
        m_screenAudList.clear();
        m_pointInfo.clipAudio.clear();
    }
}

void KOVVideoImg::on_delScreen_1_clicked()
{
    m_screenList.clear();
    m_screenAudList.clear();
    ui->screenShotPB->setText(tr("截取视频"));
    m_pointInfo.hasClip = false;
    KOVClipNames::removeInside(m_dirPath, m_pointInfo.clipAudio);
    KOVClipNames::removeInside(m_dirPath, m_pointInfo.clipVideo);
    ui->delScreen_1->hide();
    emitPointInfo();
}

bool KOVVideoImg::cutClipAudio(const QString& path, float start, float end)
{
    if (!m_wavfrom->hasAudio())
        return false;
    m_wavfrom->cutoutAudio(path, start, end);
    // The buffer reports nothing: the file says whether it was written (a
    // link left under the name is no clip of ours).
    const QFileInfo written(path);
    return written.isFile() && !written.isSymLink();
}
