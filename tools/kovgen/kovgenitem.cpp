// One item folder: the picture or video, its thumbnail, info.dat, the label,
// the audio and the tags.
#include "kovgen.h"
#include "kovgenrandom.h"

#include <QDir>

namespace KOVGen {

namespace {

QDateTime defaultBase()
{
    return QDateTime(QDate(2024, 3, 15), QTime(10, 15, 0, 0));
}

} // namespace

bool writeItem(const ItemOptions& opt, QString* error)
{
    auto fail = [error](const QString& e) {
        if (error)
            *error = e;
        return false;
    };
    if (opt.dir.isEmpty() || !QDir().mkpath(opt.dir))
        return fail(QStringLiteral("cannot create the item folder \"%1\"").arg(opt.dir));
    const bool video = opt.kind == ItemKind::Video;
    const QDateTime base = opt.baseTime.isValid() ? opt.baseTime : defaultBase();
    const QString stamp = base.toString(QStringLiteral("yyyyMMdd_hhmmss"));
    const QString name = !opt.fileName.isEmpty()
                             ? opt.fileName
                             : (video ? QStringLiteral("VID_") : QStringLiteral("IMG_")) + stamp +
                                   (video ? QStringLiteral(".mp4") : QStringLiteral(".jpg"));
    const int frames = video ? qMax(1, opt.frames) : 1;
    const QVector<Frame> values = makeFrames(opt.seed, frames);
    const QString path = opt.dir + QLatin1Char('/') + name;

    cv::Mat first;
    if (video) {
        VideoOptions v;
        v.frames = frames;
        v.seed = opt.seed;
        v.values = values;
        QString e;
        if (!writeVideo(path, v, &e))
            return fail(e);
        first = videoFrame(0, v);
    } else {
        first = acousticImage(opt.seed, QPoint(values[0].x, values[0].y), readingText(values[0].maxSPL));
        if (!writeJpeg(path, first))
            return fail(QStringLiteral("cannot write \"%1\"").arg(path));
    }
    if (opt.withThumbnail && !writeThumbnail(opt.dir + QStringLiteral("/.thumbnail.jpg"), first))
        return fail(QStringLiteral("cannot write the thumbnail in \"%1\"").arg(opt.dir));

    if (opt.infoDatFormat != 0) {
        InfoDatOptions d;
        d.format = opt.infoDatFormat;
        d.frames = frames;
        d.baseTime = base;
        d.seed = opt.seed;
        d.values = values;
        if (writeInfoDat(opt.dir + QStringLiteral("/info.dat"), d) < 0)
            return fail(QStringLiteral("cannot write info.dat in \"%1\"").arg(opt.dir));
    }
    if (opt.withLabel && !writeItemInfo(opt.dir + QStringLiteral("/itemInfo.ini"), opt.label))
        return fail(QStringLiteral("cannot write itemInfo.ini in \"%1\"").arg(opt.dir));

    if (opt.withAudio) {
        const QString wavDir = opt.dir + QStringLiteral("/wav");
        WavOptions w = opt.audio;
        if (w.seconds <= 0)
            w.seconds = frames * 0.04 + 0.5; // a little longer than the video, as recorded
        if (!QDir().mkpath(wavDir) || !writeWav(wavDir + QStringLiteral("/REC_") + stamp + QStringLiteral(".wav"), w))
            return fail(QStringLiteral("cannot write the audio in \"%1\"").arg(wavDir));
    }
    if (!opt.tags.isEmpty() && !writeTags(opt.dir, opt.tags, opt.seed ^ 0x7A6))
        return fail(QStringLiteral("cannot write the tags in \"%1\"").arg(opt.dir));
    return true;
}

} // namespace KOVGen
