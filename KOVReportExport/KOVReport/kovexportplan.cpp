#include "kovexportplan.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace KOVExportPlan {

static std::function<bool()>& stepHook()
{
    static std::function<bool()> hook;
    return hook;
}

void setStepHook(std::function<bool()> hook)
{
    stepHook() = std::move(hook);
}

QString withSuffix(const QString& path)
{
    // Any other ending is part of the name: "r.v2" becomes "r.v2.xlsx".
    if (path.isEmpty() || path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return path;
    return path + QStringLiteral(".xlsx");
}

QString folderFor(const QString& path)
{
    return path.left(qMax(0, path.size() - 5));
}

QString stampedFolder(const QString& folder, const QDateTime& now)
{
    return folder + QLatin1Char('_') + now.toString(QStringLiteral("MMddhhmmss"));
}

QString workbookIn(const QString& folder, const QString& path)
{
    return folder + QLatin1Char('/') + path.section(QLatin1Char('/'), -1);
}

QString clipFolder(const QString& folder, const QString& pointName)
{
    // A point without a name would name the export folder itself.
    if (pointName.isEmpty() || pointName.contains(QLatin1Char('/')) || pointName == QLatin1String("..")
        || pointName == QLatin1String("."))
        return QString();
    return folder + QLatin1Char('/') + pointName;
}

QString stagedWorkbook(const QString& workbook)
{
    // Not the workbook's name with a suffix: the atomic save adds one of its
    // own, and a name the file system takes would grow past its limit.
    return QFileInfo(workbook).path() + QStringLiteral("/.report.xlsx.part");
}

// Where versions before the short staged name staged the workbook.
static QString formerStagedWorkbook(const QString& workbook)
{
    return workbook + QStringLiteral(".part");
}

QString stagedClips(const QString& folder)
{
    return folder + QStringLiteral("/.clips.part");
}

QString asideClips(const QString& folder)
{
    return folder + QStringLiteral("/.clips.old");
}

QList<ClipCopy> clipCopies(const QString& folder, const KOVReportInfo& info, int count)
{
    QList<ClipCopy> copies;
    for (int i = 0; i < count && i < info.pointInfoList.size(); ++i) {
        const KOVTestPointInfo& p = info.pointInfoList.at(i);
        if (!p.saveClip || !p.hasClip)
            continue;
        const QString dir = clipFolder(folder, p.name);
        for (const QString& source : {p.clipAudio, p.clipVideo}) {
            if (!source.isEmpty())
                copies << ClipCopy{source, dir.isEmpty() ? QString() : dir + QLatin1Char('/') + source.section(QLatin1Char('/'), -1)};
        }
    }
    return copies;
}

QStringList copyClips(const QList<ClipCopy>& copies)
{
    QStringList failed;
    for (const ClipCopy& c : copies) {
        if (!QFileInfo::exists(c.source)) {
            qDebug() << "clip file missing, not exported:" << c.source;
            continue;
        }
        if (c.target.isEmpty()) {
            qDebug() << "clip not exported, its point's name makes no folder:" << c.source;
            failed << c.source;
            continue;
        }
        const QString dir = QFileInfo(c.target).absolutePath();
        if (!QDir().mkpath(dir) || !QFile::copy(c.source, c.target)) {
            qDebug() << "clip copy failed:" << c.source << "->" << c.target;
            failed << c.source + QStringLiteral(" -> ") + c.target;
        }
    }
    return failed;
}

bool replaceWorkbook(const QString& staged, const QString& workbook, QString* error)
{
    // rename(2) replaces the target in one step; QFile::rename would refuse
    // an existing one.
    if (std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(workbook).constData()) == 0)
        return true;
    const int code = errno;
    if (error)
        *error = QStringLiteral("cannot replace %1: %2").arg(workbook, QString::fromLocal8Bit(std::strerror(code)));
    QFile::remove(staged);
    return false;
}

