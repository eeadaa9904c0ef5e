#pragma once

#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <utility>

namespace Metaloom::Testing {

// A list of entries standing in for the library behind an entry tree. It
// records what the tree hands on and, as the library does, takes an edit
// into its list and tells the tree of that one entry.
class EntryListSource {
public:
    explicit EntryListSource(QList<MetadataEntry> initial = {}) : tree(source())
    {
        publish(std::move(initial));
    }

    // Shows this list instead of the one shown (a load, a search, a change
    // of several entries).
    void publish(QList<MetadataEntry> next)
    {
        const QList<MetadataEntry> previous = std::exchange(entries, std::move(next));
        m_rowOfKey.clear();
        for (qsizetype row = 0; row < entries.size(); ++row)
            m_rowOfKey.insert(entries.at(row).rawKey, row);
        tree.showEntries(previous, entries);
    }

    QList<MetadataEntry> entries;
    QHash<QString, QList<EnumeratedOption>> options;
    QStringList edits;
    QList<QStringList> itemEdits;
    QStringList toggledFavorites;
    QStringList keysCameIntoView;
    // Keys whose definition is still awaited.
    QSet<QString> checking;
    EntryTreeModel tree;

private:
    QHash<QString, qsizetype> m_rowOfKey;

    MetadataEntry *listed(const MetadataEntry &entry)
    {
        for (MetadataEntry &candidate : entries) {
            if (candidate.id == entry.id)
                return &candidate;
        }
        return nullptr;
    }

    EntryTreeModel::Source source()
    {
        EntryTreeModel::Source source;
        source.entry = [this](const QString &key) -> const MetadataEntry * {
            // A test may change the list without publishing it.
            const qsizetype row = m_rowOfKey.value(key, -1);
            if (row >= 0 && row < entries.size() && entries.at(row).rawKey == key)
                return &entries.at(row);
            for (const MetadataEntry &entry : entries) {
                if (entry.rawKey == key)
                    return &entry;
            }
            return nullptr;
        };
        source.permittedValues = [this](const QString &key) {
            std::optional<QList<EnumeratedOption>> found;
            if (options.contains(key))
                found = options.value(key);
            return found;
        };
        source.editValue = [this](const MetadataEntry &entry, const QString &value) {
            edits << value;
            if (MetadataEntry *edited = listed(entry)) {
                edited->value = value;
                tree.entryDidChange(edited->rawKey);
            }
        };
        source.editItems = [this](const MetadataEntry &entry, const QStringList &items) {
            itemEdits << items;
            if (MetadataEntry *edited = listed(entry)) {
                edited->setItems(items);
                tree.entryDidChange(edited->rawKey);
            }
        };
        source.toggleFavorite = [this](const MetadataEntry &entry) {
            toggledFavorites << entry.rawKey;
        };
        source.entryCameIntoView = [this](const MetadataEntry &entry) {
            keysCameIntoView << entry.rawKey;
        };
        source.isChecking = [this](const QString &key) { return checking.contains(key); };
        return source;
    }
};

// Entries of these keys, each with the value "v".
inline QList<MetadataEntry> entriesFor(const QStringList &keys)
{
    QList<MetadataEntry> entries;
    for (const QString &key : keys)
        entries.append(MetadataEntry(key, QStringLiteral("v")));
    return entries;
}

// The entries with the one at `at` holding another value.
inline QList<MetadataEntry> withValue(QList<MetadataEntry> entries, qsizetype at,
                                      const QString &value)
{
    entries[at].value = value;
    return entries;
}

} // namespace Metaloom::Testing
