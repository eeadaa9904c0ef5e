#include "FileReplacement.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace Metaloom::FileReplacement {

namespace {

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void fail(const QString &what, const QString &path, int error)
{
    throw PlatformError(
        QStringLiteral("%1 “%2”: %3.").arg(what, QFileInfo(path).fileName(), systemMessage(error)));
}

// Closes the descriptor on every path out of a scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int release()
    {
        const int result = ::close(fd);
        fd = -1;
        return result;
    }
};

// The target of a symbolic link (followed to the end), or the path itself.
QString resolveTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// Writes all of `source` to the open descriptor; false with errno on failure.
bool copyInto(int fd, const QString &sourcePath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        errno = EIO;
        return false;
    }
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(buffer.data(), buffer.size());
        if (got < 0) {
            errno = EIO;
            return false;
        }
        if (got == 0)
            return true;
        const char *data = buffer.constData();
        qint64 left = got;
        while (left > 0) {
            const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            data += written;
            left -= written;
        }
    }
}

void syncFolder(const QString &folder)
{
    Descriptor dir{::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0)
        ::fsync(dir.fd);
}

struct Original {
    bool exists = false;
    struct stat status {};
};

// Fresh file beside the target, renamed over it. Returns false when the
// folder does not let us create a file there.
bool replaceBeside(const QString &target, const QString &output, const Original &original)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    const QString temporary = QDir(folder).filePath(
        QStringLiteral(".%1.metaloom-%2.tmp")
            .arg(info.fileName(), QUuid::createUuid().toString(QUuid::Id128).left(12)));
    const QByteArray temporaryNative = nativePath(temporary);

    Descriptor file{
        ::open(temporaryNative.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)};
    if (file.fd < 0) {
        if (errno == EACCES || errno == EPERM || errno == EROFS)
            return false;
        fail(QStringLiteral("Could not create a new copy of"), target, errno);
    }

    const auto abandon = [&](const QString &what) {
        const int error = errno;
        ::unlink(temporaryNative.constData());
        fail(what, target, error);
    };
    if (!copyInto(file.fd, output))
        abandon(QStringLiteral("Could not write the new content of"));
    if (original.exists) {
        // Keep who may read the file: a private photo must stay private.
        if (::fchown(file.fd, original.status.st_uid, original.status.st_gid) != 0)
            (void)::fchown(file.fd, static_cast<uid_t>(-1), original.status.st_gid);
        if (::fchmod(file.fd, original.status.st_mode & 07777) != 0)
            abandon(QStringLiteral("Could not keep the permissions of"));
        const struct timespec times[2] = {{0, UTIME_OMIT}, original.status.st_mtim};
        if (::futimens(file.fd, times) != 0)
            abandon(QStringLiteral("Could not keep the modification date of"));
    }
    if (::fsync(file.fd) != 0 || file.release() != 0)
        abandon(QStringLiteral("Could not write the new content of"));
    if (::rename(temporaryNative.constData(), nativePath(target).constData()) != 0)
        abandon(QStringLiteral("Could not replace"));
    syncFolder(folder);
    return true;
}

// Where the folder is closed to new files but the file itself is writable:
// rewrite it in place, keeping a backup until the new content is complete.
void rewriteInPlace(const QString &target, const QString &output, const Original &original)
{
    const QString backup =
        QDir(QFileInfo(output).absolutePath())
            .filePath(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    if (!QFile::copy(target, backup))
        fail(QStringLiteral("Could not make a backup of"), target, EIO);

    const auto writeFrom = [&target](const QString &source) {
        Descriptor file{::open(nativePath(target).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC)};
        if (file.fd < 0 || !copyInto(file.fd, source) || ::fsync(file.fd) != 0)
            return false;
        return file.release() == 0;
    };
    if (!writeFrom(output)) {
        const int error = errno;
        writeFrom(backup);
        QFile::remove(backup);
        fail(QStringLiteral("Could not write the new content of"), target, error);
    }
    QFile::remove(backup);
    if (original.exists) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, original.status.st_mtim};
        if (::utimensat(AT_FDCWD, nativePath(target).constData(), times, 0) != 0)
            fail(QStringLiteral("Could not keep the modification date of"), target, errno);
    }
}

FileStamp stampFrom(bool exists, const struct stat &status)
{
    if (!exists)
        return FileStamp{};
    return FileStamp{true,
                     quint64(status.st_dev),
                     quint64(status.st_ino),
                     qint64(status.st_size),
                     qint64(status.st_mtim.tv_sec),
                     qint64(status.st_mtim.tv_nsec)};
}

} // namespace

FileStamp stampOf(const QString &path)
{
    struct stat status {};
    const bool exists = ::stat(nativePath(path).constData(), &status) == 0;
    return stampFrom(exists, status);
}

void replaceOriginal(const QString &targetPath, const QString &outputPath,
                     const std::optional<FileStamp> &expected, Strategy strategy)
{
    struct OutputRemover {
        QString path;
        ~OutputRemover() { QFile::remove(path); }
    } remover{outputPath};

    const QString target = resolveTarget(targetPath);
    Original original;
    original.exists = ::stat(nativePath(target).constData(), &original.status) == 0;
    if (expected && stampFrom(original.exists, original.status) != *expected) {
        throw PlatformError(QStringLiteral("“%1” was changed by another program while Metaloom was "
                                           "writing it, so it was left as it is. Please try again.")
                                .arg(QFileInfo(target).fileName()));
    }
    if (original.exists) {
        if (!S_ISREG(original.status.st_mode)) {
            throw PlatformError(
                QStringLiteral("“%1” is not a regular file, so it was left unchanged.")
                    .arg(QFileInfo(target).fileName()));
        }
        // Root may write anything; a file without any write permission bit was
        // still marked read-only by its owner and is left alone.
        const bool noWriteBits = (original.status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
        if (::access(nativePath(target).constData(), W_OK) != 0)
            fail(QStringLiteral("Metaloom can't modify"), target, errno);
        if (noWriteBits)
            fail(QStringLiteral("Metaloom can't modify"), target, EACCES);
    }
    if (strategy == Strategy::rewriteInPlace || !replaceBeside(target, outputPath, original))
        rewriteInPlace(target, outputPath, original);
}

} // namespace Metaloom::FileReplacement
