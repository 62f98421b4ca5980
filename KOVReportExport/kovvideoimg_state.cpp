// The page's state in the recovery cache: written when the application ends
// with report pages open, read back at the next start to rebuild the page.
// Images that live only in memory go beside the document as JPEG files.
//
// Everything read back is bounded before it is used: indexes by the lists
// they index, locked frames by the four lock buttons, and every path the page
// may later delete (frame files, pattern pictures, clips) by the shown item's
// "hideImg/" folder, so an edited or damaged cache cannot make the page
// delete anything else.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovcachecheck.h"
#include "kovcachefile.h"
#include "kovclipnames.h"
#include "kovinformation.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

namespace {

QJsonArray saveImages(const QList<QImage>& images, const KOVCacheFile& cache)
{
    QJsonArray paths;
    for (const QImage& image : images) {
        const QString path = cache.newImagePath();
        image.save(path, "JPG"); // a failed save loads back as an empty image
        paths.append(path);
    }
    return paths;
}

// Only pictures of the cache folder are read back: any other path in the
// document is not ours.
QImage loadCacheImage(const QString& path, const KOVCacheFile& cache)
{
    const QString folder = QDir::cleanPath(cache.dir()) + QLatin1Char('/');
    const QString cleaned = QDir::cleanPath(path);
    return cleaned.startsWith(folder) ? QImage(cleaned) : QImage();
}

QList<QImage> loadImages(const QJsonArray& paths, int count, const KOVCacheFile& cache)
{
    QList<QImage> images;
    for (int i = 0; i < count; ++i)
        images.append(i < paths.size() ? loadCacheImage(paths.at(i).toString(), cache) : QImage());
    return images;
}

template <typename T> void resizeList(QList<T>& list, int size, const T& fill)
{
    while (list.size() > size)
        list.removeLast();
    while (list.size() < size)
        list.append(fill);
}

QString itemFolder(const QString& itemPath)
{
    const int slash = itemPath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? itemPath : itemPath.left(slash);
}

} // namespace

void KOVVideoImg::saveData(QJsonObject& root)
{
    const KOVCacheFile cache;
    QDir().mkpath(cache.dir());
    QJsonObject o;
    o.insert(QStringLiteral("videoImgIndex"), m_videoImgIndex);
    o.insert(QStringLiteral("preSelect"), m_preSelected);
    o.insert(QStringLiteral("screenList"), QJsonArray::fromStringList(m_screenList));
    o.insert(QStringLiteral("screenAudioList"), QJsonArray::fromStringList(m_screenAudList));
    QJsonArray marks;
    for (int m : qAsConst(m_markList))
        marks.append(m);
    o.insert(QStringLiteral("markList"), marks);
    o.insert(QStringLiteral("markedImgList"), saveImages(m_markedImgList, cache));
    o.insert(QStringLiteral("markedPrpdTypeList"), QJsonArray::fromStringList(m_prpdTypeList));
    const QString img = cache.newImagePath();
    if (!m_img.isNull()) {
        m_img.save(img, "JPG");
    } else if (!m_hiddenFrame.isEmpty()) {
        QFile file(img);
        if (file.open(QIODevice::WriteOnly))
            file.write(m_hiddenFrame);
    }
    o.insert(QStringLiteral("img"), img);
    o.insert(QStringLiteral("pddImgList"), saveImages(m_pddImg, cache));

    const KOVTestPointInfo& p = m_pointInfo;
    QJsonObject point;
    point.insert(QStringLiteral("wavform"), p.wavform);
    point.insert(QStringLiteral("markDir"), p.markDir);
    point.insert(QStringLiteral("faultLevel"), p.faultLevel);
    point.insert(QStringLiteral("advice"), p.advice);
    point.insert(QStringLiteral("judgment"), p.judgment);
    point.insert(QStringLiteral("pddImgPathList"), QJsonArray::fromStringList(p.pddImgPathList));
    point.insert(QStringLiteral("videoImgPathList"), QJsonArray::fromStringList(p.videoImgPathList));
    point.insert(QStringLiteral("saveClip"), p.saveClip);
    point.insert(QStringLiteral("hasClip"), p.hasClip);
    if (p.type == ItemType::video) {
        QJsonArray infos;
        for (const KOVImgInfo& i : p.imgInfoList) {
            infos.append(QJsonObject { { QStringLiteral("bandwidth"), i.bandwidth },
                { QStringLiteral("dynamic"), i.dynamic }, { QStringLiteral("heatSPL"), i.heatSPL },
                { QStringLiteral("ultrasonic"), i.ultrasonic } });
        }
        point.insert(QStringLiteral("imgInfoList"), infos);
    }
    point.insert(QStringLiteral("leakageData"), p.leakageData);
    point.insert(QStringLiteral("leakage"), p.leakage);
    point.insert(QStringLiteral("leakageLevel"), p.leakageLevel);
    point.insert(QStringLiteral("economicLosses"), p.economicLosses);
    o.insert(QStringLiteral("pointInfo"), point);

    o.insert(QStringLiteral("faultLevel_gas"), ui->infoFaultLevel_gas->currentIndex());
    o.insert(QStringLiteral("faultLevel_elec"), ui->infoFaultLevel_elec->currentIndex());
    o.insert(QStringLiteral("prpdType"), ui->infoPrpdType->text());
    root.insert(QStringLiteral("testPoint"), o);
}

