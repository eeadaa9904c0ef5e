#pragma once

#include "CustomMetadataTag.h"
#include "MetaloomFeature/Platform/Preferences.h"

#include <QList>
#include <QSet>
#include <optional>

namespace Metaloom {

// The pinned tag keys ("Metaloom.userFavoriteTags", an array of strings read
// as a set) and the custom fields ("Metaloom.customMetadataTags", JSON data).
// It keeps no copy: every load reads the preferences and every save replaces
// the stored value. Nothing is reported: unreadable values load as empty.
class FavoriteTagsStore {
public:
    static inline const QString favoritesKey = QStringLiteral("Metaloom.userFavoriteTags");
    static inline const QString customKey = QStringLiteral("Metaloom.customMetadataTags");

    // The one instance every window uses. It opens the standard preferences
    // on each call rather than holding them.
    static FavoriteTagsStore &shared();

    // A store over explicit preferences (tests, tools).
    explicit FavoriteTagsStore(Preferences preferences);

    FavoriteTagsStore(const FavoriteTagsStore &) = delete;
    FavoriteTagsStore &operator=(const FavoriteTagsStore &) = delete;

    // Empty when absent, not an array, or holding anything but strings.
    QSet<QString> loadFavorites() const;
    // Stores an array (an empty one for an empty set); the key is never removed.
    bool saveFavorites(const QSet<QString> &favorites);

    // The stored fields in stored order; empty when absent or unreadable.
    QList<CustomMetadataTag> loadCustomTags() const;
    bool saveCustomTags(const QList<CustomMetadataTag> &tags);

private:
    FavoriteTagsStore() = default;
    Preferences preferences() const;

    std::optional<Preferences> m_preferences;
};

} // namespace Metaloom
