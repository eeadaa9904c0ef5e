#include "FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Metaloom {

namespace {

bool isRegularFile(int fd)
{
    struct stat opened {};
    return ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
}

bool sameFile(int fd, const QByteArray &path)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

int flagsFor(FileLock::Open open)
{
    switch (open) {
    case FileLock::Open::existing:
        return 0;
    case FileLock::Open::createIfMissing:
        return O_CREAT;
    case FileLock::Open::createNew:
        return O_CREAT | O_EXCL;
    }
    return 0;
}

} // namespace

std::optional<FileLock> FileLock::tryLock(const QString &path, Open open, int *error)
{
    int ignored = 0;
    int &reason = error ? *error : ignored;
    const QByteArray native = PosixFile::nativePath(path);
    // A file that is not locked may be removed by the one who locks it next
    // (its last holder died): after locking, the name must still lead to it.
    // If it does not, the file was removed and a shared lock file is simply
    // opened again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Never a link, and nothing that could block or act on being opened.
        if (open == Open::existing) {
            struct stat existing {};
            if (::lstat(native.constData(), &existing) != 0) {
                reason = errno;
                return std::nullopt;
            }
            if (!S_ISREG(existing.st_mode)) {
                reason = EINVAL;
                return std::nullopt;
            }
        }
        PosixFile::Descriptor descriptor(
            ::open(native.constData(),
                   O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | flagsFor(open), 0600));
        if (!descriptor.isOpen()) {
            reason = errno;
            return std::nullopt;
        }
        if (!isRegularFile(descriptor.fd())) {
            reason = EINVAL;
            return std::nullopt;
        }
        if (::flock(descriptor.fd(), LOCK_EX | LOCK_NB) != 0) {
            reason = errno == EWOULDBLOCK ? EWOULDBLOCK : errno;
            return std::nullopt;
        }
        if (sameFile(descriptor.fd(), native)) {
            reason = 0;
            return FileLock(path, std::move(descriptor));
        }
        reason = EWOULDBLOCK; // removed under us: someone else is at it
        if (open != Open::createIfMissing)
            return std::nullopt;
    }
    return std::nullopt;
}

FileLock &FileLock::operator=(FileLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_path = std::move(other.m_path);
        m_descriptor = std::move(other.m_descriptor);
        m_removeOnRelease = std::exchange(other.m_removeOnRelease, false);
    }
    return *this;
}

FileLock::~FileLock()
{
    release();
}

void FileLock::release()
{
    if (!m_descriptor.isOpen())
        return;
    if (m_removeOnRelease)
        ::unlink(PosixFile::nativePath(m_path).constData());
    m_descriptor.close();
}

} // namespace Metaloom
