// A page that is not on screen holds no decoder, no audio and no picture: a
// report keeps one page per test point (up to a hundred, in up to thirty
// reports, three thousand pages), and a hidden video page with its decoder
// open costs about 30 MB, its frame 2.4 MB, a minute of its audio 35 MB. The
// page's state (frame on show, locked frames, clip, fields, the pattern
// picture and class it showed, the frame image the recovery cache saves, as
// the JPEG the cache writes) is kept; only what can be read again from the
// item's files is let go, and read again when the page is shown.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovclipnames.h"
#include "kovframeconvert.h"
#include "kovframeview.h"
#include "kovprpd.h"
#include "kovwaveform.h"
#include "qcustomplot.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QImageReader>
#include <QTimer>


#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The frame at index as the page shows it, at the imager's size.
QImage readFrame(KOVVideoSource& source, int index, QImage& reuse)
{
    cv::Mat frame;
    if (!source.seek(index) || !source.read(frame))
        return QImage();
    return KOVFrameConvert::toShownImage(frame, reuse);
}

// A JPEG at the encoder's default quality, as the recovery cache saves its
// pictures (QImage::save).
bool jpegAsCached(const QImage& image, QByteArray* bytes)
{
    QString why;
    return KOVClipNames::encodeJpeg(image, bytes, &why, -1);
}

// The plot's own guard against a replot inside a replot, reached as the
// class's heirs may: set, every replot asked of the plot returns at once.
struct PlotGuard : QCustomPlot
{
    static bool& replotting(QCustomPlot* plot) { return plot->*(&PlotGuard::mReplotting); }
};

// A picture file up to this size is kept as it is while its page is hidden
// (the imager's are some 40 kB): nothing to encode. A larger one is kept as
// a JPEG of the picture as shown.
const qint64 kKeptPictureMax = 192 * 1024;

// A hidden plot keeps no paint buffers: at a vanishing pixel ratio they
// shrink to nothing, and come back at the screen's ratio when shown. Nothing
// can be painted at that ratio (its axis labels come out as null pictures,
// each replot warned eight times, 140,000 lines in the log of a restore), so
// the plot is not replotted while hidden: the replots asked meanwhile (new
// data, a resize) come to one when it is shown.
void shrinkBuffers(QCustomPlot* plot, bool shrink)
{
    bool& held = PlotGuard::replotting(plot);
    if (shrink) {
        held = true;
        const QSize size = plot->viewport().size();
        if (!size.isEmpty())
            plot->setBufferDevicePixelRatio(1.0 / std::min(size.width(), size.height()));
        return;
    }
    // Shown: not within a replot, so the guard is the hold set above.
    const bool wasHeld = held;
    held = false;
    const double ratio = plot->devicePixelRatioF();
    const bool resized = plot->bufferDevicePixelRatio() != ratio;
    if (resized)
        plot->setBufferDevicePixelRatio(ratio);
    if (wasHeld || resized)
        plot->replot(QCustomPlot::rpQueuedRefresh);
}

// Whether a picture's decoding came to its end marker. A JPEG cut short
// (half written, half copied) still decodes, its missing part grey, with no
// more than a warning; the reader leaves the device just past what it
// decoded, and only an end marker can end a JPEG's coded data.
bool decodedToItsEnd(const QByteArray& format, QIODevice& device)
{
    if (format != "jpeg")
        return true;
    const qint64 end = device.pos();
    return end >= 2 && device.seek(end - 2) && device.read(2) == QByteArray("\xff\xd9", 2);
}

} // namespace

void KOVVideoImg::loadAudio(const QString& dirPath, bool announce)
{
    // Before the pending folder is forgotten: it may be the argument.
    const QString wav = dirPath + QStringLiteral("/wav/");
    m_audioDir.clear();
    m_prpd->setPDDPath(wav, m_reportType, announce);
    const quint64 load = ++m_audioLoads;
    QTimer::singleShot(1000, this, [this, load]() {
        if (load == m_audioLoads)
            m_pointInfo.pdd = m_prpd->getPDDState();
    });
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
    // The rest only for a page put away: behind another tab, its own or one
    // around it (another report's), not with its whole window (minimised,
    // closed), and not while a clip being written takes the frames on show.
    if (!parentWidget() || isVisibleTo(window()) || m_screening)
        return;
    shrinkBuffers(ui->graphWaveform, true);
    if (m_pointInfo.type == ItemType::photo && !m_frameView->image().isNull()) {
        // The file may be unreadable by the time the page is shown again
        // (the card taken out, the folder moved): a compressed copy stays.
        if (m_hiddenPicture.isEmpty() && !jpegAsCached(m_frameView->image(), &m_hiddenPicture))
            m_hiddenPicture.clear();
        m_frameView->setImage(QImage());
        m_pictureDropped = true;
    } else if (m_pointInfo.type == ItemType::video && !m_img.isNull()) {
        // As saveData() writes it, so the cache stays byte for byte the same.
        if (jpegAsCached(m_img, &m_hiddenFrame)) {
            m_frameView->setImage(QImage());
            m_img = QImage();
        } else {
            m_hiddenFrame.clear();
        }
    }
    // The audio stays while its waveform window is open.
    if (!m_wavfrom->getWavPlotVisible())
        dropAudio();
}

