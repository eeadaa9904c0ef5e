#include "FileReplacement.h"

#include "PosixFile.h"
#include "RewriteJournal.h"
#include "TargetPath.h"
#include "TemporaryClaim.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <QCoreApplication>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Metaloom::FileReplacement {

using PosixFile::Descriptor;
using PosixFile::fail;
using PosixFile::nativePath;

namespace {

struct Original {
    bool exists = false;
    struct stat status {};
    // The modification date the new content gets: the original's, unless
    // the change set a date of its own.
    struct timespec modified {};
};

// Other processes of ours wait for the target's lock; another program does
// not, so its change is looked for again at the last moment. So is a link
// the user chose that was pointed at another file meanwhile: the new content
// is made from the file it led to, which the user may no longer mean.
void refuseIfChanged(const QString &target, const Expected &expected)
{
    if (!expected.chosenPath.isEmpty() && TargetPath::resolved(expected.chosenPath) != target) {
        throw PlatformError(
            QCoreApplication::translate("FileReplacement",
                                        "“%1” now leads to another file than when Metaloom "
                                        "began the change, so nothing was changed. Please try "
                                        "again.")
                .arg(QFileInfo(expected.chosenPath).fileName()));
    }
    if (expected.version && FileStamp::of(target) != *expected.version) {
        throw PlatformError(
            QCoreApplication::translate("FileReplacement",
                                        "“%1” was changed by another program while Metaloom was "
                                        "writing it, so it was left as it is. Please try again.")
                .arg(QFileInfo(target).fileName()));
    }
}

const QLatin1String neighbourPrefix(".metaloom-");
const QLatin1String neighbourSuffix(".tmp");

struct Neighbour {
    QString path;
    Descriptor file;
};

// A fresh hidden file beside the target, locked while it exists so that a
// cleanup by another process of ours never takes it for a leftover (where
// the file system has no locks, it goes unlocked). Nothing when the folder
// takes no new file.
std::optional<Neighbour> createNeighbour(const QString &target)
{
    const QDir folder = QFileInfo(target).absoluteDir();
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString path = folder.filePath(
            neighbourPrefix +
            QString::number(QRandomGenerator::system()->generate64() & 0xffffffffffffULL, 16)
                .rightJustified(12, QLatin1Char('0')) +
            neighbourSuffix);
        const QByteArray native = nativePath(path);
        Descriptor file(
            ::open(native.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (!file.isOpen()) {
            if (errno == EEXIST)
                continue;
            if (errno == EACCES || errno == EPERM || errno == EROFS)
                return std::nullopt;
            fail(QT_TRANSLATE_NOOP("PosixFile", "Could not create a new copy of “%1”: %2."), target,
                 errno);
        }
        if (::flock(file.fd(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue; // a cleanup took it in the instant before we locked it; it removes it
        struct stat opened {};
        struct stat named {};
        if (::fstat(file.fd(), &opened) != 0 || ::stat(native.constData(), &named) != 0 ||
            opened.st_ino != named.st_ino || opened.st_dev != named.st_dev)
            continue;
        return Neighbour{path, std::move(file)};
    }
    fail(QT_TRANSLATE_NOOP("PosixFile", "Could not create a new copy of “%1”: %2."), target,
         EEXIST);
}

// Gives the new content in the open file beside the target the target's
// permission bits, owner and date, makes it durable and renames it over the
// target. The file is removed on failure.
void putInPlace(int fd, const QString &neighbour, const QString &target, const Original &original,
                const Expected &expected)
{
    const QByteArray neighbourNative = nativePath(neighbour);
    const auto abandon = [&](const char *what) {
        const int error = errno;
        ::unlink(neighbourNative.constData());
        fail(what, target, error);
    };
    if (original.exists) {
        // Keep who may read the file: a private photo must stay private.
        if (::fchown(fd, original.status.st_uid, original.status.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), original.status.st_gid);
        if (::fchmod(fd, original.status.st_mode & 07777) != 0)
            abandon(QT_TRANSLATE_NOOP("PosixFile", "Could not keep the permissions of “%1”: %2."));
        const struct timespec times[2] = {{0, UTIME_OMIT}, original.modified};
        if (::futimens(fd, times) != 0)
            abandon(QT_TRANSLATE_NOOP("PosixFile",
                                      "Could not keep the modification date of “%1”: %2."));
    }
    if (::fsync(fd) != 0)
        abandon(QT_TRANSLATE_NOOP("PosixFile", "Could not write the new content of “%1”: %2."));
    try {
        refuseIfChanged(target, expected);
    } catch (...) {
        ::unlink(neighbourNative.constData());
        throw;
    }
    if (::rename(neighbourNative.constData(), nativePath(target).constData()) != 0)
        abandon(QT_TRANSLATE_NOOP("PosixFile", "Could not replace “%1”: %2."));
    PosixFile::syncFolder(QFileInfo(target).absolutePath());
}

// Fresh file beside the target holding a copy of the output, renamed over
// it. Returns false when the folder does not let us create a file there.
bool replaceBeside(const QString &target, const QString &output, const Original &original,
                   const Expected &expected)
{
    std::optional<Neighbour> neighbour = createNeighbour(target);
    if (!neighbour)
        return false;
    if (!PosixFile::copyInto(neighbour->file.fd(), output)) {
        const int error = errno;
        ::unlink(nativePath(neighbour->path).constData());
        fail(QT_TRANSLATE_NOOP("PosixFile", "Could not write the new content of “%1”: %2."), target,
             error);
    }
    putInPlace(neighbour->file.fd(), neighbour->path, target, original, expected);
    return true;
}

// ExifTool wrote the output beside the target already: only the rename is left.
void finishBeside(const QString &target, const QString &output, const Original &original,
                  const Expected &expected)
{
    const char *what =
        QT_TRANSLATE_NOOP("PosixFile", "Could not write the new content of “%1”: %2.");
    Descriptor file(::open(nativePath(output).constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
    if (!file.isOpen())
        fail(what, target, errno);
    struct stat status {};
    if (::fstat(file.fd(), &status) != 0 || !S_ISREG(status.st_mode))
        fail(what, target, EINVAL);
    putInPlace(file.fd(), output, target, original, expected);
}

bool isBeside(const QString &output, const QString &target)
{
    const QFileInfo info(output);
    return isTemporaryNeighbourName(info.fileName()) &&
           info.absolutePath() == QFileInfo(target).absolutePath();
}

void setModified(const QString &target, const struct timespec &modified)
{
    const struct timespec times[2] = {{0, UTIME_OMIT}, modified};
    if (::utimensat(AT_FDCWD, nativePath(target).constData(), times, 0) != 0)
        fail(QT_TRANSLATE_NOOP("PosixFile", "Could not keep the modification date of “%1”: %2."),
             target, errno);
}

// Where the folder is closed to new files but the file itself is writable:
// rewrite it in place. Its old bytes first go to a synced backup, and a
// synced journal records which file they belong to before the file is
// opened for writing: if the program dies half-way, the next start of the
// engine puts them back.
void rewriteInPlace(const QString &target, const QString &output, const Original &original,
                    const Expected &expected)
{
    const TemporaryClaim claim = TemporaryClaim::create(QFileInfo(output).absolutePath());
    const QString backup = claim.hiddenPath(RewriteJournal::backupSuffix);
    const QString journal = claim.hiddenPath(RewriteJournal::journalSuffix);
    const auto removeJournalAndBackup = [&] {
        QFile::remove(journal);
        PosixFile::syncFolder(QFileInfo(journal).absolutePath());
        QFile::remove(backup);
    };

    if (!PosixFile::copyDurably(target, backup))
        fail(QT_TRANSLATE_NOOP("PosixFile", "Could not make a backup of “%1”: %2."), target, errno);
    try {
        RewriteJournal::write(
            journal,
            {target, original.exists ? FileStamp::ofStatus(original.status) : FileStamp{}});
        refuseIfChanged(target, expected);
    } catch (...) {
        removeJournalAndBackup();
        throw;
    }

    if (!PosixFile::rewriteWith(target, output)) {
        const int error = errno;
        // Put the old bytes back now; if even that fails, journal and backup
        // stay for the rollback at the next start.
        if (PosixFile::rewriteWith(target, backup)) {
            if (original.exists)
                setModified(target, original.status.st_mtim); // the old content, its old date
            removeJournalAndBackup();
        }
        fail(QT_TRANSLATE_NOOP("PosixFile", "Could not write the new content of “%1”: %2."), target,
             error);
    }
    removeJournalAndBackup();
    if (original.exists)
        setModified(target, original.modified);
}

} // namespace

bool isTemporaryNeighbourName(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\.metaloom-[0-9a-f]{12}(-next)?\\.tmp$"));
    return pattern.match(fileName).hasMatch();
}

QString claimIdStartOf(const QString &neighbourName)
{
    const QString digits = neighbourName.mid(neighbourPrefix.size(), 12).toUpper();
    return digits.left(8) + QLatin1Char('-') + digits.mid(8);
}

OutputsBeside outputsBesideIn(const QString &folder, const QString &claimId)
{
    // The claim's first twelve hex digits: enough to find its lock.
    const QString digits = (claimId.left(8) + claimId.mid(9, 4)).toLower();
    const QDir dir(folder);
    return {dir.filePath(neighbourPrefix + digits + neighbourSuffix),
            dir.filePath(neighbourPrefix + digits + QStringLiteral("-next") + neighbourSuffix)};
}

std::optional<OutputsBeside> reserveOutputsBeside(const QString &targetPath, const QString &claimId)
{
    const OutputsBeside outputs =
        outputsBesideIn(QFileInfo(TargetPath::resolved(targetPath)).absolutePath(), claimId);
    const QByteArray native = nativePath(outputs.output);
    Descriptor probe(
        ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!probe.isOpen())
        return std::nullopt;
    ::unlink(native.constData());
    return outputs;
}

void replaceOriginal(const QString &targetPath, const QString &outputPath, const Expected &expected,
                     Strategy strategy, KeptDate keptDate)
{
    struct OutputRemover {
        QString path;
        ~OutputRemover() { QFile::remove(path); }
    } remover{outputPath};

    const QString target = TargetPath::resolved(targetPath);
    Original original;
    original.exists = ::stat(nativePath(target).constData(), &original.status) == 0;
    original.modified = original.status.st_mtim;
    struct stat output {};
    if (keptDate == KeptDate::output && ::stat(nativePath(outputPath).constData(), &output) == 0)
        original.modified = output.st_mtim;
    refuseIfChanged(target, expected);
    if (original.exists) {
        if (!S_ISREG(original.status.st_mode)) {
            throw PlatformError(
                QCoreApplication::translate("FileReplacement",
                                            "“%1” is not a regular file, so it was left unchanged.")
                    .arg(QFileInfo(target).fileName()));
        }
        // Root may write anything; a file without any write permission bit was
        // still marked read-only by its owner and is left alone.
        const bool noWriteBits = (original.status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
        if (::access(nativePath(target).constData(), W_OK) != 0)
            fail(QT_TRANSLATE_NOOP("PosixFile", "Metaloom can't modify “%1”: %2."), target, errno);
        if (noWriteBits)
            fail(QT_TRANSLATE_NOOP("PosixFile", "Metaloom can't modify “%1”: %2."), target, EACCES);
    }
    if (strategy == Strategy::automatic && isBeside(outputPath, target))
        finishBeside(target, outputPath, original, expected);
    else if (strategy == Strategy::rewriteInPlace ||
             !replaceBeside(target, outputPath, original, expected))
        rewriteInPlace(target, outputPath, original, expected);
}

} // namespace Metaloom::FileReplacement
