#ifndef REVIEWFIXTURE_H
#define REVIEWFIXTURE_H

// Item folders for the review page's tests and benchmark, made by kovgen.
// Each frame's info.dat line carries the frame number in its ultrasonic
// level (30.0 + index dB), so the shown frame information names its frame.

#include "kovgen.h"
#include "kovinformation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ReviewFixture {

struct Item
{
    QString dir;  // item folder, with a trailing "/" as the main window passes it
    QString path; // the picture or video
    QString name; // its file name
};

inline QVector<KOVGen::Frame> numberedFrames(int frames, quint64 seed)
{
    QVector<KOVGen::Frame> v = KOVGen::makeFrames(seed, frames);
    for (int i = 0; i < v.size(); ++i)
        v[i].ultrasonicSPL = 30.0 + i;
    return v;
}

inline QString ultrasonicText(int index)
{
    return QString::number(30.0 + index, 'f', 1) + QStringLiteral(" dB");
}

inline bool writeNumberedInfoDat(const QString& dir, int frames, quint64 seed)
{
    KOVGen::InfoDatOptions d;
    d.frames = frames;
    d.seed = seed;
    d.values = numberedFrames(frames, seed);
    return KOVGen::writeInfoDat(dir + QStringLiteral("/info.dat"), d) == frames;
}

// kind Picture or Video; fileName decides the extension; infoDat false leaves
// no info.dat; labelType -1 leaves no itemInfo.ini.
inline Item makeItem(const QString& root, const QString& folder, const QString& fileName, KOVGen::ItemKind kind,
    int frames, int labelType, bool infoDat = true, quint64 seed = 7)
{
    KOVGen::ItemOptions o;
    o.dir = root + QLatin1Char('/') + folder;
    o.fileName = fileName;
    o.kind = kind;
    o.frames = frames;
    o.seed = seed;
    o.infoDatFormat = 0;
    o.withLabel = labelType >= 0;
    o.label = labelType == 1 ? KOVGen::electricalLabel(seed) : KOVGen::gasLabel(seed);
    Item it;
    if (!KOVGen::writeItem(o))
        return it;
    if (infoDat && !writeNumberedInfoDat(o.dir, kind == KOVGen::ItemKind::Video ? frames : 1, seed))
        return it;
    it.dir = o.dir + QLatin1Char('/');
    it.path = o.dir + QLatin1Char('/') + fileName;
    it.name = fileName;
    return it;
}

// Publishes the items as the imported list, as the main window does.
inline void publish(const QList<Item>& items)
{
    QStringList names, paths;
    for (const Item& i : items)
        names << i.name, paths << i.path;
    KOVInformation::Instance()->setFileNameList(names);
    KOVInformation::Instance()->setFilePathList(paths);
}

} // namespace ReviewFixture

#endif // REVIEWFIXTURE_H
