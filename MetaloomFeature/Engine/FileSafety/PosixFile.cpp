#include "PosixFile.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace Metaloom::PosixFile {

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

Descriptor &Descriptor::operator=(Descriptor &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

Descriptor::~Descriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Descriptor::close()
{
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0;
}

bool copyInto(int fd, const QString &sourcePath)
{
    Descriptor source(::open(nativePath(sourcePath).constData(), O_RDONLY | O_CLOEXEC));
    if (!source.isOpen())
        return false;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(source.fd(), buffer.data(), size_t(buffer.size()));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        const char *data = buffer.constData();
        ssize_t left = got;
        while (left > 0) {
            const ssize_t written = ::write(fd, data, size_t(left));
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

bool rewriteWith(const QString &targetPath, const QString &sourcePath)
{
    Descriptor file(::open(nativePath(targetPath).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!file.isOpen() || !copyInto(file.fd(), sourcePath) || ::fsync(file.fd()) != 0)
        return false;
    return file.close();
}

bool copyDurably(const QString &sourcePath, const QString &copyPath)
{
    const QByteArray native = nativePath(copyPath);
    Descriptor copy(::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!copy.isOpen())
        return false;
    if (copyInto(copy.fd(), sourcePath) && ::fsync(copy.fd()) == 0 && copy.close())
        return true;
    const int error = errno;
    ::unlink(native.constData());
    errno = error;
    return false;
}

void startWritingOut(const QString &path)
{
    Descriptor file(::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (file.isOpen())
        (void)::sync_file_range(file.fd(), 0, 0, SYNC_FILE_RANGE_WRITE);
}

void syncFolder(const QString &folder)
{
    Descriptor dir(::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.isOpen())
        ::fsync(dir.fd());
}

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

void fail(const char *sentence, const QString &path, int error)
{
    throw PlatformError(QCoreApplication::translate("PosixFile", sentence)
                            .arg(QFileInfo(path).fileName(), systemMessage(error)));
}

} // namespace Metaloom::PosixFile
