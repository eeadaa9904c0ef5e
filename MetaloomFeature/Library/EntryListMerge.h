#pragma once

#include "MetaloomFeature/Model/CustomMetadataTag.h"
#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QList>
#include <QSet>
#include <QString>

// How the entries of one file become the list the editor shows: the user's
// pinned tags and custom fields merged in as empty placeholders, favourite
// marks set, and everything in display order. Pure functions.
namespace Metaloom::EntryListMerge {

struct FieldSettings {
    QSet<QString> pinned;
    QList<CustomMetadataTag> custom;
    QSet<QString> defaultFavorites;
    // False for a file whose format ExifTool cannot write: a placeholder
    // there could never be filled in.
    bool addsPlaceholders = true;
    // Keys some file holds although their entry shows no value: the rows of
    // several files that hold different values. They are never dropped.
    QSet<QString> held = {};
};

// An entry with no value, no edit and no warning.
bool isEmptyPlaceholder(const MetadataEntry &entry);

// Drops empty entries that are neither pinned nor custom, marks favourites,
// appends a placeholder for every pinned key and then every custom key the
// list lacks (one per key; the first custom field of a key wins), and sorts.
// Without placeholders, every empty entry is dropped and none is added.
// Entries already present keep their ids.
void mergeFieldSettings(QList<MetadataEntry> &entries, const FieldSettings &settings);

// By group (case-insensitive, the user's locale), then by tag within a group.
void sortForDisplay(QList<MetadataEntry> &entries);

// The label of a key: the first custom field's name when not empty, else the
// first entry's display name, else the name an entry of that key would get.
QString displayLabel(const QString &key, const QList<CustomMetadataTag> &custom,
                     const QList<MetadataEntry> &entries);

} // namespace Metaloom::EntryListMerge
