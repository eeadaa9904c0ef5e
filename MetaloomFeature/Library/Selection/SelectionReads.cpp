#include "SelectionReads.h"

namespace Metaloom {

void SelectionReads::store(const QUuid &id, QList<MetadataEntry> entries,
                           std::optional<QString> readOnlyNote)
{
    Read read;
    read.entries = std::move(entries);
    read.rowOfKey.reserve(read.entries.size());
    for (qsizetype row = 0; row < read.entries.size(); ++row)
        read.rowOfKey.insert(read.entries.at(row).rawKey, row);
    read.readOnlyNote = std::move(readOnlyNote);
    m_reads.insert(id, std::move(read));
}

const SelectionReads::Read *SelectionReads::read(const QUuid &id) const
{
    const auto found = m_reads.constFind(id);
    return found == m_reads.cend() ? nullptr : &*found;
}

std::optional<EntryMarks::EnteredValue> SelectionReads::readValue(const QUuid &id,
                                                                  const QString &key) const
{
    const Read *held = read(id);
    if (!held)
        return std::nullopt;
    const auto row = held->rowOfKey.constFind(key);
    if (row == held->rowOfKey.cend())
        return std::nullopt;
    const MetadataEntry &entry = held->entries.at(*row);
    EntryMarks::EnteredValue value;
    value.isList = entry.isList;
    value.items = entry.originalItems;
    value.value = entry.originalValue;
    return value;
}

SharedTagList::FileTags
SelectionReads::fileTags(const MediaItem &item, const QSet<QString> &listTags,
                         const QHash<QString, EntryMarks::EnteredValue> &edits) const
{
    SharedTagList::FileTags tags;
    tags.itemID = item.id;
    tags.fileName = item.fileName;
    const Read *held = read(item.id);
    if (!held)
        return tags;
    tags.entries = held->entries;
    for (MetadataEntry &entry : tags.entries) {
        if (held->readOnlyNote) {
            entry.forceReadOnly = true;
            entry.warning = held->readOnlyNote;
        }
        if (listTags.contains(entry.rawKey))
            entry.markAsList();
    }
    if (edits.isEmpty())
        return tags;
    EntryMarks::applyEdits(tags.entries, edits);
    // An edit of the selection reaches files that lacked the tag too.
    for (auto edit = edits.cbegin(); edit != edits.cend(); ++edit) {
        if (held->rowOfKey.contains(edit.key()))
            continue;
        MetadataEntry added(edit.key(), QString());
        if (edit->isList || listTags.contains(edit.key()))
            added.markAsList();
        edit->applyTo(added);
        tags.entries.append(std::move(added));
    }
    return tags;
}

} // namespace Metaloom
