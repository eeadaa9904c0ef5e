#include "UnreadableListBackup.h"

namespace Metaloom::UnreadableListBackup {

QString backupKey(const QString &key)
{
    return key + QStringLiteral(".unreadable");
}

void keepIfUnreadable(Preferences &preferences, const QString &key, const Readability &isReadable)
{
    if (preferences.contains(key) && !isReadable(preferences))
        preferences.copyValue(key, backupKey(key));
}

} // namespace Metaloom::UnreadableListBackup
