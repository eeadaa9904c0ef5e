#include "EntryMarks.h"
#include <QCoreApplication>

namespace Metaloom::EntryMarks {

QString noPlaceWarning()
{
    return QCoreApplication::translate("EntryMarks", "This file type has no place for this tag.");
}

EnteredValue EnteredValue::of(const MetadataEntry &entry)
{
    return entry.isList ? EnteredValue{entry.value, true, entry.items}
                        : EnteredValue{entry.value, false, {}};
}

void EnteredValue::applyTo(MetadataEntry &entry) const
{
    if (isList) {
        entry.markAsList();
        entry.setItems(items);
    } else if (entry.isList) {
        entry.setItems(value.isEmpty() ? QStringList() : QStringList{value});
    } else {
        entry.value = value;
    }
}

bool EnteredValue::isIn(const MetadataEntry &entry) const
{
    if (entry.isList)
        return entry.items == (isList            ? items
                               : value.isEmpty() ? QStringList()
                                                 : QStringList{value});
    return !isList && entry.value == value;
}

bool isMarkedForRemoval(const MetadataEntry &entry)
{
    if (!entry.isModified())
        return false;
    return entry.isList ? entry.items.isEmpty() && !entry.originalItems.isEmpty()
                        : entry.value.isEmpty() && !entry.originalValue.isEmpty();
}

TagAssignment assignmentOf(const MetadataEntry &entry)
{
    if (entry.isList)
        return {entry.rawKey, entry.items};
    return {entry.rawKey, entry.value.isEmpty() ? QStringList() : QStringList{entry.value}};
}

int markStoredOtherwise(QList<MetadataEntry> &entries, const QHash<QString, StoredNote> &notes)
{
    int marked = 0;
    for (MetadataEntry &entry : entries) {
        const auto found = notes.constFind(entry.rawKey);
        if (found == notes.constEnd())
            continue;
        entry.warning = found->warning;
        entry.forceReadOnly = entry.forceReadOnly || found->readOnly;
        ++marked;
    }
    return marked;
}

int markAsLists(QList<MetadataEntry> &entries, const QString &key)
{
    int marked = 0;
    for (MetadataEntry &entry : entries) {
        if (entry.rawKey != key || entry.isList)
            continue;
        entry.markAsList();
        ++marked;
    }
    return marked;
}

int applyWritability(QList<MetadataEntry> &entries, const QString &key, bool isWritable)
{
    int changed = 0;
    for (MetadataEntry &entry : entries) {
        if (entry.rawKey != key)
            continue;
        if (entry.forceReadOnly == !isWritable)
            continue;
        // The warning of a read-only entry said why it was read-only.
        if (isWritable)
            entry.warning.reset();
        entry.forceReadOnly = !isWritable;
        ++changed;
    }
    return changed;
}

int markWriteFailure(QList<MetadataEntry> &entries, const QString &errorText)
{
    int marked = 0;
    for (MetadataEntry &entry : entries) {
        // An empty tag would match any text.
        const bool named = errorText.contains(entry.rawKey) ||
                           (!entry.tag.isEmpty() && errorText.contains(entry.tag));
        if (!named)
            continue;
        entry.warning = errorText;
        entry.forceReadOnly = true;
        ++marked;
    }
    return marked;
}

int markNotWritten(QList<MetadataEntry> &entries, const QHash<QString, EnteredValue> &userValues,
                   const QString &warning)
{
    int marked = 0;
    for (MetadataEntry &entry : entries) {
        const auto found = userValues.constFind(entry.rawKey);
        if (found == userValues.constEnd())
            continue;
        found->applyTo(entry);
        entry.warning = warning;
        entry.forceReadOnly = true;
        ++marked;
    }
    return marked;
}

QHash<QUuid, EnteredValue> enteredValues(const QList<MetadataEntry> &entries)
{
    QHash<QUuid, EnteredValue> values;
    values.reserve(entries.size());
    for (const MetadataEntry &entry : entries)
        values.insert(entry.id, EnteredValue::of(entry));
    return values;
}

QHash<QString, EnteredValue> editsSince(const QList<MetadataEntry> &entries,
                                        const QHash<QUuid, EnteredValue> &sent)
{
    QHash<QString, EnteredValue> edits;
    for (const MetadataEntry &entry : entries) {
        const auto found = sent.constFind(entry.id);
        const bool changed = found == sent.constEnd() ? entry.isModified() : !found->isIn(entry);
        if (changed)
            edits.insert(entry.rawKey, EnteredValue::of(entry));
    }
    return edits;
}

int applyEdits(QList<MetadataEntry> &entries, const QHash<QString, EnteredValue> &edits)
{
    int applied = 0;
    for (MetadataEntry &entry : entries) {
        const auto found = edits.constFind(entry.rawKey);
        if (found == edits.constEnd() || !entry.isWritable() || found->isIn(entry))
            continue;
        found->applyTo(entry);
        ++applied;
    }
    return applied;
}

} // namespace Metaloom::EntryMarks
