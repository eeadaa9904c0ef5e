#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QHash>
#include <QList>
#include <QString>

// Changes of the editor's entries that follow from what ExifTool said about
// them: writability from its tag table, the tags a failed or partial write
// named, and edits carried across a re-read. Pure functions; each answers how
// many entries it changed.
namespace Metaloom::EntryMarks {

// The warning of a tag that a change set but the file did not take.
inline const QString noPlaceWarning = QStringLiteral("This file type has no place for this tag.");

// Makes the entries of the key read-only or writable. A writable entry loses
// its warning; a read-only one keeps it.
int applyWritability(QList<MetadataEntry> &entries, const QString &key, bool isWritable);

// Marks read-only, with the error text as warning, every entry whose raw key
// or tag occurs in ExifTool's (trimmed) error text.
int markWriteFailure(QList<MetadataEntry> &entries, const QString &errorText);

// Gives the entries of each key the value the user had set, the warning and
// read-only state: the write could not put these tags into the file.
int markNotWritten(QList<MetadataEntry> &entries, const QHash<QString, QString> &userValues,
                   const QString &warning = noPlaceWarning);

// The values of entries edited since `sent` was taken (entry id to value at
// that moment), by raw key; entries that did not exist then count when edited.
QHash<QString, QString> editsSince(const QList<MetadataEntry> &entries,
                                   const QHash<QUuid, QString> &sent);

// Sets each key's value on its writable entries of a freshly read list.
int applyEdits(QList<MetadataEntry> &entries, const QHash<QString, QString> &edits);

} // namespace Metaloom::EntryMarks
