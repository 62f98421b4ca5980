// Locked frames: locking the shown frame with its pattern picture, jumping
// to it, unlocking, and the frame files in the item's working folder.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovclipnames.h"
#include "kovhidefolder.h"
#include "kovmarklookup.h"
#include "kovmessagebox.h"
#include "kovprpd.h"
#include "kovvideotime.h"

#include <QDebug>
#include <QDir>

void KOVVideoImg::on_lockBtn_clicked()
{
    // An item whose video gave no frame has nothing to lock.
    if (m_pointInfo.type != ItemType::video || m_videoImgCnt <= 0 || m_img.isNull())
        return;
    // The frame on show, counted by the frames actually read.
    const int frame = m_videoImgIndex + 1;
    if (m_markList.contains(frame)) {
        KOVMessageBox::ask(this, QMessageBox::Information, tr("提示"), tr("该图片已锁定"), {});
        return;
    }
    if (!m_markList.isEmpty()) {
        KOVMessageBox::ask(this, QMessageBox::Information, tr("提示"), tr("标记图片已满！"), {});
        return;
    }
    m_markList.append(frame);
    m_markedImgList.append(m_img);
    if (m_pointInfo.pdd) {
        m_pddImg.append(currentPddImage());
        m_prpdTypeList.append(m_prpdType);
    }
    if (!updateLockLB()) {
        // A lock without its file would look done and export no picture.
        m_markList.removeLast();
        m_markedImgList.removeLast();
        while (m_pddImg.size() > m_markList.size())
            m_pddImg.removeLast();
        while (m_prpdTypeList.size() > m_pddImg.size())
            m_prpdTypeList.removeLast();
        updateLockLB();
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("提示"),
            tr("锁定图片无法保存到文件夹：") + "\n" + QDir::toNativeSeparators(KOVClipNames::hideDir(m_dirPath)), {});
        return;
    }
    updatePointInfo_itemInfo();
    if (m_pointInfo.leakageData)
        updatePointInfo_leakageInfo();
    emitPointInfo();
}

void KOVVideoImg::slotBtnGroupLockClicked(int btnId)
{
    if (!KOVMarkLookup::valid(m_markList, btnId))
        return;
    QAbstractButton* btn = m_btnGroupLock->button(btnId);
    if (!btn || btn->text().contains(QLatin1String("N/A")))
        return;
    // The slider's handler seeks and shows the frame.
    ui->horizontalSlider->setValue(m_markList[btnId] - 1);
}

void KOVVideoImg::slotBtnGroupUnlockClicked(int btnId)
{
    removeMarkedImg(btnId);
    updateLockLB();
    emitPointInfo();
}

void KOVVideoImg::removeMarkedImg(int pos)
{
    if (KOVMarkLookup::valid(m_markList, pos))
        m_markList.removeAt(pos);
    if (KOVMarkLookup::valid(m_markedImgList, pos))
        m_markedImgList.removeAt(pos);
    if (KOVMarkLookup::valid(m_pointInfo.videoImgPathList, pos))
        KOVClipNames::removeInside(m_dirPath, m_pointInfo.videoImgPathList[pos]);
    if (m_pointInfo.pdd) {
        if (KOVMarkLookup::valid(m_pddImg, pos))
            m_pddImg.removeAt(pos);
        if (KOVMarkLookup::valid(m_pointInfo.pddImgPathList, pos))
            KOVClipNames::removeInside(m_dirPath, m_pointInfo.pddImgPathList[pos]);
        if (KOVMarkLookup::valid(m_prpdTypeList, pos))
            m_prpdTypeList.removeAt(pos);
    }
    // A frame locked before the pattern arrived has no pattern entry: the
    // pattern lists may not hold more entries than frames remain.
    while (m_pddImg.size() > m_markList.size())
        m_pddImg.removeLast();
    while (m_prpdTypeList.size() > m_pddImg.size())
        m_prpdTypeList.removeLast();
    if (KOVMarkLookup::valid(m_pointInfo.imgInfoList, pos))
        m_pointInfo.imgInfoList.removeAt(pos);
    if (m_pointInfo.leakageData) {
        m_pointInfo.leakage.clear();
        m_pointInfo.leakageLevel.clear();
        m_pointInfo.economicLosses.clear();
    }
}

