#pragma once

#include "CustomMetadataTag.h"
#include "CustomTagsChange.h"
#include "MetaloomFeature/Platform/Preferences.h"

#include <QList>
#include <QMetaObject>
#include <QSet>

#include <functional>
#include <optional>

class QObject;

namespace Metaloom {

// The pinned tag keys ("Metaloom.userFavoriteTags", an array of strings read
// as a set) and the custom fields ("Metaloom.customMetadataTags", JSON data).
// It keeps no copy: every load reads the preferences. Nothing is reported:
// unreadable values load as empty, and are copied aside under
// "<key>.unreadable" before a change replaces them.
//
// Several windows, and several processes, share these lists. Every change is
// made under the preferences lock and announced to the whole process, so:
//
// - Prefer the change operations. changeFavorites and changeCustomTags apply
//   only what the user changed to the list stored at that moment, and answer
//   the list as it now stands: a pin or field added in another window (or
//   another copy of the program) in the meantime is kept.
// - saveFavorites and saveCustomTags replace the stored list with the one
//   given. They still work as before, but whatever another window stored
//   since the caller loaded its copy is lost; they remain for callers that
//   mean to replace the whole list.
// - observeFavorites and observeCustomTags call back after any change of the
//   list written by any store of this process (this window's own included),
//   so a window can load the list again.
//
// A window's use, change by change: merging the default pins at start-up is
// changeFavorites(defaults, {}); toggling a pin is changeFavorites({key}, {})
// or changeFavorites({}, {key}); applying the field settings is
// changeFavorites(pinned - pinnedBefore, pinnedBefore - pinned) and then
// changeCustomTags(CustomTagsChange::between(fieldsBefore, fields)), where
// "before" is what the sheet loaded. Each answer is the list to show.
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
    // Replaces the stored pins with this set (an empty array for an empty
    // set; the key is never removed). Answers whether it was written.
    bool saveFavorites(const QSet<QString> &favorites);
    // Adds `pin` to the stored pins and then takes `unpin` away (a key in
    // both ends up unpinned), and answers the pins now in effect: the stored
    // set after the change, or, when it could not be written, the stored set
    // with the change applied all the same. Writes nothing when the stored
    // set already is the result.
    QSet<QString> changeFavorites(const QSet<QString> &pin, const QSet<QString> &unpin);

    // The stored fields in stored order; empty when absent or unreadable.
    QList<CustomMetadataTag> loadCustomTags() const;
    // Replaces the stored fields with this list, in its order. Answers
    // whether it was written.
    bool saveCustomTags(const QList<CustomMetadataTag> &tags);
    // Applies the change to the stored fields (see CustomTagsChange; build
    // one with CustomTagsChange::between(loaded, edited)) and answers the
    // fields now in effect, with the same rules as changeFavorites.
    QList<CustomMetadataTag> changeCustomTags(const CustomTagsChange &change);

    // Calls `onChanged` on the main thread after every change of the pins,
    // or of the custom fields, written to this store's preferences by any
    // store of this process, until `context` is destroyed. The call comes
    // from within the changing call, once the lock is released, so
    // `onChanged` may load or change the lists itself.
    QMetaObject::Connection observeFavorites(QObject *context,
                                             std::function<void()> onChanged) const;
    QMetaObject::Connection observeCustomTags(QObject *context,
                                              std::function<void()> onChanged) const;

private:
    FavoriteTagsStore() = default;
    Preferences preferences() const;
    QMetaObject::Connection observe(const QString &key, QObject *context,
                                    std::function<void()> onChanged) const;

    // None for the shared store: the standard preferences, found anew on
    // each call.
    std::optional<Preferences> m_preferences;
};

} // namespace Metaloom
