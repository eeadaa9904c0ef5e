#pragma once

#include "MetaloomFeature/Platform/PreferencesLock.h"
#include "StoredJson.h"
#include "UnreadableListBackup.h"

#include <functional>
#include <optional>

namespace Metaloom {

// One change of a list kept in the preferences, made as a whole: for as long
// as it lives it holds the preferences lock, so the list it reads is still
// the stored one when it writes; an unreadable stored value is kept aside
// before it is replaced; and once the lock is released, a written change is
// announced to the rest of the process (StoredListsNotifier).
class StoredListChange {
public:
    StoredListChange(Preferences preferences, QString key,
                     UnreadableListBackup::Readability isReadable);
    ~StoredListChange();
    StoredListChange(const StoredListChange &) = delete;
    StoredListChange &operator=(const StoredListChange &) = delete;

    // Without the lock nothing may be written: the caller keeps its change
    // in memory only.
    bool isLocked() const { return m_lock->isLocked(); }
    const Preferences &preferences() const { return m_preferences; }
    // Whether the stored value can be read (an absent one can).
    bool storedValueIsReadable() const;

    // Keeps an unreadable stored value aside, then runs `write`; answers
    // whether the write reached the preferences.
    bool write(const std::function<bool(Preferences &)> &write);

private:
    Preferences m_preferences;
    QString m_key;
    UnreadableListBackup::Readability m_isReadable;
    std::optional<PreferencesLock> m_lock;
    bool m_written = false;
};

// The list kept as JSON data under `key`, decoded by `decode` (which throws
// DecodingError); nothing when it is absent or cannot be read.
template <typename T>
std::optional<QList<T>> readableDataList(const Preferences &preferences, const QString &key,
                                         QList<T> (*decode)(const QByteArray &))
{
    const std::optional<QByteArray> stored = preferences.data(key);
    if (!stored)
        return std::nullopt;
    try {
        return decode(*stored);
    } catch (const DecodingError &) {
        return std::nullopt;
    }
}

} // namespace Metaloom
