#pragma once

#include <QFuture>
#include <QString>
#include <QStringList>
#include <optional>

namespace Metaloom::Leftovers {

// A program of ours that dies while changing a file (killed, crashed, power
// lost) leaves files behind: ExifTool's output, a backup and journal, lock
// files in the private temporary folder, a hidden new copy beside the user's
// file, and, if it died while rewriting a file in place, a half-written file.
// These functions put that right. They touch only names of our own patterns,
// and only files that no live process of ours holds (each holder keeps a
// lock that dies with it).

struct Report {
    QStringList restoredTargets; // files given their old bytes back
    QStringList removedFiles;    // names of the leftovers removed
};

// Rolls back every interrupted in-place rewrite recorded in the folder and
// removes the leftovers of dead processes. A rewrite whose file another
// process of ours is changing right now waits for a later sweep, except
// `lockedTarget`, whose lock the caller holds.
Report cleanTemporaryFolder(const QString &folder,
                            const std::optional<QString> &lockedTarget = std::nullopt);

// Removes the hidden new copies that dead processes left beside the file:
// those no live process of ours holds, neither by a lock on the copy nor by
// the claim in the temporary folder it is named after.
QStringList cleanBesideTarget(const QString &targetPath, const QString &temporaryDirectory);

// A change whose ExifTool writes beside the target notes the target's folder
// in the temporary folder (".ID.beside"), so that the sweep after a crash
// finds what was left there too. Best effort: without the note, the next
// change of a file in that folder still removes it.
inline constexpr QLatin1StringView besideNoteSuffix(".beside");
void noteOutputsBeside(const QString &temporaryDirectory, const QString &claimId,
                       const QString &folder);

// What a change of one file runs first, with the file's lock held: both of
// the above for that file.
void cleanBeforeChange(const QString &temporaryDirectory, const QString &targetPath);

// Once per process, when the first engine starts: the sweep of every
// private folder of the user's (PrivateFolder::foldersToSweep), in the
// background. Engine operations wait for it, so
// no file is read or changed before its interrupted rewrite is rolled back.
QFuture<void> atEngineStart();

} // namespace Metaloom::Leftovers
