#pragma once

#include "MetaloomFeature/Platform/Preferences.h"

#include <functional>

namespace Metaloom::UnreadableListBackup {

// A stored list that cannot be decoded reads as empty, and the next save
// replaces it. When the bytes came from a newer version of the program (a
// preset action type this one does not know) or were damaged by hand, that
// save would destroy every entry for good. Before such an overwrite the
// unreadable bytes are copied aside under `backupKey(key)`, where nothing
// reads them, so they can still be recovered.
QString backupKey(const QString &key);

// `decode` throws when the bytes cannot be read.
void keepIfUnreadable(Preferences &preferences, const QString &key,
                      const std::function<void(const QByteArray &)> &decode);

} // namespace Metaloom::UnreadableListBackup
