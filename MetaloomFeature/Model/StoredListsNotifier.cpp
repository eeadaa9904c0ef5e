#include "StoredListsNotifier.h"

namespace Metaloom {

StoredListsNotifier &StoredListsNotifier::shared()
{
    static StoredListsNotifier notifier;
    return notifier;
}

void StoredListsNotifier::announce(const QString &preferencesFile, const QString &key)
{
    Q_EMIT storedListChanged(preferencesFile, key);
}

} // namespace Metaloom
