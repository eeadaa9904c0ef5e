#pragma once

#include "FileLock.h"

#include <QString>
#include <optional>

namespace Metaloom::TargetLock {

// Changes of one file by several processes of ours (two windows' programs,
// a second instance) wait for each other through a lock file in the private
// temporary folder, named after the file's resolved path; it is held from
// before ExifTool reads the file until its new content is in place. Inside
// one process, FileChangeQueue orders the changes first.

QString lockPathFor(const QString &temporaryDirectory, const QString &targetPath);
bool isLockFileName(const QString &fileName);

// The lock if nobody holds it now; throws PlatformError when the lock file
// cannot be made at all.
std::optional<FileLock> tryAcquire(const QString &temporaryDirectory, const QString &targetPath);

} // namespace Metaloom::TargetLock
