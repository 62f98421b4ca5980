// The recovery cache as a restore reads it: the document, the check of the
// whole, and the bounds each report page and test point applies to what it
// reads back.
#include "kovcachecheck.h"
#include "kovcachefile.h"
#include "kovfuzzfile.h"

#include <QJsonArray>

namespace {

const int kMaxLocked = 8; // more than a page keeps, so the bound is exercised

void checkPoint(const QJsonObject& tp, const QStringList& items)
{
    const int shown = KOVCacheCheck::inRange(tp.value(QStringLiteral("preSelect")).toInt(-1), items.size(), -1);
    KOVFuzz::check(shown >= -1 && shown < items.size(), "the shown row is in the list or none");
    // The item's folder as the page takes it: everything before the last slash.
    const QString item = shown < 0 ? QString() : items.at(shown);
    const QString itemDir = item.contains(QLatin1Char('/')) ? item.left(item.lastIndexOf(QLatin1Char('/'))) : item;

    const QList<int> marks = KOVCacheCheck::frameNumbers(tp.value(QStringLiteral("markList")).toArray(), kMaxLocked);
    KOVFuzz::check(marks.size() <= kMaxLocked, "at most the locked frames a page holds");
    for (int i = 0; i < marks.size(); ++i)
        KOVFuzz::check(marks.at(i) > 0 && marks.indexOf(marks.at(i)) == i, "frame numbers positive and distinct");

    const QJsonObject point = tp.value(QStringLiteral("pointInfo")).toObject();
    for (const char* key : { "videoImgPathList", "pddImgPathList" }) {
        const QStringList paths = KOVCacheCheck::strings(point.value(QLatin1String(key)).toArray());
        const QStringList kept = KOVCacheCheck::keepInsideHideImg(paths, itemDir);
        KOVFuzz::check(kept.size() == paths.size(), "kept paths stay aligned");
        for (const QString& p : kept) {
            if (p.isEmpty())
                continue;
            // Independently of the check's own string test: below the folder.
            const QString rel = QDir(itemDir + QStringLiteral("/hideImg")).relativeFilePath(p);
            KOVFuzz::check(!rel.isEmpty() && rel != QStringLiteral(".") && rel != QStringLiteral("..")
                               && !rel.startsWith(QStringLiteral("../")) && !QDir::isAbsolutePath(rel),
                           "a kept path lies inside the item's hideImg/");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    const KOVCacheFile cache(KOVFuzz::scratch() + QStringLiteral("/cache/"));
    QDir().mkpath(cache.dir());
    KOVFuzz::writeInput(QStringLiteral("cache/cache.json"), data, size);
    QJsonObject root;
    QString why;
    if (!cache.read(&root, &why)) {
        KOVFuzz::check(!why.isEmpty(), "a failed read says why");
        return 0;
    }
    // What the program writes, it reads back the same.
    KOVFuzz::check(cache.write(root), "the document can be written again");
    QJsonObject back;
    KOVFuzz::check(cache.read(&back, &why) && back == root, "written and read back: equal");

    if (!KOVCacheCheck::checkRoot(root).isEmpty())
        return 0;
    const QStringList items = KOVCacheCheck::strings(root.value(QStringLiteral("itemPathList")).toArray());
    checkPoint(root.value(QStringLiteral("videoImg")).toObject().value(QStringLiteral("testPoint")).toObject(), items);
    const QJsonArray wins = root.value(QStringLiteral("winList")).toArray();
    KOVFuzz::check(wins.size() <= KOVCacheCheck::kMaxReports, "a trusted cache holds no more pages than a run");
    for (const QJsonValue& w : wins) {
        const QJsonObject r = w.toObject().value(QStringLiteral("reportInfo")).toObject();
        const QJsonArray points = r.value(QStringLiteral("testPointList")).toArray();
        KOVFuzz::check(points.size() <= KOVCacheCheck::kMaxPoints, "no more points than a page");
        const QList<int> rows = KOVCacheCheck::chosenRows(r.value(QStringLiteral("chosedItemList")).toArray(),
                                                          points.size(), items.size());
        KOVFuzz::check(rows.size() == points.size(), "one chosen row per test point");
        for (int i = 0; i < rows.size(); ++i)
            KOVFuzz::check(rows.at(i) == -1 || (rows.at(i) >= 0 && rows.at(i) < items.size() && rows.indexOf(rows.at(i)) == i),
                           "chosen rows in the list and never twice");
        for (const QJsonValue& p : points)
            checkPoint(p.toObject().value(QStringLiteral("testPoint")).toObject(), items);
    }
    return 0;
}
