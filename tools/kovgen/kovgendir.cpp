// Whole user directories: the demo set, N full items, or N light items for
// import benchmarks.
#include "kovgen.h"
#include "kovgenrandom.h"

#include <QDir>
#include <QFile>

namespace KOVGen {

namespace {

struct DemoItem
{
    const char* folder;
    ItemKind kind;
    int frames;
    int format; // 0: no info.dat
    int label; // -1: no itemInfo.ini
    bool thumbnail;
    bool audio;
    AudioContent content;
    int channels;
    int tags; // 0 none, 1 the demo set, 2 a Chinese-named note
};

// Each row covers a case the application must handle: both label kinds, a
// missing label, a missing info.dat, every info.dat format, stereo audio,
// partial-discharge pulses, and a folder name with blanks and Chinese.
const DemoItem kDemo[] = {
    {"01_gas_picture", ItemKind::Picture, 1, 13, 0, true, false, AudioContent::Silence, 1, 1},
    {"02_electric_picture", ItemKind::Picture, 1, 12, 1, true, false, AudioContent::Silence, 1, 0},
    {"03_electric_video_pd", ItemKind::Video, 75, 12, 1, true, true, AudioContent::PdBursts, 1, 1},
    {"04_gas_video", ItemKind::Video, 50, 13, 0, true, true, AudioContent::Noise, 1, 0},
    {"05_no_label", ItemKind::Picture, 1, 11, -1, true, false, AudioContent::Silence, 1, 0},
    {"06_no_infodat", ItemKind::Picture, 1, 0, 0, false, false, AudioContent::Silence, 1, 0},
    {"07 变压器 测点 A", ItemKind::Video, 40, 11, 1, true, true, AudioContent::PdBursts, 2, 2},
    {"08_format2_picture", ItemKind::Picture, 1, 2, 0, true, false, AudioContent::Silence, 1, 0},
};
constexpr int kDemoCount = int(sizeof(kDemo) / sizeof(kDemo[0]));

ItemOptions itemFor(const DemoItem& d, const QString& dir, quint64 seed, int n, bool shortVideo)
{
    ItemOptions o;
    o.dir = dir;
    o.kind = d.kind;
    o.frames = shortVideo ? qMin(d.frames, 25) : d.frames;
    o.seed = seed;
    o.baseTime = QDateTime(QDate(2024, 3, 15), QTime(10, 15, 0, 0)).addSecs(qint64(n) * 7 * 60);
    o.infoDatFormat = d.format;
    o.withLabel = d.label >= 0;
    o.label = d.label == 1 ? electricalLabel(seed) : gasLabel(seed);
    o.withThumbnail = d.thumbnail;
    o.withAudio = d.audio;
    o.audio.content = d.content;
    o.audio.channels = d.channels;
    o.audio.seed = seed;
    o.audio.seconds = 0; // fit the video
    if (d.content == AudioContent::Noise)
        o.audio.amplitude = 0.05;
    if (d.content == AudioContent::PdBursts) {
        o.audio.amplitude = 0.5;
        o.audio.noiseLevel = 0.003;
        // Stereo item: pulses near the zero crossings instead of the peaks.
        if (d.channels == 2)
            o.audio.phasesDeg = {45.0, 225.0};
    }
    if (d.tags == 1)
        o.tags = demoTags();
    else if (d.tags == 2)
        o.tags = {{QStringLiteral("备注01.txt"), TagKind::Text, QStringLiteral("局放信号明显，建议复测。\n"), "UTF-8"}};
    return o;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Only what an import reads: one tiny picture, a one-frame info.dat and a
// label per folder.
bool writeLightItem(const QString& dir, int n, quint64 seed, QString* file)
{
    if (!QDir().mkpath(dir))
        return false;
    const QString name = QStringLiteral("IMG_%1.jpg").arg(n, 5, 10, QLatin1Char('0'));
    *file = dir + QLatin1Char('/') + name;
    InfoDatOptions d;
    d.format = 13;
    d.frames = 1;
    d.seed = seed;
    d.baseTime = QDateTime(QDate(2024, 3, 15), QTime(8, 0, 0, 0)).addSecs(n);
    return writeFile(*file, tinyJpeg()) && writeFile(dir + QStringLiteral("/info.dat"), infoDatBytes(d)) &&
           writeItemInfo(dir + QStringLiteral("/itemInfo.ini"), n % 2 ? electricalLabel(seed) : gasLabel(seed));
}

} // namespace

DirResult writeUserDirectory(const DirOptions& opt)
{
    DirResult res;
    if (opt.outDir.isEmpty()) {
        res.error = QStringLiteral("no output folder given");
        return res;
    }
    QDir out(opt.outDir);
    if (out.exists() && !opt.force && !out.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty()) {
        res.error = QStringLiteral("\"%1\" already holds files; choose an empty folder or force").arg(opt.outDir);
        return res;
    }
    if (!QDir().mkpath(opt.outDir)) {
        res.error = QStringLiteral("cannot create \"%1\"").arg(opt.outDir);
        return res;
    }
    const QString root = QDir(opt.outDir).absolutePath();
    KOVGenRandom r(opt.seed);
    if (!writeUsrInfo(root + QStringLiteral("/usrInfo.ini"), demoUsrInfo(r.next()))) {
        res.error = QStringLiteral("cannot write usrInfo.ini in \"%1\"").arg(root);
        return res;
    }

    const int count = opt.items > 0 ? opt.items : kDemoCount;
    const int width = QString::number(count).size();
    for (int n = 0; n < count; ++n) {
        const quint64 seed = r.fork(quint64(n) + 1).next();
        QString dir;
        QString error;
        if (opt.items <= 0)
            dir = root + QLatin1Char('/') + QString::fromUtf8(kDemo[n].folder);
        else
            dir = root + QStringLiteral("/item_%1").arg(n + 1, qMax(5, width), 10, QLatin1Char('0'));
        if (opt.light) {
            QString file;
            if (!writeLightItem(dir, n + 1, seed, &file)) {
                res.error = QStringLiteral("cannot write the item \"%1\"").arg(dir);
                return res;
            }
            res.itemFiles << file;
            continue;
        }
        ItemOptions o = itemFor(kDemo[n % kDemoCount], dir, seed, n, opt.items > 0);
        if (!writeItem(o, &error)) {
            res.error = error;
            return res;
        }
        const QStringList media =
            QDir(dir).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.mp4")}, QDir::Files, QDir::Name);
        res.itemFiles << dir + QLatin1Char('/') + media.value(0);
    }
    res.ok = true;
    return res;
}

} // namespace KOVGen
