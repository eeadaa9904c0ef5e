#include "ItemSelection.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace Metaloom {

QList<QUuid> ItemSelection::inListOrder(const QList<QUuid> &wanted, const QList<MediaItem> &items)
{
    const QSet<QUuid> wantedSet(wanted.cbegin(), wanted.cend());
    QList<QUuid> ordered;
    ordered.reserve(wantedSet.size());
    for (const MediaItem &item : items) {
        if (wantedSet.contains(item.id))
            ordered.append(item.id);
    }
    return ordered;
}

QString ItemSelection::countText(qsizetype count)
{
    return QCoreApplication::translate("ItemSelection", "%n files selected", nullptr, int(count));
}

QString ItemSelection::typeSummary(const QList<MediaItem> &items)
{
    QList<QPair<QString, int>> counts;
    for (const MediaItem &item : items) {
        const QString type = item.fileType.isEmpty()
                                 ? QCoreApplication::translate("ItemSelection", "other")
                                 : item.fileType;
        auto found = std::find_if(counts.begin(), counts.end(),
                                  [&type](const auto &count) { return count.first == type; });
        if (found == counts.end())
            counts.append({type, 1});
        else
            ++found->second;
    }
    std::stable_sort(counts.begin(), counts.end(),
                     [](const auto &a, const auto &b) { return a.second > b.second; });
    QStringList parts;
    for (const auto &count : std::as_const(counts))
        parts.append(QString::number(count.second) + QLatin1Char(' ') + count.first);
    return parts.join(QStringLiteral(", "));
}

bool ItemSelection::select(const QList<QUuid> &wanted, const QList<MediaItem> &items)
{
    QList<QUuid> ordered = inListOrder(wanted, items);
    if (ordered == m_ids)
        return false;
    m_ids = std::move(ordered);
    return true;
}

bool ItemSelection::selectOne(const std::optional<QUuid> &id)
{
    const QList<QUuid> one = id ? QList<QUuid>{*id} : QList<QUuid>();
    if (one == m_ids)
        return false;
    m_ids = one;
    return true;
}

} // namespace Metaloom
