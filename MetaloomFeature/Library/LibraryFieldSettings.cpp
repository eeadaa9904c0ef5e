// Pinned tags, custom fields, the settings sheet's flags, and the start-up
// loading of pins and the old default-overrides record.

#include "LibraryViewModel.h"

#include "MetaloomFeature/Model/DefaultOverridesMigration.h"

#include <algorithm>

namespace Metaloom {

void LibraryViewModel::loadFieldSettings()
{
    const QSet<QString> stored = m_favoriteStore.loadFavorites();
    m_pinnedTags = stored.isEmpty() ? defaultFavoriteTags() : stored + defaultFavoriteTags();
    // Stored at once, so the stored set always holds the defaults.
    m_favoriteStore.saveFavorites(m_pinnedTags);
    m_customTags = m_favoriteStore.loadCustomTags();
}

void LibraryViewModel::migrateDefaultOverrides()
{
    if (const std::optional<QString> status = DefaultOverridesMigration::migrate())
        setStatus(*status);
}

void LibraryViewModel::fieldSettingsDidChange()
{
    mergeFieldSettings();
    applySearch();
}

void LibraryViewModel::toggleFavorite(const MetadataEntry &entry)
{
    if (!m_pinnedTags.remove(entry.rawKey))
        m_pinnedTags.insert(entry.rawKey);
    Q_EMIT pinnedTagsChanged();
    m_favoriteStore.saveFavorites(m_pinnedTags);
    fieldSettingsDidChange();
}

void LibraryViewModel::updateMetadataDraft(const QSet<QString> &pinned,
                                           const QList<CustomMetadataTag> &custom)
{
    const bool pinsChanged = pinned != m_pinnedTags;
    const bool customChanged = custom != m_customTags;
    m_pinnedTags = pinned;
    m_customTags = custom;
    if (pinsChanged)
        Q_EMIT pinnedTagsChanged();
    if (customChanged)
        Q_EMIT customTagsChanged();
    m_favoriteStore.saveFavorites(m_pinnedTags);
    m_favoriteStore.saveCustomTags(m_customTags);
    fieldSettingsDidChange();
}

void LibraryViewModel::applyMetadataSettings(const QSet<QString> &pinned,
                                             const QList<CustomMetadataTag> &custom)
{
    updateMetadataDraft(pinned, custom);
    setMetadataSettingsPresented(false);
}

void LibraryViewModel::presentMetadataSettings()
{
    presentSettings(SettingsTab::metadata);
}

void LibraryViewModel::presentSettings(SettingsTab tab)
{
    setSettingsTab(tab);
    setMetadataSettingsPresented(true);
}

void LibraryViewModel::dismissMetadataSettings()
{
    setMetadataSettingsPresented(false);
}

QStringList LibraryViewModel::availableTagKeys() const
{
    QSet<QString> keys = m_pinnedTags + defaultFavoriteTags();
    for (const MetadataEntry &entry : m_fullEntryList)
        keys.insert(entry.rawKey);
    for (const CustomMetadataTag &field : m_customTags)
        keys.insert(field.rawKey);

    struct Labelled {
        QString label;
        QString key;
    };
    std::vector<Labelled> labelled;
    labelled.reserve(size_t(keys.size()));
    for (const QString &key : std::as_const(keys))
        labelled.push_back({displayLabel(key), key});
    // Plain comparison of the labels; equal labels fall back to the key, so
    // the order does not change from one read to the next.
    std::sort(labelled.begin(), labelled.end(), [](const Labelled &a, const Labelled &b) {
        return a.label != b.label ? a.label < b.label : a.key < b.key;
    });
    QStringList sorted;
    sorted.reserve(qsizetype(labelled.size()));
    for (Labelled &entry : labelled)
        sorted.append(std::move(entry.key));
    return sorted;
}

} // namespace Metaloom
