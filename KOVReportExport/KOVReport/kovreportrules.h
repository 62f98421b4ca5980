#ifndef KOVREPORTRULES_H
#define KOVREPORTRULES_H

#include "kovdatastruct.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// Limits and bookkeeping rules of report pages and their test points.
namespace KOVReportRules {

const int kMaxReports = 30;  // report tabs beside the browse page
const int kMaxPoints = 100;  // test points of one report

// Whether another report page may open while the main tab widget holds
// tabCount tabs (the browse page included).
inline bool canOpenReport(int tabCount) { return tabCount <= kMaxReports; }

// Whether a row may be ticked as another test point: there must be an
// unchosen name left and room below the limit (the hundredth tick is
// accepted, the hundred-and-first refused).
inline bool canAddPoint(int nameCount, int chosenCount)
{
    return nameCount > chosenCount && chosenCount < kMaxPoints;
}

// Whether row names an entry of a list of `count` items.
inline bool isRow(int row, int count) { return row >= 0 && row < count; }

// The rows of test points after the file list changed from `before` to
// `after`: each row follows its item's path, -1 when the item is gone. Not
// by name: items in different folders may share a file name.
QQueue<int> rowsByPath(const QQueue<int>& rows, const QStringList& before, const QStringList& after);

// Lowers every row above `removed` by one (a row was taken out of the list).
void lowerRowsAbove(QQueue<int>& rows, int removed);

// Field-by-field equality of two test-point records.
bool samePoint(const KOVTestPointInfo& a, const KOVTestPointInfo& b);
bool samePoints(const QList<KOVTestPointInfo>& a, const QList<KOVTestPointInfo>& b);

// The files a test point's page wrote into the item's hidden folder and that
// go when the point is removed: for a video, the waveform picture, each locked
// frame with its pattern picture, the clip audio and video. A picture's files
// are the imager's own and stay.
QStringList pointFiles(const KOVTestPointInfo& point);
// The pictures that go when a whole report is closed: waveform, locked
// frames and pattern pictures of every point; clips stay.
QStringList reportPictures(const QList<KOVTestPointInfo>& points);
// Removes the files; returns those that could not be removed.
QStringList removeFiles(const QStringList& files);

} // namespace KOVReportRules

#endif // KOVREPORTRULES_H
