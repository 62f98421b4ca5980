#ifndef KOVALIGNED_H
#define KOVALIGNED_H

#include <QList>
#include <QString>

// Lists kept beside a row of tabs: entry i of every list belongs to tab i.
// Each change goes to all lists at the same position or to none, so a list
// that was left behind once cannot shift every later entry onto the wrong
// tab.
namespace KOVAligned {

inline bool allHave(int) { return true; }
template <class L, class... Ls>
bool allHave(int index, const L& first, const Ls&... rest)
{
    return index >= 0 && index < first.size() && allHave(index, rest...);
}

// Removes entry index from every list; false (nothing removed) when one of
// them has no such entry.
template <class... Ls>
bool removeAt(int index, Ls&... lists)
{
    if (!allHave(index, lists...))
        return false;
    (lists.removeAt(index), ...);
    return true;
}

// Follows a tab dragged from `from` to `to`, as QTabBar::tabMoved reports it.
template <class... Ls>
bool move(int from, int to, Ls&... lists)
{
    if (!allHave(from, lists...) || !allHave(to, lists...))
        return false;
    (lists.move(from, to), ...);
    return true;
}

// Puts the entries into the order in which their keys appear in `order`:
// keys[i] names entry i of every other list. False, and nothing changed, when
// `order` is not a reordering of keys.
template <class K, class... Ls>
bool follow(const QList<K>& order, QList<K>& keys, Ls&... lists)
{
    if (order.size() != keys.size())
        return false;
    QList<int> from;
    for (const K& k : order) {
        const int i = keys.indexOf(k);
        if (i < 0 || from.contains(i))
            return false;
        from << i;
    }
    auto permute = [&from](auto& list) {
        auto old = list;
        for (int i = 0; i < from.size(); ++i)
            list[i] = old.at(from.at(i));
    };
    permute(keys);
    (permute(lists), ...);
    return true;
}

// Empty when every list holds `count` entries, else which one does not.
template <class... Ls>
QString checkSizes(int count, const Ls&... lists)
{
    QString fault;
    int n = 0;
    auto one = [&](int size) {
        if (fault.isEmpty() && size != count)
            fault = QStringLiteral("list %1 holds %2 entries for %3 tabs").arg(n).arg(size).arg(count);
        ++n;
    };
    (one(lists.size()), ...);
    return fault;
}

} // namespace KOVAligned

#endif // KOVALIGNED_H