void KOVVideoImg::returnLargeBlocks()
{
#ifdef __GLIBC__
    // The decoder's buffers, a frame, the audio: freed when a page is put
    // away, they stayed with the allocator, which by default serves blocks
    // of that size from its heap once one has been freed, scattered between
    // the pages built since (3,000 hidden video pages held 11 GB for 3.2 GB
    // in use). Blocks from 256 kB up are mapped on their own and go back to
    // the system when freed; trimming the heap instead at every hide took
    // longer the more pages there were.
    static const bool set = mallopt(M_MMAP_THRESHOLD, 256 * 1024) == 1;
    Q_UNUSED(set);
#endif
}

void KOVVideoImg::dropAudio()
{
    if (m_pointInfo.type != ItemType::video || m_itemDir.isEmpty() || !m_audioDir.isEmpty()
        || !(m_prpd->hasAudio() || m_wavfrom->hasAudio()))
        return;
    // The pattern picture, its class and the record's flags stay on the
    // page: shown again, the reloaded audio is fed up to the frame on show.
    ++m_audioLoads;
    m_wavfrom->releaseAudio(); // the samples; a closed window keeps its view
    m_prpd->setPDDPath(QString(), m_reportType);
    m_prpd->clearPDD();
    m_audioDir = m_itemDir;
}

void KOVVideoImg::restoreImage()
{
    shrinkBuffers(ui->graphWaveform, false);
    if (m_pictureDropped) {
        m_pictureDropped = false;
        QImage image = readPicture(m_pointInfo.photoImgPath);
        if (image.isNull() && !m_hiddenPicture.isEmpty()) {
            // Kept, not cleared: the file may stay away over more hides.
            qWarning() << "picture unreadable, the copy kept is shown:" << m_pointInfo.photoImgPath;
            image = QImage::fromData(m_hiddenPicture);
        }
        if (!image.isNull())
            showScaled(image);
    }
    if (!m_hiddenFrame.isEmpty() && m_img.isNull()) {
        QImage none;
        m_img = readFrame(m_capture, m_videoImgIndex, none);
        if (m_img.isNull()) // the file went away: the kept frame, as saved
            m_img = QImage::fromData(m_hiddenFrame, "JPG");
        showScaled(m_img);
    }
    m_hiddenFrame.clear();
}

QImage KOVVideoImg::readPicture(const QString& path)
{
    // Gone or unreadable: the copy kept, if any, stays. So it does for a
    // file cut short, which would show grey where the copy shows the picture;
    // with no copy, what decodes is better than nothing.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const bool large = file.size() > kKeptPictureMax;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!large) {
        bytes = file.readAll();
        buffer.open(QIODevice::ReadOnly);
    }
    QIODevice& source = large ? static_cast<QIODevice&>(file) : buffer;
    QImageReader reader(&source);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    if (image.isNull() || (!m_hiddenPicture.isEmpty() && !decodedToItsEnd(format, source)))
        return QImage();
    // A large one's copy is made from what shows when the page is hidden.
    if (large)
        m_hiddenPicture.clear();
    else
        m_hiddenPicture = bytes;
    return image;
}

QImage KOVVideoImg::shownFrame() const
{
    if (m_hiddenFrame.isEmpty() || !m_img.isNull())
        return m_img;
    KOVVideoSource source;
    QImage none;
    const QImage frame = source.open(m_videoPath) ? readFrame(source, m_videoImgIndex, none) : QImage();
    return frame.isNull() ? QImage::fromData(m_hiddenFrame, "JPG") : frame;
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
