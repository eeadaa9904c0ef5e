#include "EntryListMerge.h"

#include "MetaloomFeature/Model/EntryOrder.h"

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
    for (const CustomMetadataTag &field : settings.custom)
        customKeys.insert(field.rawKey);
    const auto isPinnedOrCustom = [&](const QString &key) {
        return settings.pinned.contains(key) || customKeys.contains(key);
    };

    entries.removeIf([&](const MetadataEntry &entry) {
        return isEmptyPlaceholder(entry) &&
               (!settings.addsPlaceholders || !isPinnedOrCustom(entry.rawKey));
    });

    QSet<QString> present;
    present.reserve(entries.size());
    for (MetadataEntry &entry : entries) {
        entry.isDefaultFavorite = settings.defaultFavorites.contains(entry.rawKey);
        entry.isFavorite = isPinnedOrCustom(entry.rawKey);
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
