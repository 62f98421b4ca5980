// Locked frames, clips and tags. Each comes with its own work; until then
// these keep the page's lists consistent and do nothing visible.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

void KOVVideoImg::on_lockBtn_clicked()
{
}

void KOVVideoImg::on_screenShotPB_clicked()
{
}

void KOVVideoImg::on_delScreen_1_clicked()
{
}

void KOVVideoImg::slotScreentshotTimer()
{
}

void KOVVideoImg::slotBtnGroupTagClicked(int id)
{
    Q_UNUSED(id);
}

void KOVVideoImg::slotBtnGroupLockClicked(int id)
{
    Q_UNUSED(id);
}

void KOVVideoImg::slotBtnGroupUnlockClicked(int id)
{
    Q_UNUSED(id);
}

void KOVVideoImg::updateTagFile(QString dirPath)
{
    m_dirPath = dirPath;
}

void KOVVideoImg::rebuildLockButtons()
{
    const QList<QPushButton*> lockBtns = { ui->lockBtn_1, ui->lockBtn_2, ui->lockBtn_3, ui->lockBtn_4 };
    const QList<QPushButton*> unlockBtns = { ui->lockDelBtn_1, ui->lockDelBtn_2, ui->lockDelBtn_3,
        ui->lockDelBtn_4 };
    for (int i = 0; i < lockBtns.size(); ++i) {
        const bool used = i < m_markList.size();
        lockBtns[i]->setText(used ? QString::number(m_markList[i]) : QStringLiteral("N/A"));
        lockBtns[i]->setVisible(used || i == 0);
        unlockBtns[i]->setVisible(used);
    }
}
