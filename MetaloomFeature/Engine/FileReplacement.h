#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace Metaloom::FileReplacement {

// What identifies one version of a file on disk: enough to notice that
// another program changed or replaced it while ExifTool was working.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    bool operator==(const FileStamp &) const = default;
};

// The stamp of the file a path leads to (links followed).
FileStamp stampOf(const QString &path);

// Puts the content of `outputPath` (ExifTool's new file) at `targetPath`.
//
// The target path never lacks a complete file, even if the program dies or
// the power fails half-way: the content goes into a fresh hidden file in the
// target's own folder (a short name of fixed length, so the longest legal
// file name still has room), which is renamed over the target. Only where
// that folder cannot take a new file is the target rewritten in place, with
// a synced backup and journal in the temporary folder, from which an
// interrupted rewrite is rolled back at the engine's next start.
//
// The new file keeps the original's permission bits, owner where possible,
// and modification date; a symbolic link is written through, leaving the link
// in place. A read-only target is refused, and so is a target that no longer
// matches `expected` (another program changed it since ExifTool read it:
// replacing it would silently drop that change), checked again right before
// the new content takes its place. The output file is removed in every case.
// Throws PlatformError.
enum class Strategy {
    automatic,     // rename a fresh file over the target where the folder allows it
    rewriteInPlace // only for tests: the path taken when the folder is closed to new files
};
void replaceOriginal(const QString &targetPath, const QString &outputPath,
                     const std::optional<FileStamp> &expected = std::nullopt,
                     Strategy strategy = Strategy::automatic);

// Whether a file name is that of the hidden file placed beside a target
// while it is replaced.
bool isTemporaryNeighbourName(const QString &fileName);

} // namespace Metaloom::FileReplacement
