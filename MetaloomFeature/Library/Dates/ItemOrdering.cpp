#include "ItemOrdering.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <algorithm>
#include <vector>

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
    const bool byDate = order == ItemOrder::captureDate || order == ItemOrder::fileDate;
    // What each item is sorted by, looked up once: a sort of ten thousand
    // files compares some 130,000 pairs. Collating each pair anew would
    // cost seconds; one key per name keeps the sort within a frame.
    struct Row {
        qsizetype index;
        qint64 rank;
        ItemDates dates;
        std::optional<LocalizedText::SortKey> name;
    };
    std::vector<Row> rows;
    rows.reserve(size_t(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const MediaItem &item = items.at(i);
        rows.push_back({i, importRank.value(item.id), byDate ? dates.value(item.id) : ItemDates{},
                        order != ItemOrder::imported
                            ? std::optional(LocalizedText::SortKey(item.fileName))
                            : std::nullopt});
    }
    const auto byTime = [&](const Row &a, const Row &b) {
        if (order == ItemOrder::captureDate)
            return compareDates(a.dates.capture, b.dates.capture,
                                [](const ExifDateTime &x, const ExifDateTime &y) {
                                    const qint64 seconds = x.secondsTo(y);
                                    return seconds > 0 ? -1 : (seconds < 0 ? 1 : 0);
                                });
        const auto valid = [](const QDateTime &date) {
            return date.isValid() ? std::optional(date) : std::nullopt;
        };
        return compareDates(
            valid(a.dates.file), valid(b.dates.file),
            [](const QDateTime &x, const QDateTime &y) { return x < y ? -1 : (y < x ? 1 : 0); });
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row &a, const Row &b) {
        if (byDate) {
            if (const int time = byTime(a, b); time != 0)
                return time < 0;
        }
        if (a.name) {
            if (const int names = a.name->compare(*b.name); names != 0)
                return names < 0;
        }
        return a.rank < b.rank;
    });
    QList<MediaItem> sorted;
    sorted.reserve(items.size());
    for (const Row &row : rows)
        sorted.append(std::move(items[row.index]));
    return sorted;
}

} // namespace Metaloom::ItemOrdering
