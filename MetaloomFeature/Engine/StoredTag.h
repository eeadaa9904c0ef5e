#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace Metaloom {

// A tag a file holds, read for one asked key: a key without a group, or with
// a family-0 group ("EXIF:Artist"), can find tags of several groups.
struct StoredTag {
    QString key;       // family-1 group and tag name, as the window names tags ("IFD0:Artist")
    QStringList items; // each element of a list, or the value as the only item
    bool operator==(const StoredTag &) const = default;
};

// Every asked key, with the tags found for it (none when the file holds none).
using StoredTags = QHash<QString, QList<StoredTag>>;

} // namespace Metaloom
