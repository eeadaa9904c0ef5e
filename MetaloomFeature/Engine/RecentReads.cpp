#include "RecentReads.h"

#include "MetaloomFeature/Engine/FileSafety/PosixFile.h"

#include <algorithm>
#include <sys/stat.h>

namespace Metaloom {

std::optional<RecentReads::Version> RecentReads::versionOf(const QString &path)
{
    struct stat status {};
    if (::stat(PosixFile::nativePath(path).constData(), &status) != 0)
        return std::nullopt;
    return Version{FileStamp::ofStatus(status), qint64(status.st_ctim.tv_sec),
                   qint64(status.st_ctim.tv_nsec)};
}

void RecentReads::remember(const Version &version, QList<MetadataEntry> entries)
{
    if (m_capacity <= 0)
        return;
    const FileIdentity identity{version.stamp.device, version.stamp.inode};
    if (m_reads.contains(identity))
        m_order.remove(identity);
    m_order.push_front(identity);
    m_reads.insert(identity, Read{version, std::move(entries)});
    while (qsizetype(m_order.size()) > m_capacity) {
        m_reads.remove(m_order.back());
        m_order.pop_back();
    }
}

std::optional<QList<MetadataEntry>> RecentReads::entriesFor(const QString &path) const
{
    const std::optional<Version> now = versionOf(path);
    if (!now)
        return std::nullopt;
    const auto found = m_reads.constFind(FileIdentity{now->stamp.device, now->stamp.inode});
    if (found == m_reads.cend() || !(found->version == *now))
        return std::nullopt;
    return found->entries;
}

} // namespace Metaloom
