#pragma once

#include "MetaloomFeature/Platform/Preferences.h"

#include <functional>

namespace Metaloom::UnreadableListBackup {

// A stored list that cannot be read loads as empty, and the next change
// replaces it. When the value came from a newer version of the program (a
// preset action type this one does not know), was damaged by hand, was cut
// short with the preferences file, or is of another type altogether, that
// change would destroy every entry for good. Before such an overwrite the
// value is copied aside, exactly as stored, under `backupKey(key)`, where
// nothing reads it, so it can still be recovered.
QString backupKey(const QString &key);

// Whether the value now stored under a key is one the program can read.
using Readability = std::function<bool(const Preferences &)>;

// Copies the value aside unless there is none or `isReadable` accepts it.
void keepIfUnreadable(Preferences &preferences, const QString &key, const Readability &isReadable);

} // namespace Metaloom::UnreadableListBackup
