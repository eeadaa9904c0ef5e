#include "FileStamp.h"

#include "PosixFile.h"

#include <sys/stat.h>

namespace Metaloom {

FileStamp FileStamp::of(const QString &path)
{
    struct stat status {};
    if (::stat(PosixFile::nativePath(path).constData(), &status) != 0)
        return FileStamp{};
    return ofStatus(status);
}

FileStamp FileStamp::ofStatus(const struct stat &status)
{
    return FileStamp{true,
                     quint64(status.st_dev),
                     quint64(status.st_ino),
                     qint64(status.st_size),
                     qint64(status.st_mtim.tv_sec),
                     qint64(status.st_mtim.tv_nsec)};
}

} // namespace Metaloom
