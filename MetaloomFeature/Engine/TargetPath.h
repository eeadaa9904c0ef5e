#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace Metaloom::TargetPath {

// The path ExifTool is given for a file: absolute, so a name that starts
// with a dash is never taken for an option. Throws PlatformError, before
// ExifTool runs, for
// - an address that is not a local file,
// - a name that cannot be handled (see unhandledNameMessage),
// - a folder (ExifTool would read or change every file inside it),
// - anything else that is not a regular file once links are followed: a
//   named pipe would block ExifTool for ever, a device such as /dev/zero
//   would be read without end.
// A path where nothing exists passes: ExifTool reports that itself.
QString forFile(const QUrl &fileUrl);

// Whether the file's name can be handled: nothing when it can, otherwise the
// message to show when the file is added. Every name the file system allows
// can be handled except one that is not valid UTF-8 (its own or a folder's
// on its path): such a name cannot be turned into text and back, so the
// file could never be found again.
std::optional<QString> unhandledNameMessage(const QUrl &fileUrl);

} // namespace Metaloom::TargetPath
