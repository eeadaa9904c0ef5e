#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace Metaloom {

// One tag of one file as the editor shows it. The raw key is ExifTool's
// family-1 group, a colon and the tag name ("XMP-dc:Creator").
struct MetadataEntry {
    QUuid id;
    QString rawKey;
    QString group;
    QString tag;
    QString displayName;
    QString originalValue;
    QString value;
    // Read-only whatever its group: a tag the tag table or a failed write
    // marked. The file's modification date (System:FileModifyDate), the
    // one tag of the file-system groups a change can set, starts marked,
    // until the tag table says it is writable.
    bool forceReadOnly = false;
    std::optional<QString> warning;
    bool isFavorite = false;
    bool isDefaultFavorite = false;
    // A list tag (IPTC:Keywords, XMP-dc:Subject) holds items, written and
    // compared one by one; `value` then is their display text, the items
    // joined with ", ", and changes only through setItems(). A list tag
    // that holds one item reads like any other tag until its definition
    // says it is a list (markAsList()).
    bool isList = false;
    QStringList originalItems;
    QStringList items;

    // Splits the key at its first colon ("General" when there is none) and
    // labels the entry with the override or with the tag name, underscores
    // shown as spaces.
    MetadataEntry(const QString &rawKey, const QString &value,
                  const std::optional<QString> &displayNameOverride = std::nullopt);
    // A list tag read with these items.
    static MetadataEntry
    listEntry(const QString &rawKey, const QStringList &items,
              const std::optional<QString> &displayNameOverride = std::nullopt);

    // The display text of a list's items.
    static QString listText(const QStringList &items);

    // Replaces the items of a list tag (value follows).
    void setItems(const QStringList &newItems);
    // Turns a tag read as one value into a list of that one item (none when
    // empty), keeping any edit as the list's only item.
    void markAsList();

    bool isModified() const { return isList ? items != originalItems : value != originalValue; }
    bool isWritable() const;

    // Groups ExifTool reports about itself ("ExifTool") or its parsing of
    // a container's item structure ("Meta"); never shown.
    static const QSet<QString> &hiddenGroups();
    // The entries as the editor lists them: those of hidden groups dropped.
    static QList<MetadataEntry> shownOnly(QList<MetadataEntry> entries);

    bool operator==(const MetadataEntry &) const = default;
};

size_t qHash(const MetadataEntry &entry, size_t seed = 0) noexcept;

} // namespace Metaloom
