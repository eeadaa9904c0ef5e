#include "FavoriteTagsStore.h"

#include "CustomMetadataTagCoding.h"
#include "StoredJson.h"
#include "UnreadableListBackup.h"

namespace Metaloom {

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
    return m_preferences ? *m_preferences : Preferences::standard();
}

QSet<QString> FavoriteTagsStore::loadFavorites() const
{
    const std::optional<QStringList> keys = preferences().stringArray(favoritesKey);
    if (!keys)
        return {};
    return QSet<QString>(keys->cbegin(), keys->cend());
}

bool FavoriteTagsStore::saveFavorites(const QSet<QString> &favorites)
{
    return preferences().setStringArray(favoritesKey,
                                        QStringList(favorites.cbegin(), favorites.cend()));
}

QList<CustomMetadataTag> FavoriteTagsStore::loadCustomTags() const
{
    const std::optional<QByteArray> stored = preferences().data(customKey);
    if (!stored)
        return {};
    try {
        return CustomMetadataTagCoding::decode(*stored);
    } catch (const DecodingError &) {
        return {};
    }
}

bool FavoriteTagsStore::saveCustomTags(const QList<CustomMetadataTag> &tags)
{
    Preferences target = preferences();
    UnreadableListBackup::keepIfUnreadable(
        target, customKey, [](const QByteArray &bytes) { CustomMetadataTagCoding::decode(bytes); });
    return target.setData(customKey, CustomMetadataTagCoding::encode(tags));
}

} // namespace Metaloom
