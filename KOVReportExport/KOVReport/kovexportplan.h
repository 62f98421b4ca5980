#ifndef KOVEXPORTPLAN_H
#define KOVEXPORTPLAN_H

#include "kovdatastruct.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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

// The folder of a point's clip copies inside folder; empty when the name
// would lead anywhere else (empty, ".", "..", or holding a '/'). The export
// and the replacement of an earlier export's clips both go by it.
QString clipFolder(const QString& folder, const QString& pointName);

// The names an export is made under beside the earlier one until its
// workbook is saved: the workbook's (one short name in its folder, whatever
// the workbook is called), and the one folder of all clip copies.
QString stagedWorkbook(const QString& workbook);
QString stagedClips(const QString& folder);
// Where an earlier clip folder waits while the new one takes its place.
QString asideClips(const QString& folder);

// The copies for the first `count` test points into the clip folders below
// `folder`: each clip file of a point whose clip is saved, whether or not the
// clip has sound. A point whose name has no clip folder gets copies without
// a target, which copyClips reports as failed.
QList<ClipCopy> clipCopies(const QString& folder, const KOVReportInfo& info, int count);

// Makes each target's folder and copies; a source that does not exist is
// passed over (a clip without sound has no audio file). Returns a line per
// failed copy.
QStringList copyClips(const QList<ClipCopy>& copies);

// Once the staged workbook is saved: it takes the workbook's place in one
// step, so a reader finds the old or the new one and never a part.
bool replaceWorkbook(const QString& staged, const QString& workbook, QString* error);

// Then each clip folder of this report's test points in `folder` is replaced
// by its staged copy (or goes, when the point has no clip now); an earlier
// folder whose staged copy lacks one of `copies` stays as it was, as does
// one whose copy cannot be put in its place. A kill at any moment leaves
// each point's old folder or its new one whole, the old one perhaps aside.
// Nothing else the folder holds is touched. Returns what could not be
// replaced.
QStringList replaceClipFolders(const QString& folder, const KOVReportInfo& info,
                               const QList<ClipCopy>& copies = {});

// After a failed save: the staged workbook and clip copies go, the earlier
// export stays as it was. Before an export: what a killed one left goes too,
// and an old clip folder it had put aside goes back if its place is empty.
void discardStaged(const QString& folder, const QString& workbook);

// For tests: asked before each rename or removal of a clip folder that the
// two calls above make; a false makes that step fail. Empty for none.
void setStepHook(std::function<bool()> hook);

} // namespace KOVExportPlan

#endif // KOVEXPORTPLAN_H
