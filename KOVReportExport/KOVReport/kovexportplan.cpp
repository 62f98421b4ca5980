#include "kovexportplan.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

static QString clipFolder(const QString& folder, const KOVTestPointInfo& p)
{
    return folder + QLatin1Char('/') + p.name;
}

QList<ClipCopy> clipCopies(const QString& folder, const KOVReportInfo& info, int count)
{
    QList<ClipCopy> copies;
    for (int i = 0; i < count && i < info.pointInfoList.size(); ++i) {
        const KOVTestPointInfo& p = info.pointInfoList.at(i);
        if (!p.saveClip || !p.hasClip)
            continue;
        for (const QString& source : {p.clipAudio, p.clipVideo}) {
            if (!source.isEmpty())
                copies << ClipCopy{source, clipFolder(folder, p) + QLatin1Char('/') + source.section(QLatin1Char('/'), -1)};
        }
    }
    return copies;
}

QStringList clearPrevious(const QString& folder, const QString& workbook, const KOVReportInfo& info)
{
    QStringList failed;
    if (QFileInfo(workbook).isFile() && !QFile::remove(workbook))
        failed << workbook;
    for (const KOVTestPointInfo& p : info.pointInfoList) {
        // A point without a name would name the export folder itself.
        if (p.name.isEmpty() || p.name.contains(QLatin1Char('/')) || p.name == QLatin1String("..")
            || p.name == QLatin1String("."))
            continue;
        const QString dir = clipFolder(folder, p);
        if (QFileInfo(dir).isDir() && !QDir(dir).removeRecursively())
            failed << dir;
    }
    return failed;
}

QStringList copyClips(const QList<ClipCopy>& copies)
{
    QStringList failed;
    for (const ClipCopy& c : copies) {
        if (!QFileInfo::exists(c.source)) {
            qDebug() << "clip file missing, not exported:" << c.source;
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

} // namespace KOVExportPlan
