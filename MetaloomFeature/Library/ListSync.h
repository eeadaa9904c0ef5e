#pragma once

#include <QList>
#include <QSet>

#include <functional>
#include <type_traits>

namespace Metaloom {

// What a model tells its views while a list it shows changes in place.
struct ListSyncHooks {
    std::function<void(int first, int last)> beginRemove;
    std::function<void()> endRemove;
    std::function<void(int first, int last)> beginInsert;
    std::function<void()> endInsert;
    // Rows first..last now hold different values for the same ids.
    std::function<void(int first, int last)> changed;
};

// Turns `shown` into `target`, matching elements by id: the ones gone are
// removed and the new ones inserted (each run in one step), and the ones
// kept but changed are reported. The ids both lists share must come in the
// same order; if they do not, `shown` is left part-way, consistent with what
// was reported, and the answer is false so the caller can start afresh.
template <typename T, typename IdOf>
bool syncListByID(QList<T> &shown, const QList<T> &target, IdOf idOf, const ListSyncHooks &hooks)
{
    using Id = std::decay_t<decltype(idOf(target.first()))>;
    QSet<Id> targetIDs;
    targetIDs.reserve(target.size());
    for (const T &element : target)
        targetIDs.insert(idOf(element));
    for (qsizetype i = shown.size() - 1; i >= 0;) {
        if (targetIDs.contains(idOf(shown.at(i)))) {
            --i;
            continue;
        }
        const qsizetype last = i;
        while (i >= 0 && !targetIDs.contains(idOf(shown.at(i))))
            --i;
        hooks.beginRemove(int(i + 1), int(last));
        shown.remove(i + 1, last - i);
        hooks.endRemove();
    }

    QSet<Id> shownIDs;
    shownIDs.reserve(shown.size());
    for (const T &element : std::as_const(shown))
        shownIDs.insert(idOf(element));
    qsizetype position = 0;
    for (qsizetype k = 0; k < target.size();) {
        if (position < shown.size() && idOf(shown.at(position)) == idOf(target.at(k))) {
            ++position;
            ++k;
            continue;
        }
        if (shownIDs.contains(idOf(target.at(k))))
            return false; // an element moved
        const qsizetype first = k;
        while (k < target.size() && !shownIDs.contains(idOf(target.at(k))))
            ++k;
        hooks.beginInsert(int(position), int(position + k - first - 1));
        for (qsizetype j = first; j < k; ++j)
            shown.insert(position + j - first, target.at(j));
        hooks.endInsert();
        position += k - first;
    }
    if (position != shown.size())
        return false;

    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i) == target.at(i))
            continue;
        const qsizetype first = i;
        while (i < shown.size() && !(shown.at(i) == target.at(i))) {
            shown[i] = target.at(i);
            ++i;
        }
        hooks.changed(int(first), int(i - 1));
    }
    return true;
}

} // namespace Metaloom
