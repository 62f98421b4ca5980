#ifndef KOVEXPORTPLAN_H
#define KOVEXPORTPLAN_H

#include "kovdatastruct.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The export folder of a workbook path P: the folder F (P less its ".xlsx"),
// the workbook F/<last part of P>, and one sub-folder F/<point name> per test
// point with a saved clip, holding copies of its clip files.
namespace KOVExportPlan {

struct ClipCopy
{
    QString source;
    QString target;
};

// The save dialog's answer with ".xlsx" added when the typed name does not
// end in it, so that the folder rule cuts the suffix and not the name.
QString withSuffix(const QString& path);
// F: the path less its last five characters.
QString folderFor(const QString& path);
// F when the user keeps an existing folder: F + "_" + "MMddhhmmss".
QString stampedFolder(const QString& folder, const QDateTime& now);
QString workbookIn(const QString& folder, const QString& path);

// The copies for the first `count` test points: each clip file of a point
// whose clip is saved, whether or not the clip has sound.
QList<ClipCopy> clipCopies(const QString& folder, const KOVReportInfo& info, int count);

// "Overwrite" of an existing export folder: what goes is the previous
// workbook of that name and the clip folders of this report's test points,
// never anything else the folder holds. Returns what could not be removed.
QStringList clearPrevious(const QString& folder, const QString& workbook, const KOVReportInfo& info);

// Makes each target's folder and copies; a source that does not exist is
// passed over (a clip without sound has no audio file). Returns a line per
// failed copy.
QStringList copyClips(const QList<ClipCopy>& copies);

} // namespace KOVExportPlan

#endif // KOVEXPORTPLAN_H
