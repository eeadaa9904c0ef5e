#include "StoredListChange.h"

#include "StoredListsNotifier.h"

namespace Metaloom {

StoredListChange::StoredListChange(Preferences preferences, QString key,
                                   UnreadableListBackup::Readability isReadable)
    : m_preferences(std::move(preferences)), m_key(std::move(key)),
      m_isReadable(std::move(isReadable))
{
    m_lock.emplace(m_preferences);
}

StoredListChange::~StoredListChange()
{
    // Released first: whoever reloads on the announcement may change a list
    // in turn, and would otherwise wait for this lock.
    m_lock.reset();
    if (m_written)
        StoredListsNotifier::shared().announce(m_preferences.fileName(), m_key);
}

bool StoredListChange::storedValueIsReadable() const
{
    return !m_preferences.contains(m_key) || m_isReadable(m_preferences);
}

bool StoredListChange::write(const std::function<bool(Preferences &)> &write)
{
    if (!isLocked())
        return false;
    UnreadableListBackup::keepIfUnreadable(m_preferences, m_key, m_isReadable);
    const bool written = write(m_preferences);
    m_written = m_written || written;
    return written;
}

} // namespace Metaloom
