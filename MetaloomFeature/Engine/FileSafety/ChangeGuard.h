#pragma once

#include "FileChangeQueue.h"
#include "FileLock.h"
#include "FileStamp.h"
#include "PosixFile.h"
#include "TemporaryClaim.h"

#include <QCoroTask>
#include <QString>

#include <memory>
#include <optional>

namespace Metaloom {

// Everything a change of one file holds from before ExifTool reads the file
// until the new content is in place: its turn among the changes of this
// process, the lock that other processes of ours respect, and the claim on
// the operation's files. Taking it also puts right what a dead process left
// for this file (an interrupted rewrite, a stray copy beside it).
//
// Creating, locking and removing files can wait a long time on a busy disk
// (the journal of a file system another write is syncing), so all of that
// runs on worker threads; only the turn is kept on the main thread.
class ChangeGuard {
public:
    // Where the change's files go.
    struct Paths {
        QString temporaryDirectory;
        // Where ExifTool writes the new file, and a further attempt's file:
        // hidden beside the target where its folder takes new files, else
        // in the temporary folder (named after the claim, with the target's
        // extension so ExifTool writes the same kind of file).
        QString output;
        QString retryOutput;
        // The target as it was when the guard was taken, before ExifTool
        // reads it: a change by another program after that must not be
        // silently replaced.
        FileStamp targetVersion;
        // Where values too long for an argument go (ValueFiles), named after
        // the claim so that the sweep after a crash finds them.
        QString valueFileStem;
    };

    static QCoro::Task<ChangeGuard> begin(QString targetPath);
    // Removes what is left of the outputs, then lets go of the claim, the
    // lock and the turn, in that order.
    static QCoro::Task<void> end(ChangeGuard guard);

    const Paths &paths() const { return m_paths; }

    // The extension ExifTool's output in the temporary folder takes: the
    // target's own, unless it is too long to fit in a file name beside the
    // identifier (then none).
    static QString outputSuffixFor(const QString &targetPath);

    ChangeGuard(ChangeGuard &&) = default;
    ChangeGuard &operator=(ChangeGuard &&) = default;

private:
    // Released in reverse order: the claim, then the lock. When a guard is
    // dropped without end(), that happens where it is dropped.
    struct Held {
        FileLock targetLock;
        std::optional<TemporaryClaim> claim;
        // The folder the outputs beside the target were reserved in, open:
        // renamed away while ExifTool writes, it still leads to what was
        // left there.
        PosixFile::Descriptor outputFolder;
    };

    ChangeGuard(FileChangeQueue::Turn turn, std::shared_ptr<Held> held, Paths paths)
        : m_turn(std::move(turn)), m_held(std::move(held)), m_paths(std::move(paths))
    {}

    FileChangeQueue::Turn m_turn;
    std::shared_ptr<Held> m_held;
    Paths m_paths;
};

} // namespace Metaloom
