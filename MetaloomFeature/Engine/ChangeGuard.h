#pragma once

#include "FileChangeQueue.h"
#include "FileLock.h"
#include "TemporaryClaim.h"

#include <QCoroTask>
#include <QString>

namespace Metaloom {

// Everything a change of one file holds from before ExifTool reads the file
// until the new content is in place: its turn among the changes of this
// process, the lock that other processes of ours respect, and the claim on
// the operation's files in the private temporary folder. Taking it also
// puts right what a dead process left for this file (an interrupted
// rewrite, a stray copy beside it). Released when destroyed.
class ChangeGuard {
public:
    static QCoro::Task<ChangeGuard> begin(QString targetPath);

    const QString &temporaryDirectory() const { return m_temporaryDirectory; }
    // Where ExifTool writes the new file: the claim's identifier and the
    // target's extension, so ExifTool writes the same kind of file.
    const QString &outputPath() const { return m_outputPath; }

    // The extension ExifTool's output takes for a target file name: the
    // target's own, unless it is too long to fit in a file name beside the
    // identifier (then none).
    static QString outputSuffixFor(const QString &targetPath);

private:
    ChangeGuard(FileChangeQueue::Turn turn, FileLock targetLock, TemporaryClaim claim,
                QString temporaryDirectory, QString outputPath)
        : m_turn(std::move(turn)), m_targetLock(std::move(targetLock)), m_claim(std::move(claim)),
          m_temporaryDirectory(std::move(temporaryDirectory)), m_outputPath(std::move(outputPath))
    {}

    // Released in reverse order: the claim, then the lock, then the turn.
    FileChangeQueue::Turn m_turn;
    FileLock m_targetLock;
    TemporaryClaim m_claim;
    QString m_temporaryDirectory;
    QString m_outputPath;
};

} // namespace Metaloom
