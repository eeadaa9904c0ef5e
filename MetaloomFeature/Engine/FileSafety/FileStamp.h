#pragma once

#include <QString>
#include <QtGlobal>

struct stat;

namespace Metaloom {

// What identifies one version of a file on disk: enough to notice that
// another program changed or replaced it while ExifTool was working.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    bool operator==(const FileStamp &) const = default;

    // The stamp of the file a path leads to (links followed).
    static FileStamp of(const QString &path);
    // The stamp of a file that exists, from its status.
    static FileStamp ofStatus(const struct stat &status);
};

} // namespace Metaloom
