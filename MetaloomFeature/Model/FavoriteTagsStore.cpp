#include "FavoriteTagsStore.h"

#include "CustomMetadataTagCoding.h"
#include "StoredListChange.h"
#include "StoredListsNotifier.h"

namespace Metaloom {

namespace {

Preferences resolved(const std::optional<Preferences> &preferences)
{
    return preferences ? *preferences : Preferences::standard();
}

std::optional<QSet<QString>> readableFavorites(const Preferences &preferences)
{
    const std::optional<QStringList> keys =
        preferences.stringArray(FavoriteTagsStore::favoritesKey);
    if (!keys)
        return std::nullopt;
    return QSet<QString>(keys->cbegin(), keys->cend());
}

std::optional<QList<CustomMetadataTag>> readableCustomTags(const Preferences &preferences)
{
    return readableDataList(preferences, FavoriteTagsStore::customKey,
                            &CustomMetadataTagCoding::decode);
}

StoredListChange favoritesChange(const Preferences &preferences)
{
    return StoredListChange(preferences, FavoriteTagsStore::favoritesKey,
                            [](const Preferences &p) { return readableFavorites(p).has_value(); });
}

StoredListChange customTagsChange(const Preferences &preferences)
{
    return StoredListChange(preferences, FavoriteTagsStore::customKey,
                            [](const Preferences &p) { return readableCustomTags(p).has_value(); });
}

bool writeFavorites(Preferences &preferences, const QSet<QString> &favorites)
{
    return preferences.setStringArray(FavoriteTagsStore::favoritesKey,
                                      QStringList(favorites.cbegin(), favorites.cend()));
}

bool writeCustomTags(Preferences &preferences, const QList<CustomMetadataTag> &tags)
{
    return preferences.setData(FavoriteTagsStore::customKey, CustomMetadataTagCoding::encode(tags));
}

} // namespace

FavoriteTagsStore &FavoriteTagsStore::shared()
{
    static FavoriteTagsStore instance;
    return instance;
}

FavoriteTagsStore::FavoriteTagsStore(Preferences preferences)
    : m_preferences(std::move(preferences))
{}

Preferences FavoriteTagsStore::preferences() const
{
    return resolved(m_preferences);
}

QSet<QString> FavoriteTagsStore::loadFavorites() const
{
    return readableFavorites(preferences()).value_or(QSet<QString>());
}

bool FavoriteTagsStore::saveFavorites(const QSet<QString> &favorites)
{
    StoredListChange change = favoritesChange(preferences());
    return change.write([&](Preferences &p) { return writeFavorites(p, favorites); });
}

QSet<QString> FavoriteTagsStore::changeFavorites(const QSet<QString> &pin,
                                                 const QSet<QString> &unpin)
{
    StoredListChange change = favoritesChange(preferences());
    const QSet<QString> stored = loadFavorites();
    const QSet<QString> favorites = QSet<QString>(stored).unite(pin).subtract(unpin);
    if (favorites != stored || !change.storedValueIsReadable())
        change.write([&](Preferences &p) { return writeFavorites(p, favorites); });
    return favorites;
}

QList<CustomMetadataTag> FavoriteTagsStore::loadCustomTags() const
{
    return readableCustomTags(preferences()).value_or(QList<CustomMetadataTag>());
}

bool FavoriteTagsStore::saveCustomTags(const QList<CustomMetadataTag> &tags)
{
    StoredListChange change = customTagsChange(preferences());
    return change.write([&](Preferences &p) { return writeCustomTags(p, tags); });
}

QList<CustomMetadataTag> FavoriteTagsStore::changeCustomTags(const CustomTagsChange &edit)
{
    StoredListChange change = customTagsChange(preferences());
    const QList<CustomMetadataTag> stored = loadCustomTags();
    const QList<CustomMetadataTag> tags = edit.appliedTo(stored);
    if (tags != stored || !change.storedValueIsReadable())
        change.write([&](Preferences &p) { return writeCustomTags(p, tags); });
    return tags;
}

QMetaObject::Connection FavoriteTagsStore::observeFavorites(QObject *context,
                                                            std::function<void()> onChanged) const
{
    return observe(favoritesKey, context, std::move(onChanged));
}

QMetaObject::Connection FavoriteTagsStore::observeCustomTags(QObject *context,
                                                             std::function<void()> onChanged) const
{
    return observe(customKey, context, std::move(onChanged));
}

QMetaObject::Connection FavoriteTagsStore::observe(const QString &key, QObject *context,
                                                   std::function<void()> onChanged) const
{
    // The preferences, not the store, are captured: a store may go before
    // the observer does.
    return QObject::connect(
        &StoredListsNotifier::shared(), &StoredListsNotifier::storedListChanged, context,
        [key, preferences = m_preferences, onChanged = std::move(onChanged)](
            const QString &preferencesFile, const QString &changedKey) {
            if (changedKey == key && preferencesFile == resolved(preferences).fileName())
                onChanged();
        });
}

} // namespace Metaloom