void KOVVideoImg::restoreData(QJsonObject& root)
{
    const KOVCacheFile cache;
    const QJsonObject o = root.value(QStringLiteral("testPoint")).toObject();
    const QJsonObject point = o.value(QStringLiteral("pointInfo")).toObject();

    // The item the page will show again bounds every path it may delete.
    const QStringList items = KOVInformation::Instance()->getFilePathList();
    const int shown = KOVCacheCheck::inRange(o.value(QStringLiteral("preSelect")).toInt(-1), items.size(), -1);
    const QString itemDir = shown < 0 ? QString() : itemFolder(items.at(shown));

    // A clip is a video and its audio together: both stay, or neither.
    const QStringList clips = KOVCacheCheck::strings(o.value(QStringLiteral("screenList")).toArray());
    const QStringList clipAudio = KOVCacheCheck::strings(o.value(QStringLiteral("screenAudioList")).toArray());
    const bool clipsOurs = !(KOVCacheCheck::keepInsideHideImg(clips + clipAudio, itemDir).contains(QString()));
    m_screenList = clipsOurs ? clips : QStringList();
    m_screenAudList = clipsOurs ? clipAudio : QStringList();

    m_markList = KOVCacheCheck::frameNumbers(o.value(QStringLiteral("markList")).toArray(), KOVLockCheck::kMaxLocked);
    updateLockLB();
    const int marks = m_markList.size();
    m_markedImgList = loadImages(o.value(QStringLiteral("markedImgList")).toArray(), marks, cache);
    m_img = loadCacheImage(o.value(QStringLiteral("img")).toString(), cache);
    // Pattern pictures and their types go together, never more than frames.
    const QJsonArray pddPaths = o.value(QStringLiteral("pddImgList")).toArray();
    m_pddImg = loadImages(pddPaths, std::min(pddPaths.size(), marks), cache);
    m_prpdTypeList = KOVCacheCheck::strings(o.value(QStringLiteral("markedPrpdTypeList")).toArray());
    resizeList(m_prpdTypeList, m_pddImg.size(), QString());

    KOVTestPointInfo& p = m_pointInfo;
    const bool wavform = point.value(QStringLiteral("wavform")).toBool();
    p.wavform = wavform;
    p.markDir = point.value(QStringLiteral("markDir")).toString();
    p.faultLevel = point.value(QStringLiteral("faultLevel")).toString();
    p.advice = point.value(QStringLiteral("advice")).toString();
    p.judgment = point.value(QStringLiteral("judgment")).toString();
    p.saveClip = point.value(QStringLiteral("saveClip")).toBool();
    p.hasClip = point.value(QStringLiteral("hasClip")).toBool() && !m_screenList.isEmpty();
    if (!m_screenList.isEmpty())
        p.clipVideo = m_screenList.first();
    if (!m_screenAudList.isEmpty())
        p.clipAudio = m_screenAudList.first();
    ui->radioButton->setChecked(p.saveClip);
    if (p.hasClip) {
        ui->screenShotPB->setText(tr("视频片段"));
        ui->delScreen_1->show();
    }
    ui->infoAdvice->setText(p.advice);
    ui->infoJudgement->setPlainText(p.judgment);

    // One frame file per locked frame, none outside the item's working folder.
    QStringList frames = KOVCacheCheck::keepInsideHideImg(
        KOVCacheCheck::strings(point.value(QStringLiteral("videoImgPathList")).toArray()), itemDir);
    QStringList pdds = KOVCacheCheck::keepInsideHideImg(
        KOVCacheCheck::strings(point.value(QStringLiteral("pddImgPathList")).toArray()), itemDir);
    resizeList(frames, marks, QString());
    resizeList(pdds, std::min(pdds.size(), m_pddImg.size()), QString());
    p.videoImgPathList = frames;
    p.pddImgPathList = pdds;
    // The workbook takes the class of each pattern picture from the record,
    // one per picture kept, as a lock records them; the lock buttons were
    // filled above before these lists were read.
    p.prpdTypeList = m_prpdTypeList.mid(0, pdds.size());

    p.imgInfoList.clear();
    for (const QJsonValue& v : point.value(QStringLiteral("imgInfoList")).toArray()) {
        const QJsonObject i = v.toObject();
        p.imgInfoList.append(KOVImgInfo { i.value(QStringLiteral("bandwidth")).toString(),
            i.value(QStringLiteral("dynamic")).toString(), i.value(QStringLiteral("heatSPL")).toString(),
            i.value(QStringLiteral("ultrasonic")).toString() });
    }
    // One entry per locked frame, as the lock buttons hold them.
    resizeList(p.imgInfoList, marks, KOVImgInfo());
    p.leakageData = point.value(QStringLiteral("leakageData")).toBool();
    p.leakage = point.value(QStringLiteral("leakage")).toString();
    p.leakageLevel = point.value(QStringLiteral("leakageLevel")).toString();
    p.economicLosses = point.value(QStringLiteral("economicLosses")).toString();

    const int gas = o.value(QStringLiteral("faultLevel_gas")).toInt(-1);
    if (gas >= 0 && gas < ui->infoFaultLevel_gas->count())
        ui->infoFaultLevel_gas->setCurrentIndex(gas);
    const int elec = o.value(QStringLiteral("faultLevel_elec")).toInt(-1);
    if (elec >= 0 && elec < ui->infoFaultLevel_elec->count())
        ui->infoFaultLevel_elec->setCurrentIndex(elec);

    slotUpdateItemList();
    if (shown >= 0 && shown < m_itemPathList.size())
        showItem(shown, itemDir);
    // Showing the item starts its record without audio; a hidden page reads
    // the audio only when first shown, and until then the record keeps what
    // the cache says of it, so a quit at once writes it back unchanged.
    p.wavform = p.wavform || wavform;
    ui->infoPrpdType->setText(o.value(QStringLiteral("prpdType")).toString());
    rewriteLostFrames(itemDir);

    if (!p.pddImgPathList.isEmpty())
        p.pdd = true;
    if (!p.videoImgPathList.isEmpty() && p.type == ItemType::video)
        p.marked = true;
    emitPointInfo();
}

void KOVVideoImg::rewriteLostFrames(const QString& itemDir)
{
    // A frame file gone since the cache was written (cleaned away, the item
    // copied elsewhere) is written again from the cached picture, so the
    // export still finds it.
    if (itemDir.isEmpty() || m_dirPath != itemDir)
        return;
    QStringList& frames = m_pointInfo.videoImgPathList;
    for (int i = 0; i < frames.size() && i < m_markedImgList.size(); ++i) {
        const QFileInfo file(frames.at(i));
        if ((file.isFile() && !file.isSymLink()) || m_markedImgList.at(i).isNull())
            continue;
        const QString path = frames.at(i).isEmpty() ? KOVClipNames::frameImage(itemDir, m_savePre, i) : frames.at(i);
        QString why;
        if (KOVClipNames::saveImage(itemDir, path, m_markedImgList.at(i), &why))
            frames[i] = path;
        else
            qWarning() << "locked frame not written again:" << path << why;
    }
}
