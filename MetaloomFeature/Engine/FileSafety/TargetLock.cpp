#include "TargetLock.h"

#include "FileChangeQueue.h"
#include "PosixFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>

#include <QCoreApplication>
#include <cerrno>

namespace Metaloom::TargetLock {

QString lockPathFor(const QString &temporaryDirectory, const QString &targetPath)
{
    const QByteArray key = QCryptographicHash::hash(
        PosixFile::nativePath(FileChangeQueue::keyFor(targetPath)), QCryptographicHash::Sha256);
    return QDir(temporaryDirectory)
        .filePath(QStringLiteral(".target-") + QString::fromLatin1(key.toHex().left(32)) +
                  QStringLiteral(".lock"));
}

bool isLockFileName(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.target-[0-9a-f]{32}\\.lock$"));
    return pattern.match(fileName).hasMatch();
}

std::optional<FileLock> tryAcquire(const QString &temporaryDirectory, const QString &targetPath)
{
    const QString path = lockPathFor(temporaryDirectory, targetPath);
    int error = 0;
    std::optional<FileLock> lock = FileLock::tryLock(path, FileLock::Open::createIfMissing, &error);
    if (lock) {
        lock->setRemoveOnRelease(true);
        return lock;
    }
    if (error != EWOULDBLOCK)
        PosixFile::fail(QT_TRANSLATE_NOOP("PosixFile", "Could not reserve “%1”: %2."), targetPath,
                        error);
    return std::nullopt;
}

} // namespace Metaloom::TargetLock
