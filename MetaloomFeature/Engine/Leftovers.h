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

// Removes the hidden new copies that dead processes left beside the file.
QStringList cleanBesideTarget(const QString &targetPath);

// What a change of one file runs first, with the file's lock held: both of
// the above for that file.
void cleanBeforeChange(const QString &temporaryDirectory, const QString &targetPath);

// Once per process, when the first engine starts: the sweep of the private
// temporary folder, in the background. Engine operations wait for it, so
// no file is read or changed before its interrupted rewrite is rolled back.
QFuture<void> atEngineStart();

} // namespace Metaloom::Leftovers
