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

// The file a change works on. A symbolic link (or a folder on the way that
// is one) is followed once, when the change begins: ExifTool, the lock, the
// checks and the replacement all work on `path`, so that a link pointed
// elsewhere meanwhile can never bring another file's content in. `chosen`
// is the path as given; right before the new content takes its place, it
// must still lead to `path` (FileReplacement refuses otherwise).
struct ChangeTarget {
    QString path;
    QString chosen;
    bool operator==(const ChangeTarget &) const = default;
};
// forFile()'s checks, then the links followed.
ChangeTarget forChange(const QUrl &fileUrl);

// The path with every link followed, or the absolute path itself where it
// leads nowhere (ExifTool then reports the missing file).
QString resolved(const QString &path);

// Whether the file's name can be handled: nothing when it can, otherwise the
// message to show when the file is added. Every name the file system allows
// can be handled except one that is not valid UTF-8 (its own or a folder's
// on its path): such a name cannot be turned into text and back, so the
// file could never be found again.
std::optional<QString> unhandledNameMessage(const QUrl &fileUrl);

} // namespace Metaloom::TargetPath
