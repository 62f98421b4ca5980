#ifndef KOVCACHECHECK_H
#define KOVCACHECHECK_H

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// What a restore may trust of a cache it reads back. The cache is ours, but a
// crash, a full disk or a hand edit can leave anything in it, and every number
// in it indexes a list.
namespace KOVCacheCheck {

// The bounds of a run: report pages and test points per report.
const int kMaxReports = 30;
const int kMaxPoints = 100;

// Empty when the document can be restored; otherwise why not: item arrays
// that disagree or hold no texts, a user directory that is gone, report
// entries that are not what a report page writes, more pages or points than
// a run can hold.
QString checkRoot(const QJsonObject& root);

// index when 0 <= index < size, else fallback.
int inRange(int index, int size, int fallback);

// Texts of an array; a member that is no text reads as empty.
QStringList strings(const QJsonArray& array);

// The chosen rows of a report page, one per test point: padded with -1 when
// the array is short, cut when it is long, -1 for a row outside the file list
// and for a row already chosen by an earlier test point.
QList<int> chosenRows(const QJsonArray& rows, int points, int rowCount);

// Locked frame numbers (1-based): at most maxCount distinct positive
// integers; others are dropped.
QList<int> frameNumbers(const QJsonArray& array, int maxCount);

// Whether path names something inside itemDir's "hideImg/" folder, the only
// place the review page deletes files in. Paths are compared cleaned, so
// "hideImg/../x" does not count, nor does anything when "hideImg" is a link.
bool insideHideImg(const QString& path, const QString& itemDir);

// paths with every entry not inside itemDir's "hideImg/" made empty, so
// positions stay aligned with the lists they belong to.
QStringList keepInsideHideImg(const QStringList& paths, const QString& itemDir);

} // namespace KOVCacheCheck

#endif // KOVCACHECHECK_H
