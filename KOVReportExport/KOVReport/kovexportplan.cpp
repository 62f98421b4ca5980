#include "kovexportplan.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace KOVExportPlan {

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
    return workbook + QStringLiteral(".part");
}

QString stagedClips(const QString& folder)
{
    return folder + QStringLiteral("/.clips.part");
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

QStringList replaceClipFolders(const QString& folder, const KOVReportInfo& info, const QList<ClipCopy>& copies)
{
    QStringList failed;
    const QString staging = stagedClips(folder);
    QStringList incomplete;
    for (const ClipCopy& c : copies) {
        const QFileInfo source(c.source), target(c.target);
        if (source.exists() && !c.target.isEmpty() && (!target.isFile() || target.size() != source.size()))
            incomplete << c.target.section(QLatin1Char('/'), 0, -2);
    }
    for (const KOVTestPointInfo& p : info.pointInfoList) {
        const QString dir = clipFolder(folder, p.name);
        const QString fresh = clipFolder(staging, p.name);
        if (dir.isEmpty() || dir == staging)
            continue;
        // Where no earlier copy exists, the part that was copied is better
        // than none.
        if (incomplete.contains(fresh) && QFileInfo(dir).isDir())
            continue;
        if (QFileInfo(dir).isDir() && !removeTree(dir)) {
            failed << dir;
            continue;
        }
        if (QFileInfo(fresh).isDir() && !QDir().rename(fresh, dir))
            failed << dir;
    }
    if (!removeTree(staging))
        qDebug() << "could not remove" << staging;
    return failed;
}

void discardStaged(const QString& folder, const QString& workbook)
{
    QFile::remove(stagedWorkbook(workbook));
    if (!removeTree(stagedClips(folder)))
        qDebug() << "could not remove" << stagedClips(folder);
}

} // namespace KOVExportPlan
