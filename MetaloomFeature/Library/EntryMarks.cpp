#include "EntryMarks.h"

namespace Metaloom::EntryMarks {

int applyWritability(QList<MetadataEntry> &entries, const QString &key, bool isWritable)
{
    int changed = 0;
    for (MetadataEntry &entry : entries) {
        if (entry.rawKey != key)
            continue;
        if (entry.forceReadOnly == !isWritable && (!isWritable || !entry.warning))
            continue;
        entry.forceReadOnly = !isWritable;
        if (isWritable)
            entry.warning.reset();
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

int markNotWritten(QList<MetadataEntry> &entries, const QHash<QString, QString> &userValues,
                   const QString &warning)
{
    int marked = 0;
    for (MetadataEntry &entry : entries) {
        const auto found = userValues.constFind(entry.rawKey);
        if (found == userValues.constEnd())
            continue;
        entry.value = *found;
        entry.warning = warning;
        entry.forceReadOnly = true;
        ++marked;
    }
    return marked;
}

QHash<QString, QString> editsSince(const QList<MetadataEntry> &entries,
                                   const QHash<QUuid, QString> &sent)
{
    QHash<QString, QString> edits;
    for (const MetadataEntry &entry : entries) {
        const auto found = sent.constFind(entry.id);
        const bool changed = found == sent.constEnd() ? entry.isModified() : *found != entry.value;
        if (changed)
            edits.insert(entry.rawKey, entry.value);
    }
    return edits;
}

int applyEdits(QList<MetadataEntry> &entries, const QHash<QString, QString> &edits)
{
    int applied = 0;
    for (MetadataEntry &entry : entries) {
        const auto found = edits.constFind(entry.rawKey);
        if (found == edits.constEnd() || !entry.isWritable() || entry.value == *found)
            continue;
        entry.value = *found;
        ++applied;
    }
    return applied;
}

} // namespace Metaloom::EntryMarks
