#pragma once

#include "MetaloomFeature/Engine/FileSafety/FileStamp.h"
#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QHash>
#include <QList>
#include <QString>

#include <list>
#include <optional>
#include <utility>

namespace Metaloom {

// The last full reads of a service, each with the version of the file it
// was read from, so that work that needs the file's every tag again (the
// strip's list of what it removed) takes them from the read the window
// already made while the file is still that version. A version is the
// file's identity, size and modification date and its status-change time,
// which no program can set back: a file rewritten in place, even to the
// same size with its old date restored, is another version.
// Main thread only.
class RecentReads {
public:
    struct Version {
        FileStamp stamp;
        qint64 changedSeconds = 0;
        qint64 changedNanoseconds = 0;
        bool operator==(const Version &) const = default;
    };

    explicit RecentReads(qsizetype capacity = 256) : m_capacity(capacity) {}

    // The version of the file a path leads to now; none for a missing file.
    static std::optional<Version> versionOf(const QString &path);

    // Keeps the entries (hidden groups included) read from this version of
    // the file, in place of any older read of it; the oldest read goes when
    // more are kept than the capacity.
    void remember(const Version &version, QList<MetadataEntry> entries);

    // The entries read from the version the path leads to now, if any.
    std::optional<QList<MetadataEntry>> entriesFor(const QString &path) const;

private:
    using FileIdentity = std::pair<quint64, quint64>; // device and inode
    struct Read {
        Version version;
        QList<MetadataEntry> entries;
    };

    qsizetype m_capacity;
    std::list<FileIdentity> m_order; // most recent first
    QHash<FileIdentity, Read> m_reads;
};

} // namespace Metaloom
