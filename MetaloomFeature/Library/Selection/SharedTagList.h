#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

// What several selected files hold in common, as one row per tag key. Pure:
// the library feeds it the files' read entries (with their unsaved edits on
// top) and shows the rows through the editor's usual entry list.
namespace Metaloom::SharedTagList {

// One selected file as the list sees it.
struct FileTags {
    QUuid itemID;
    QString fileName;
    QList<MetadataEntry> entries;
};

// How many files hold one value of a key.
struct ValueCount {
    QString value;
    int files = 0;

    bool operator==(const ValueCount &) const = default;
};

// One key across the selection. `entry` is the first holding file's entry,
// carrying the agreed value; with mixed values its value is empty.
struct Row {
    MetadataEntry entry = MetadataEntry(QString(), QString());
    // The files that hold the key do not all hold one value.
    bool mixed = false;
    // Each distinct value with the number of files holding it, most held
    // first (ties in order of first appearance).
    QList<ValueCount> values;
    int presentIn = 0;
    int fileCount = 0;
    // The files in which the tag cannot be written, and why (the first
    // reason given); the row is read-only when any is named.
    QStringList readOnlyFiles;
    QString readOnlyReason;
    // Some file holds an unsaved edit of the key.
    bool modified = false;
    // For a list tag: every item any file holds, once, in order of first
    // appearance (what "Remove item from all" offers).
    QStringList allItems;

    bool operator==(const Row &) const = default;
};

// The rows of the selection in the order the keys first occur (file by file),
// followed by the extra keys (pins and custom fields) none of the files
// holds, which come as empty rows present in no file.
QList<Row> compute(const QList<FileTags> &files, const QStringList &extraKeys = {});

// "in 3 of 5 files"; nothing when every file holds the key.
QString presenceNote(const Row &row);
// The values with their counts, one a line ("Alice — 3 files").
QString mixedValuesTooltip(const Row &row);
// Why the row cannot be written, naming the files when only some of the
// files holding the tag cannot write it.
QString readOnlyNote(const Row &row);

} // namespace Metaloom::SharedTagList
