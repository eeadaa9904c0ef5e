#include "UnreadableListBackup.h"

#include "StoredJson.h"

namespace Metaloom::UnreadableListBackup {

QString backupKey(const QString &key)
{
    return key + QStringLiteral(".unreadable");
}

void keepIfUnreadable(Preferences &preferences, const QString &key,
                      const std::function<void(const QByteArray &)> &decode)
{
    const std::optional<QByteArray> stored = preferences.data(key);
    if (!stored)
        return;
    try {
        decode(*stored);
    } catch (const DecodingError &) {
        preferences.setData(backupKey(key), *stored);
    }
}

} // namespace Metaloom::UnreadableListBackup
