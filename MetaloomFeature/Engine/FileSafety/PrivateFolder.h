#pragma once

#include <QString>
#include <QStringList>

namespace Metaloom::PrivateFolder {

// The user's own working folder of the engine: ExifTool's output where a
// file's folder takes no new file, the lock files that make our processes
// wait for each other, and the backup and journal of a file rewritten in
// place. It must be the user's alone (it briefly holds copies of their
// files), survive a power loss (a journal exists to be found after one),
// and be the same on every start (the next start rolls back what a crash
// left there).
//
// Candidates, in order:
//   ${XDG_CACHE_HOME:-$HOME/.cache}/metaloom/tmp-<uid>
//       in the user's home, where no other user can create anything first,
//       and on disk: the system's temporary folder is emptied at boot (or
//       held in memory) on many systems, which would lose the backup of an
//       interrupted rewrite exactly when it is needed;
//   $TMPDIR/metaloom-<uid>
//       for accounts without a usable home.
// A candidate is used when it is a real folder (not a link) that belongs to
// the user, or can be created as one; it is made private (0700) if it was
// not. A folder of that name that belongs to someone else, or a link, is
// passed over, never a reason to fail.
QStringList candidates();

// The folder to use, created if needed. Throws PlatformError when no
// candidate can be used.
QString prepare();

// Where the folder is or would be, without creating anything: the folder
// prepare() last chose for the same candidates, else the first candidate
// that is ours or absent. Cheap after the first call.
QString location();

// Every folder where a program of ours may have left files: the candidates
// and the folder of earlier versions ($TMPDIR/ExifToolTmp), as far as they
// are real folders of the user's.
QStringList foldersToSweep();

// ${XDG_CACHE_HOME:-$HOME/.cache}/metaloom, where the program keeps what it
// can rebuild (the parsed tag listing) beside its private folder; empty when
// the user has neither an absolute XDG_CACHE_HOME nor an absolute HOME.
QString cacheFolder();

// Whether a path is a real folder (not a link) that belongs to the user.
bool isOurs(const QString &folder);

} // namespace Metaloom::PrivateFolder
