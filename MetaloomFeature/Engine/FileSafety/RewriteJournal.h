#pragma once

#include "FileStamp.h"

#include <QString>
#include <optional>

namespace Metaloom::RewriteJournal {

// Where a file is rewritten in place, its old bytes exist only in a backup
// for a while: if the program dies meanwhile, the file is left half written.
// The journal, written and synced before the file is opened for writing,
// says which file the backup belongs to, so that the next start of the
// engine can put the old bytes back.
// Both live in the private temporary folder, named after the rewrite's
// claim: hidden name of the identifier followed by these suffixes.
inline constexpr QLatin1StringView journalSuffix(".journal");
inline constexpr QLatin1StringView backupSuffix(".backup");

struct Entry {
    QString targetPath; // links resolved
    FileStamp original; // the file before the rewrite
    bool operator==(const Entry &) const = default;
};

// Writes the journal and makes it durable (file and folder synced); throws
// PlatformError.
void write(const QString &journalPath, const Entry &entry);

// Nothing for a journal that is missing, torn or unreadable.
std::optional<Entry> read(const QString &journalPath);

enum class Outcome {
    restored,  // the target holds the backup's bytes again
    discarded, // nothing to restore: the target is gone, another file stands
               // in its place, or the journal or backup is incomplete
    deferred   // the target could not be written now; try again later
};

// Rolls an interrupted rewrite back. The caller makes sure no live process
// is still doing the rewrite. Removes neither journal nor backup.
Outcome rollBack(const QString &journalPath, const QString &backupPath);

} // namespace Metaloom::RewriteJournal
