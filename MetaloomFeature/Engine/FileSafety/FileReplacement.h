#pragma once

#include "FileStamp.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace Metaloom::FileReplacement {

// Where ExifTool writes the new file of a change whose folder takes a new
// file: hidden files beside the target (links followed), named after the
// change's claim identifier, so that the new file only has to be renamed
// over the target and a large video is written once, not copied again. A
// further attempt (stripping) writes to `retryOutput`. The names are short
// and of fixed length, so the longest legal file name still has room.
struct OutputsBeside {
    QString output;
    QString retryOutput;
    bool operator==(const OutputsBeside &) const = default;
};
OutputsBeside outputsBesideIn(const QString &folder, const QString &claimId);
// The outputs beside this target, or nothing when its folder takes no new
// file (tried by creating the output and removing it again, since ExifTool
// writes only to a path where nothing is).
std::optional<OutputsBeside> reserveOutputsBeside(const QString &targetPath,
                                                  const QString &claimId);

// What must still hold right before the new content takes the target's
// place.
struct Expected {
    Expected() = default;
    Expected(std::nullopt_t) {}
    Expected(const FileStamp &stamp) : version(stamp) {}
    Expected(std::optional<FileStamp> stamp, QString chosen = QString())
        : version(std::move(stamp)), chosenPath(std::move(chosen))
    {}
    // The target as ExifTool read it; nothing: not checked.
    std::optional<FileStamp> version;
    // The path the user chose, when it may reach the target through links:
    // it must still lead to the target. Empty: not checked.
    QString chosenPath;
};

// Puts the content of `outputPath` (ExifTool's new file) at `targetPath`.
//
// The target path never lacks a complete file, even if the program dies or
// the power fails half-way. An output beside the target is given the
// target's permissions, owner and date, synced, and renamed over it. An
// output elsewhere is first copied into a fresh hidden file in the target's
// own folder. Only where that folder cannot take a new file is the target
// rewritten in place, with a synced backup and journal in the temporary
// folder, from which an interrupted rewrite is rolled back at the engine's
// next start.
//
// The new file keeps the original's permission bits, owner where possible,
// and modification date; a symbolic link is written through, leaving the link
// in place. A read-only target is refused, and so is a target that no longer
// matches `expected` (another program changed it since ExifTool read it:
// replacing it would silently drop that change, or the link the user chose
// now leads to another file), checked again right before the new content
// takes its place. The output file is removed in every case.
// Throws PlatformError.
enum class Strategy {
    automatic,     // rename a fresh file over the target where the folder allows it
    rewriteInPlace // only for tests: the path taken when the folder is closed to new files
};
// Which modification date the file has afterwards: the original's, or the
// one ExifTool gave the output because the change set FileModifyDate.
enum class KeptDate { original, output };
void replaceOriginal(const QString &targetPath, const QString &outputPath,
                     const Expected &expected = {}, Strategy strategy = Strategy::automatic,
                     KeptDate keptDate = KeptDate::original);

// Whether a file name is that of a hidden file placed beside a target
// while it is replaced.
bool isTemporaryNeighbourName(const QString &fileName);
// For such a name from reserveOutputsBeside(), the start of the claim
// identifier it was named after ("0F1E2D3C-4B5A"); the copies beside made
// from an output elsewhere have names that match no claim.
QString claimIdStartOf(const QString &neighbourName);

} // namespace Metaloom::FileReplacement
