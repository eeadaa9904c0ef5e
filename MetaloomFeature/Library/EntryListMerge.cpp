#include "EntryListMerge.h"

#include "MetaloomFeature/Model/EntryOrder.h"

#include <QHash>

namespace Metaloom::EntryListMerge {

namespace {

MetadataEntry placeholder(const QString &key, const QString &displayName,
                          const QSet<QString> &defaults)
{
    MetadataEntry entry(key, QString(), displayName);
    entry.isFavorite = true;
    entry.isDefaultFavorite = defaults.contains(key);
    return entry;
}

} // namespace

bool isEmptyPlaceholder(const MetadataEntry &entry)
{
    return entry.originalValue.isEmpty() && entry.value.isEmpty() && !entry.warning;
}

void mergeFieldSettings(QList<MetadataEntry> &entries, const FieldSettings &settings)
{
    QSet<QString> customKeys;
    // The label the user gave a field names its row whether the file holds
    // the tag or not; the first field of a key wins, as for placeholders.
    QHash<QString, QString> customLabels;
    for (const CustomMetadataTag &field : settings.custom) {
        if (!customKeys.contains(field.rawKey) && !field.displayName.isEmpty())
            customLabels.insert(field.rawKey, field.displayName);
        customKeys.insert(field.rawKey);
    }
    const auto isPinnedOrCustom = [&](const QString &key) {
        return settings.pinned.contains(key) || customKeys.contains(key);
    };

    entries.removeIf([&](const MetadataEntry &entry) {
        return isEmptyPlaceholder(entry) && !settings.held.contains(entry.rawKey) &&
               (!settings.addsPlaceholders || !isPinnedOrCustom(entry.rawKey));
    });

    QSet<QString> present;
    present.reserve(entries.size());
    for (MetadataEntry &entry : entries) {
        entry.isDefaultFavorite = settings.defaultFavorites.contains(entry.rawKey);
        entry.isFavorite = isPinnedOrCustom(entry.rawKey);
        if (const auto label = customLabels.constFind(entry.rawKey); label != customLabels.cend())
            entry.displayName = *label;
        else if (entry.displayName != entry.tag) // a field removed since gives its name back
            entry.displayName = QString(entry.tag).replace(u'_', u' ');
        present.insert(entry.rawKey);
    }
    if (!settings.addsPlaceholders) {
        sortForDisplay(entries);
        return;
    }
    for (const QString &key : settings.pinned) {
        if (present.contains(key))
            continue;
        entries.append(
            placeholder(key, displayLabel(key, settings.custom, {}), settings.defaultFavorites));
        present.insert(key);
    }
    for (const CustomMetadataTag &field : settings.custom) {
        if (present.contains(field.rawKey))
            continue;
        // A field without a label is named after its tag, never left blank.
        entries.append(placeholder(field.rawKey, displayLabel(field.rawKey, settings.custom, {}),
                                   settings.defaultFavorites));
        present.insert(field.rawKey);
    }
    sortForDisplay(entries);
}

void sortForDisplay(QList<MetadataEntry> &entries)
{
    // The engine orders what it reads the same way; one rule for both.
    EntryOrder::sortByGroupAndTag(entries);
}

QString displayLabel(const QString &key, const QList<CustomMetadataTag> &custom,
                     const QList<MetadataEntry> &entries)
{
    for (const CustomMetadataTag &field : custom) {
        if (field.rawKey == key) {
            if (!field.displayName.isEmpty())
                return field.displayName;
            break;
        }
    }
    for (const MetadataEntry &entry : entries) {
        if (entry.rawKey == key)
            return entry.displayName;
    }
    return MetadataEntry(key, QString()).displayName;
}

} // namespace Metaloom::EntryListMerge
