// A page that is not on screen holds no decoder and no audio: a report keeps
// one page per test point (up to a hundred, in up to thirty reports), and a
// hidden video page with its decoder open costs about 30 MB. The page's
// state (frame on show, locked frames, clip, fields, the frame image the
// recovery cache saves) is kept; only what can be read again from the item's
// files is let go, and read again when the page is shown.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovprpd.h"

#include <QTimer>

void KOVVideoImg::loadAudio(const QString& dirPath, bool announce)
{
    // Before the pending folder is forgotten: it may be the argument.
    const QString wav = dirPath + QStringLiteral("/wav/");
    m_audioDir.clear();
    m_prpd->setPDDPath(wav, m_reportType, announce);
    QTimer::singleShot(1000, this, [this]() { m_pointInfo.pdd = m_prpd->getPDDState(); });
}

void KOVVideoImg::deferAudio(const QString& dirPath)
{
    // The previous item's audio goes now, this one's comes with the first show.
    m_prpd->setPDDPath(QString(), m_reportType);
    m_prpd->clearPDD();
    m_audioDir = dirPath;
}

void KOVVideoImg::releaseHidden()
{
    // The position stays with the source: the next frame read after the page
    // is shown again opens the file and continues from the frame on show.
    m_capture.suspend();
}

bool KOVVideoImg::loadShown()
{
    if (m_audioDir.isEmpty() || m_pointInfo.type != ItemType::video)
        return false;
    // Quietly: through the hub every other visible page would take this
    // item's audio too. The page takes it from its own pattern view, and
    // the mains-period label from the pattern view's bins.
    loadAudio(m_audioDir, false);
    if (m_reportType != 0 && m_prpd->hasAudio())
        ui->imgPRPDFramerate->setText(
            m_prpd->binCount() == 240 ? QStringLiteral("20ms/50Hz") : QStringLiteral("16.7ms/60Hz"));
    return true;
}
