#include "Leftovers.h"

#include "FileChangeQueue.h"
#include "FileLock.h"
#include "FileReplacement.h"
#include "PrivateFolder.h"
#include "RewriteJournal.h"
#include "TargetLock.h"
#include "TemporaryClaim.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QtConcurrent>

#include <cerrno>
#include <vector>

namespace Metaloom::Leftovers {

namespace {

QStringList entriesOf(const QDir &dir, const QStringList &nameFilters = {})
{
    return dir.entryList(nameFilters,
                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Rolls back the rewrite an identifier's journal records, if there is one.
// False when it has to wait: the file is being changed by a live process.
bool settleJournal(const QString &folder, const QString &id,
                   const std::optional<QString> &lockedTarget, Report &report)
{
    const QString journal = TemporaryClaim::hiddenPath(folder, id, RewriteJournal::journalSuffix);
    if (!QFileInfo::exists(journal))
        return true;
    const std::optional<RewriteJournal::Entry> entry = RewriteJournal::read(journal);
    std::vector<FileLock> targetLocks;
    if (entry) {
        const bool heldByCaller = lockedTarget && FileChangeQueue::keyFor(*lockedTarget) ==
                                                      FileChangeQueue::keyFor(entry->targetPath);
        // A journal left in the folder of an earlier version: the live
        // processes of this one lock the file in today's folder.
        QStringList lockFolders{folder};
        const QString current = PrivateFolder::location();
        if (current != folder && PrivateFolder::isOurs(current))
            lockFolders << current;
        for (const QString &lockFolder : lockFolders) {
            if (heldByCaller)
                break;
            try {
                std::optional<FileLock> lock =
                    TargetLock::tryAcquire(lockFolder, entry->targetPath);
                if (!lock)
                    return false;
                targetLocks.push_back(std::move(*lock));
            } catch (...) {
                return false;
            }
        }
    }
    const QString backup = TemporaryClaim::hiddenPath(folder, id, RewriteJournal::backupSuffix);
    switch (RewriteJournal::rollBack(journal, backup)) {
    case RewriteJournal::Outcome::deferred:
        return false;
    case RewriteJournal::Outcome::restored:
        report.restoredTargets << entry->targetPath;
        break;
    case RewriteJournal::Outcome::discarded:
        break;
    }
    // The journal goes first: without it, a backup is only a leftover.
    QFile::remove(journal);
    report.removedFiles << QFileInfo(journal).fileName();
    return true;
}

// The copies beside a target that a dead change noted, if nobody holds them.
void removeNotedOutputsBeside(const QString &temporaryDirectory, const QString &id, Report &report)
{
    QFile note(TemporaryClaim::hiddenPath(temporaryDirectory, id, besideNoteSuffix));
    if (!note.open(QIODevice::ReadOnly))
        return;
    const QString folder = QString::fromUtf8(note.readAll());
    const FileReplacement::OutputsBeside outputs = FileReplacement::outputsBesideIn(folder, id);
    for (const QString &path : {outputs.output, outputs.retryOutput}) {
        if (std::optional<FileLock> stale = FileLock::tryLock(path, FileLock::Open::existing)) {
            stale->setRemoveOnRelease(true);
            report.removedFiles << QFileInfo(path).fileName();
        }
    }
}

// Whether a live change holds a claim whose identifier starts so.
bool claimIsHeld(const QString &temporaryDirectory, const QString &idStart)
{
    const QDir dir(temporaryDirectory);
    for (const QString &name :
         entriesOf(dir, {QLatin1Char('.') + idStart + QStringLiteral("-*.lock")})) {
        int error = 0;
        if (!FileLock::tryLock(dir.filePath(name), FileLock::Open::existing, &error) &&
            error == EWOULDBLOCK)
            return true;
    }
    return false;
}

} // namespace

Report cleanTemporaryFolder(const QString &folder, const std::optional<QString> &lockedTarget)
{
    Report report;
    if (!PrivateFolder::isOurs(folder))
        return report;
    const QDir dir(folder);
    QMap<QString, QStringList> namesById;
    for (const QString &name : entriesOf(dir)) {
        if (TargetLock::isLockFileName(name)) {
            if (std::optional<FileLock> stale =
                    FileLock::tryLock(dir.filePath(name), FileLock::Open::existing)) {
                stale->setRemoveOnRelease(true);
                report.removedFiles << name;
            }
        } else if (const std::optional<QString> id = TemporaryClaim::idOfName(name)) {
            namesById[*id] << name;
        }
    }
    for (auto it = namesById.cbegin(); it != namesById.cend(); ++it) {
        const QString lockPath = TemporaryClaim::lockPath(folder, it.key());
        // Files of an identifier exist only while its lock file does, unless
        // their process died; a lock file nobody holds was left the same way.
        std::optional<FileLock> claim = FileLock::tryLock(lockPath, FileLock::Open::existing);
        if (!claim && QFileInfo::exists(lockPath))
            continue; // a live operation
        if (!settleJournal(folder, it.key(), lockedTarget, report))
            continue;
        removeNotedOutputsBeside(folder, it.key(), report);
        for (const QString &name : it.value()) {
            const QString path = dir.filePath(name);
            if (path != lockPath && QFile::remove(path))
                report.removedFiles << name;
        }
        if (claim) {
            claim->setRemoveOnRelease(true);
            report.removedFiles << QFileInfo(lockPath).fileName();
        }
    }
    return report;
}

QStringList cleanBesideTarget(const QString &targetPath, const QString &temporaryDirectory)
{
    QStringList removed;
    const QString resolved = FileChangeQueue::keyFor(targetPath);
    const QDir dir = QFileInfo(resolved).absoluteDir();
    for (const QString &name : entriesOf(dir, {QStringLiteral(".metaloom-*.tmp")})) {
        if (!FileReplacement::isTemporaryNeighbourName(name) ||
            claimIsHeld(temporaryDirectory, FileReplacement::claimIdStartOf(name)))
            continue;
        if (std::optional<FileLock> stale =
                FileLock::tryLock(dir.filePath(name), FileLock::Open::existing)) {
            stale->setRemoveOnRelease(true);
            removed << name;
        }
    }
    return removed;
}

void cleanBeforeChange(const QString &temporaryDirectory, const QString &targetPath)
{
    cleanTemporaryFolder(temporaryDirectory, targetPath);
    cleanBesideTarget(targetPath, temporaryDirectory);
}

void noteOutputsBeside(const QString &temporaryDirectory, const QString &claimId,
                       const QString &folder)
{
    QFile note(TemporaryClaim::hiddenPath(temporaryDirectory, claimId, besideNoteSuffix));
    if (note.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        note.write(folder.toUtf8());
}

QFuture<void> atEngineStart()
{
    static const QFuture<void> started = QtConcurrent::run([] {
        for (const QString &folder : PrivateFolder::foldersToSweep()) {
            try {
                cleanTemporaryFolder(folder);
            } catch (...) {
                // A sweep that fails is tried again before each change.
            }
        }
    });
    return started;
}

} // namespace Metaloom::Leftovers
