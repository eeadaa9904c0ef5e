#pragma once

#include "MetaloomFeature/Model/Dates/ExifDateTime.h"
#include "MetaloomFeature/Model/MediaItem.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QUuid>

#include <optional>

namespace Metaloom {

// The order the sidebar lists the files in: as they were added, by name,
// or by when they were taken or last changed on disk, so that the result of
// a shift of dates can be checked.
enum class ItemOrder { imported, name, captureDate, fileDate };

// What the time orders sort by; a file without the date goes last.
struct ItemDates {
    std::optional<ExifDateTime> capture;
    QDateTime file;
    bool operator==(const ItemDates &) const = default;
};

namespace ItemOrdering {

// The items in that order; ties, and files without the date, by name, then
// as added (`importRank`, lower first).
QList<MediaItem> ordered(QList<MediaItem> items, ItemOrder order,
                         const QHash<QUuid, qint64> &importRank,
                         const QHash<QUuid, ItemDates> &dates);

} // namespace ItemOrdering

} // namespace Metaloom
