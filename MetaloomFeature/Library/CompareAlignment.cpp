#include "CompareAlignment.h"

#include <QMap>

#include <algorithm>

namespace Metaloom::CompareAlignment {

namespace {

// The text compared: a list by its items, so that an item holding ", "
// is told from two items.
QString shownValue(const MetadataEntry &entry)
{
    return entry.isList ? MetadataEntry::listText(entry.items) : entry.value;
}

} // namespace

QList<Row> align(const QList<MetadataEntry> &left, const QList<MetadataEntry> &right)
{
    // Keyed by the lower-case order key, then the key itself, so that keys
    // differing only by letter case stay two rows.
    QMap<std::pair<QString, QString>, Row> rows;
    const auto add = [&rows](const MetadataEntry &entry, bool isLeft) {
        const std::pair<QString, QString> order{
            entry.group.toLower() + QLatin1Char('\n') + entry.tag.toLower(), entry.rawKey};
        Row &row = rows[order];
        row.key = entry.rawKey;
        row.group = entry.group;
        row.tag = entry.tag;
        (isLeft ? row.left : row.right) = shownValue(entry);
    };
    for (const MetadataEntry &entry : left)
        add(entry, true);
    for (const MetadataEntry &entry : right)
        add(entry, false);
    return rows.values();
}

QList<Row> differencesOnly(const QList<Row> &rows)
{
    QList<Row> differing;
    std::copy_if(rows.cbegin(), rows.cend(), std::back_inserter(differing),
                 [](const Row &row) { return row.differs(); });
    return differing;
}

} // namespace Metaloom::CompareAlignment
