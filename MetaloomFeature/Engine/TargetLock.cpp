#include "TargetLock.h"

#include "FileChangeQueue.h"
#include "PosixFile.h"

#include <QCoroTimer>
#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <chrono>

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
        PosixFile::fail(QStringLiteral("Could not reserve"), targetPath, error);
    return std::nullopt;
}

QCoro::Task<FileLock> acquire(QString temporaryDirectory, QString targetPath)
{
    using namespace std::chrono_literals;
    std::chrono::milliseconds pause = 10ms;
    for (;;) {
        if (std::optional<FileLock> lock = tryAcquire(temporaryDirectory, targetPath))
            co_return std::move(*lock);
        co_await QCoro::sleepFor(pause);
        pause = std::min<std::chrono::milliseconds>(pause * 2, 200ms);
    }
}

} // namespace Metaloom::TargetLock
