#pragma once

#include "MetaloomFeature/Library/EntryMarks.h"
#include "MetaloomFeature/Library/Selection/SharedTagList.h"
#include "MetaloomFeature/Model/MediaItem.h"
#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>

namespace Metaloom {

// The tags of the files read for a selection, kept while they stay loaded so
// that selecting them again needs no ExifTool run. A save, a reload or the
// removal of a file forgets its read.
class SelectionReads {
public:
    struct Read {
        QList<MetadataEntry> entries;
        // Where each key sits in entries.
        QHash<QString, qsizetype> rowOfKey;
        // The format cannot be written, and this says so.
        std::optional<QString> readOnlyNote;
    };

    bool contains(const QUuid &id) const { return m_reads.contains(id); }
    void store(const QUuid &id, QList<MetadataEntry> entries, std::optional<QString> readOnlyNote);
    void forget(const QUuid &id) { m_reads.remove(id); }
    void forgetAll() { m_reads.clear(); }
    const Read *read(const QUuid &id) const;

    // What the file holds for the key as read, or nothing.
    std::optional<EntryMarks::EnteredValue> readValue(const QUuid &id, const QString &key) const;

    // The file's tags as the shared list sees them: the read, with the
    // format's read-only mark, the list tags made lists and its unsaved edits
    // on top (a key the file lacks comes as a new entry).
    SharedTagList::FileTags fileTags(const MediaItem &item, const QSet<QString> &listTags,
                                     const QHash<QString, EntryMarks::EnteredValue> &edits) const;

private:
    QHash<QUuid, Read> m_reads;
};

} // namespace Metaloom