// Removes a folder without following a link planted under its name.
static bool removeTree(const QString& dir)
{
    const QFileInfo fi(dir);
    if (fi.isSymLink())
        return QFile::remove(dir);
    return !fi.exists() || (fi.isDir() && QDir(dir).removeRecursively());
}

// Every rename and removal of a clip folder goes through these two, where a
// test may make it fail or stop the process.
static bool renamed(const QString& from, const QString& to)
{
    return (!stepHook() || stepHook()()) && QDir().rename(from, to);
}

static bool removed(const QString& dir)
{
    return (!stepHook() || stepHook()()) && removeTree(dir);
}

// Where the old folders wait once they are out of the way of the new ones,
// and where they all go in one step before any of them is removed: a folder
// left there by a kill is whole, one left in the other may be half removed.
static QString goneClips(const QString& folder)
{
    return folder + QStringLiteral("/.clips.gone");
}

QStringList replaceClipFolders(const QString& folder, const KOVReportInfo& info, const QList<ClipCopy>& copies)
{
    QStringList failed;
    const QString staging = stagedClips(folder);
    const QString aside = asideClips(folder);
    QStringList incomplete;
    for (const ClipCopy& c : copies) {
        const QFileInfo source(c.source), target(c.target);
        if (source.exists() && !c.target.isEmpty() && (!target.isFile() || target.size() != source.size()))
            incomplete << c.target.section(QLatin1Char('/'), 0, -2);
    }
    // One the clearing before this export could not put back is the only
    // copy of its folder: it waits for the next clearing.
    bool keepAside = QFileInfo::exists(aside);
    for (const KOVTestPointInfo& p : info.pointInfoList) {
        const QString dir = clipFolder(folder, p.name);
        const QString fresh = clipFolder(staging, p.name);
        if (dir.isEmpty() || dir == staging || dir == aside || dir == goneClips(folder))
            continue;
        // Where no earlier copy exists, the part that was copied is better
        // than none.
        if (incomplete.contains(fresh) && QFileInfo(dir).isDir())
            continue;
        // Two renames, never a removal, while the point's folder changes:
        // a kill between them leaves the old folder whole beside it.
        const QString old = clipFolder(aside, p.name);
        const bool hadOld = QFileInfo(dir).isDir();
        if (hadOld && !(QDir().mkpath(aside) && renamed(dir, old))) {
            failed << dir;
            continue;
        }
        if (!QFileInfo(fresh).isDir() || renamed(fresh, dir))
            continue;
        failed << dir;
        if (hadOld && !renamed(old, dir)) {
            qDebug() << "could not put back" << dir << "from" << old;
            keepAside = true; // the next export puts it back
        }
    }
    if (!keepAside && QFileInfo::exists(aside) && !(renamed(aside, goneClips(folder)) && removed(goneClips(folder))))
        qDebug() << "could not remove" << aside;
    if (!removed(staging))
        qDebug() << "could not remove" << staging;
    return failed;
}

// An old folder a killed swap left aside goes back where its place is still
// empty, otherwise it goes, as does all that was on its way out.
static void clearAside(const QString& folder)
{
    const QString aside = asideClips(folder);
    const QString gone = goneClips(folder);
    if (!removed(gone))
        qDebug() << "could not remove" << gone;
    if (!QFileInfo::exists(aside))
        return;
    bool keep = false;
    const auto entries = QDir(aside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& name : entries) {
        const QFileInfo place(clipFolder(folder, name));
        if (!place.exists() && !place.isSymLink() && !renamed(aside + QLatin1Char('/') + name, place.filePath()))
            keep = true;
    }
    if (keep || !(renamed(aside, gone) && removed(gone)))
        qDebug() << "could not clear" << aside;
}

void discardStaged(const QString& folder, const QString& workbook)
{
    QFile::remove(stagedWorkbook(workbook));
    QFile::remove(formerStagedWorkbook(workbook));
    if (!removeTree(stagedClips(folder)))
        qDebug() << "could not remove" << stagedClips(folder);
    clearAside(folder);
}

} // namespace KOVExportPlan
