#include "ItemOrdering.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <algorithm>

namespace Metaloom::ItemOrdering {

namespace {

// -1, 0 or 1 for the two dates; a date missing counts as later than any.
template <typename Date, typename Compare>
int compareDates(const std::optional<Date> &a, const std::optional<Date> &b, Compare compare)
{
    if (!a || !b)
        return a ? -1 : (b ? 1 : 0);
    return compare(*a, *b);
}

} // namespace

QList<MediaItem> ordered(QList<MediaItem> items, ItemOrder order,
                         const QHash<QUuid, qint64> &importRank,
                         const QHash<QUuid, ItemDates> &dates)
{
    const auto byTime = [&](const MediaItem &a, const MediaItem &b) {
        const ItemDates first = dates.value(a.id);
        const ItemDates second = dates.value(b.id);
        if (order == ItemOrder::captureDate)
            return compareDates(first.capture, second.capture,
                                [](const ExifDateTime &x, const ExifDateTime &y) {
                                    const qint64 seconds = x.secondsTo(y);
                                    return seconds > 0 ? -1 : (seconds < 0 ? 1 : 0);
                                });
        const auto valid = [](const QDateTime &date) {
            return date.isValid() ? std::optional(date) : std::nullopt;
        };
        return compareDates(
            valid(first.file), valid(second.file),
            [](const QDateTime &x, const QDateTime &y) { return x < y ? -1 : (y < x ? 1 : 0); });
    };
    // Collating each pair anew would cost seconds for ten thousand files;
    // one key per name keeps the sort within a frame.
    QHash<QUuid, LocalizedText::SortKey> nameKeys;
    if (order != ItemOrder::imported) {
        nameKeys.reserve(items.size());
        for (const MediaItem &item : std::as_const(items))
            nameKeys.insert(item.id, LocalizedText::SortKey(item.fileName));
    }
    std::stable_sort(items.begin(), items.end(), [&](const MediaItem &a, const MediaItem &b) {
        if (order == ItemOrder::captureDate || order == ItemOrder::fileDate) {
            if (const int time = byTime(a, b); time != 0)
                return time < 0;
        }
        if (order != ItemOrder::imported) {
            if (const int names = nameKeys.find(a.id)->compare(*nameKeys.find(b.id)); names != 0)
                return names < 0;
        }
        return importRank.value(a.id) < importRank.value(b.id);
    });
    return items;
}

} // namespace Metaloom::ItemOrdering
