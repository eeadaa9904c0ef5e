#pragma once

#include "MetaloomFeature/Engine/TagAssignment.h"
#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

// Changes of the editor's entries that follow from what ExifTool said about
// them: writability from its tag table, the tags a failed or partial write
// named, and edits carried across a re-read. Pure functions; each answers how
// many entries it changed.
namespace Metaloom::EntryMarks {

// The warning of a tag that a change set but the file did not take.
QString noPlaceWarning();

// What the user put into an entry: its text, or the items of a list tag.
struct EnteredValue {
    QString value;
    bool isList = false;
    QStringList items;

    static EnteredValue of(const MetadataEntry &entry);
    // Puts it into the entry; an entry read as one value becomes a list to
    // take a list's items, and a list takes a text as its one item.
    void applyTo(MetadataEntry &entry) const;
    // Whether the entry holds it already.
    bool isIn(const MetadataEntry &entry) const;

    bool operator==(const EnteredValue &) const = default;
};

// The entry held a value and is emptied: the next save deletes the tag.
bool isMarkedForRemoval(const MetadataEntry &entry);

// What a change asks of the entry's tag: its items for a list, its text
// otherwise; nothing (a deletion) for an emptied one.
TagAssignment assignmentOf(const MetadataEntry &entry);

// What a change did to a tag that the file took otherwise than typed: the
// engine's reason, shown as the row's warning, and whether the row can no
// longer be written (a tag ExifTool keeps where it cannot write).
struct StoredNote {
    QString warning;
    bool readOnly = false;

    bool operator==(const StoredNote &) const = default;
};

// Puts each key's note on its entries, whose values are what the file holds.
int markStoredOtherwise(QList<MetadataEntry> &entries, const QHash<QString, StoredNote> &notes);

// Makes the entries of the key lists (the tag table says the tag is one).
int markAsLists(QList<MetadataEntry> &entries, const QString &key);

// Makes the entries of the key read-only or writable. An entry that becomes
// writable loses its warning, which said why it was read-only; one that
// was writable already keeps its warning (a note on what the file holds),
// and so does a read-only one.
int applyWritability(QList<MetadataEntry> &entries, const QString &key, bool isWritable);

// Marks read-only, with the error text as warning, every entry whose raw key
// or tag occurs in ExifTool's (trimmed) error text.
int markWriteFailure(QList<MetadataEntry> &entries, const QString &errorText);

// Gives the entries of each key the value the user had set, the warning and
// read-only state: the write could not put these tags into the file.
int markNotWritten(QList<MetadataEntry> &entries, const QHash<QString, EnteredValue> &userValues,
                   const QString &warning = noPlaceWarning());

// What each entry holds now, by id: what a write sent.
QHash<QUuid, EnteredValue> enteredValues(const QList<MetadataEntry> &entries);

// The values of entries edited since `sent` was taken, by raw key; entries
// that did not exist then count when edited.
QHash<QString, EnteredValue> editsSince(const QList<MetadataEntry> &entries,
                                        const QHash<QUuid, EnteredValue> &sent);

// Sets each key's value on its writable entries of a freshly read list.
int applyEdits(QList<MetadataEntry> &entries, const QHash<QString, EnteredValue> &edits);

} // namespace Metaloom::EntryMarks
