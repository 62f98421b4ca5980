#include "kovcachecheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace KOVCacheCheck {
namespace {

bool allStrings(const QJsonArray& a)
{
    for (const QJsonValue& v : a) {
        if (!v.isString())
            return false;
    }
    return true;
}

// A member that is absent reads as empty; one that is present must have the
// type the writer gives it.
bool arrayOrAbsent(const QJsonObject& o, const char* key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isUndefined() || v.isArray();
}

// The reasons end up in the restore's message, so they are given in the
// interface's language.
QString checkReport(const QJsonValue& entry, int index)
{
    const QString where = QCoreApplication::translate("KOVCacheCheck", "report page %1: ").arg(index + 1);
    if (!entry.isObject() || !entry.toObject().value(QStringLiteral("reportInfo")).isObject())
        return where + QCoreApplication::translate("KOVCacheCheck", "no report object");
    const QJsonObject r = entry.toObject().value(QStringLiteral("reportInfo")).toObject();
    if (!arrayOrAbsent(r, "testPointList") || !arrayOrAbsent(r, "chosedItemList"))
        return where + QCoreApplication::translate("KOVCacheCheck", "test points or chosen rows are no list");
    const QJsonArray points = r.value(QStringLiteral("testPointList")).toArray();
    if (points.size() > kMaxPoints)
        return where + QCoreApplication::translate("KOVCacheCheck", "%1 test points, more than %2").arg(points.size()).arg(kMaxPoints);
    for (const QJsonValue& p : points) {
        if (!p.isObject())
            return where + QCoreApplication::translate("KOVCacheCheck", "a test point is no object");
    }
    return QString();
}

} // namespace

QString checkRoot(const QJsonObject& root)
{
    if (!arrayOrAbsent(root, "itemPathList") || !arrayOrAbsent(root, "itemNameList"))
        return QCoreApplication::translate("KOVCacheCheck", "the item lists are no lists");
    const QJsonArray paths = root.value(QStringLiteral("itemPathList")).toArray();
    const QJsonArray names = root.value(QStringLiteral("itemNameList")).toArray();
    if (paths.size() != names.size())
        return QCoreApplication::translate("KOVCacheCheck", "%1 item paths but %2 item names").arg(paths.size()).arg(names.size());
    if (!allStrings(paths) || !allStrings(names))
        return QCoreApplication::translate("KOVCacheCheck", "the item lists hold other things than texts");
    const QString usrDir = root.value(QStringLiteral("usrDirPath")).toString();
    if (!paths.isEmpty() && !usrDir.isEmpty() && !QFileInfo(usrDir).isDir())
        return QCoreApplication::translate("KOVCacheCheck", "the user directory %1 is gone").arg(usrDir);
    const QJsonValue page = root.value(QStringLiteral("videoImg"));
    if (!page.isUndefined() && !page.isObject())
        return QCoreApplication::translate("KOVCacheCheck", "the browse page's state is no object");
    if (!arrayOrAbsent(root, "winList"))
        return QCoreApplication::translate("KOVCacheCheck", "the report pages are no list");
    const QJsonArray wins = root.value(QStringLiteral("winList")).toArray();
    if (wins.size() > kMaxReports)
        return QCoreApplication::translate("KOVCacheCheck", "%1 report pages, more than %2").arg(wins.size()).arg(kMaxReports);
    for (int i = 0; i < wins.size(); ++i) {
        const QString why = checkReport(wins.at(i), i);
        if (!why.isEmpty())
            return why;
    }
    return QString();
}

int inRange(int index, int size, int fallback)
{
    return index >= 0 && index < size ? index : fallback;
}

QStringList strings(const QJsonArray& array)
{
    QStringList out;
    out.reserve(array.size());
    for (const QJsonValue& v : array)
        out.append(v.toString());
    return out;
}

QList<int> chosenRows(const QJsonArray& rows, int points, int rowCount)
{
    QList<int> out;
    out.reserve(points);
    for (int i = 0; i < points; ++i) {
        const int row = inRange(i < rows.size() ? rows.at(i).toInt(-1) : -1, rowCount, -1);
        out.append(out.contains(row) ? -1 : row); // -1 may repeat, a row may not
    }
    return out;
}

QList<int> frameNumbers(const QJsonArray& array, int maxCount)
{
    QList<int> out;
    for (const QJsonValue& v : array) {
        const int n = v.toInt(0);
        if (n > 0 && out.size() < maxCount && !out.contains(n))
            out.append(n);
    }
    return out;
}

bool insideHideImg(const QString& path, const QString& itemDir)
{
    if (path.isEmpty() || itemDir.isEmpty())
        return false;
    const QString folder = QDir::cleanPath(itemDir + QStringLiteral("/hideImg")) + QLatin1Char('/');
    // A folder of that name that is a link stands for some other folder.
    if (QFileInfo(folder.chopped(1)).isSymLink())
        return false;
    const QString cleaned = QDir::cleanPath(path);
    return cleaned.startsWith(folder) && cleaned.size() > folder.size();
}

QStringList keepInsideHideImg(const QStringList& paths, const QString& itemDir)
{
    QStringList out;
    out.reserve(paths.size());
    for (const QString& p : paths)
        out.append(insideHideImg(p, itemDir) ? p : QString());
    return out;
}

} // namespace KOVCacheCheck
