#pragma once

#include <QString>

namespace Metaloom::FileReplacement {

// Puts the content of `outputPath` (ExifTool's new file) at `targetPath`.
//
// The target path never lacks a complete file, even if the program dies or
// the power fails half-way: the content goes into a fresh file in the
// target's own folder, which is renamed over the target. Only where that
// folder cannot take a new file is the target rewritten in place, with a
// backup copy in the temporary folder to restore from.
//
// The new file keeps the original's permission bits, owner where possible,
// and modification date; a symbolic link is written through, leaving the link
// in place. A read-only target is refused. The output file is removed in
// every case. Throws PlatformError.
enum class Strategy {
    automatic,     // rename a fresh file over the target where the folder allows it
    rewriteInPlace // only for tests: the path taken when the folder is closed to new files
};
void replaceOriginal(const QString &targetPath, const QString &outputPath,
                     Strategy strategy = Strategy::automatic);

} // namespace Metaloom::FileReplacement