bool KOVVideoImg::updateLockLB()
{
    const QList<QPushButton*> lockBtns = { ui->lockBtn_1, ui->lockBtn_2, ui->lockBtn_3, ui->lockBtn_4 };
    const QList<QPushButton*> unlockBtns = { ui->lockDelBtn_1, ui->lockDelBtn_2, ui->lockDelBtn_3,
        ui->lockDelBtn_4 };
    const int n = m_markList.size();
    for (int i = 0; i < lockBtns.size(); ++i) {
        lockBtns[i]->setText(i < n ? KOVVideoTime::label(m_markList[i]) : QStringLiteral("N/A"));
        unlockBtns[i]->setVisible(i < n);
    }
    m_pointInfo.marked = n > 0;
    return saveLockImg();
}

bool KOVVideoImg::saveLockImg()
{
    m_pointInfo.videoImgPathList.clear();
    m_pointInfo.pddImgPathList.clear();
    m_pointInfo.prpdTypeList.clear();
    bool saved = true;
    QString why;
    for (int i = 0; i < m_markedImgList.size(); ++i) {
        const QString path = KOVClipNames::frameImage(m_dirPath, m_savePre, i);
        if (!KOVClipNames::saveImage(m_dirPath, path, m_markedImgList[i], &why)) {
            qWarning() << "locked frame not saved:" << path << why;
            saved = false;
            continue;
        }
        m_pointInfo.videoImgPathList.append(path);
        if (!m_pointInfo.pdd)
            continue;
        // Skipped, not read past: a frame locked before the pattern arrived.
        if (!KOVMarkLookup::valid(m_pddImg, i) || m_pddImg[i].isNull())
            continue;
        const QString pddPath = KOVClipNames::pddImage(m_dirPath, m_savePre, i);
        if (!KOVClipNames::saveImage(m_dirPath, pddPath, m_pddImg[i], &why)) {
            // Kept, the frame would export as a plain success with its
            // pattern missing: it fails with its picture.
            qWarning() << "pattern picture not saved:" << pddPath << why;
            KOVClipNames::removeInside(m_dirPath, path);
            m_pointInfo.videoImgPathList.removeLast();
            saved = false;
            continue;
        }
        m_pointInfo.pddImgPathList.append(pddPath);
        if (KOVMarkLookup::valid(m_prpdTypeList, i))
            m_pointInfo.prpdTypeList.append(m_prpdTypeList[i]);
    }
    return saved;
}

void KOVVideoImg::mkdirHide()
{
    const QString hide = KOVClipNames::hideDir(m_dirPath);
    // A link under the name is not ours to use: what goes in or is deleted
    // there would land in the folder it points at.
    if (!KOVClipNames::hideDirUsable(m_dirPath)) {
        qWarning() << "working folder refused, it is a link or no folder:" << hide;
        return;
    }
    if (QDir(hide).exists())
        return;
    if (QDir().mkpath(hide))
        KOVHideFolder::makeHidden(hide);
}

void KOVVideoImg::delPreItemImg()
{
    for (int i = 0; i < m_pointInfo.videoImgPathList.size(); ++i) {
        KOVClipNames::removeInside(m_dirPath, m_pointInfo.videoImgPathList[i]);
        if (m_pointInfo.pdd && KOVMarkLookup::valid(m_pointInfo.pddImgPathList, i))
            KOVClipNames::removeInside(m_dirPath, m_pointInfo.pddImgPathList[i]);
    }
    if (m_pointInfo.hasClip) {
        KOVClipNames::removeInside(m_dirPath, m_pointInfo.clipAudio);
        KOVClipNames::removeInside(m_dirPath, m_pointInfo.clipVideo);
        m_pointInfo.hasClip = false;
    }
}

bool KOVVideoImg::ifMarked() const
{
    return !m_markList.isEmpty();
}

QImage KOVVideoImg::currentPddImage() const
{
    // The picture on show, not the pattern view's: after a hide the view is
    // rebuilt from fewer periods while the page keeps showing the old vote.
    return m_prpdPicture.toImage();
}
