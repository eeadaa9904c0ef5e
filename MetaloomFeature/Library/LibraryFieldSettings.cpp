// Pinned tags, custom fields, the settings sheet's flags, and the start-up
// loading of pins and the old default-overrides record.

#include "LibraryViewModel.h"

#include "MetaloomFeature/Model/DefaultOverridesMigration.h"

#include <algorithm>

namespace Metaloom {

void LibraryViewModel::loadFieldSettings()
{
    // The defaults are merged into what is stored at once, so the stored set
    // always holds them.
    m_pinnedTags = m_favoriteStore.changeFavorites(defaultFavoriteTags(), {});
    m_customTags = m_favoriteStore.loadCustomTags();
    // Other windows change the same lists; this one follows.
    m_favoriteStore.observeFavorites(
        this, [this] { showFieldSettings(m_favoriteStore.loadFavorites(), m_customTags); });
    m_favoriteStore.observeCustomTags(
        this, [this] { showFieldSettings(m_pinnedTags, m_favoriteStore.loadCustomTags()); });
}

void LibraryViewModel::showFieldSettings(QSet<QString> pinned, QList<CustomMetadataTag> custom)
{
    const bool pinsChanged = pinned != m_pinnedTags;
    const bool customChanged = custom != m_customTags;
    if (!pinsChanged && !customChanged)
        return;
    m_pinnedTags = std::move(pinned);
    m_customTags = std::move(custom);
    if (pinsChanged)
        Q_EMIT pinnedTagsChanged();
    if (customChanged)
        Q_EMIT customTagsChanged();
    fieldSettingsDidChange();
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
    const QSet<QString> key{entry.rawKey};
    showFieldSettings(m_pinnedTags.contains(entry.rawKey)
                          ? m_favoriteStore.changeFavorites({}, key)
                          : m_favoriteStore.changeFavorites(key, {}),
                      m_customTags);
}

void LibraryViewModel::updateMetadataDraft(const QSet<QString> &pinned,
                                           const QList<CustomMetadataTag> &custom)
{
    // Stored as what the user changed, against what the sheet showed, so the
    // pins and fields other windows stored meanwhile stay.
    const QSet<QString> basePins = m_isMetadataSettingsPresented ? m_draftBasePins : m_pinnedTags;
    const QList<CustomMetadataTag> baseCustom =
        m_isMetadataSettingsPresented ? m_draftBaseCustom : m_customTags;
    m_draftBasePins = pinned;
    m_draftBaseCustom = custom;
    QSet<QString> storedPins =
        m_favoriteStore.changeFavorites(pinned - basePins, basePins - pinned);
    QList<CustomMetadataTag> storedCustom =
        m_favoriteStore.changeCustomTags(CustomTagsChange::between(baseCustom, custom));
    showFieldSettings(std::move(storedPins), std::move(storedCustom));
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
