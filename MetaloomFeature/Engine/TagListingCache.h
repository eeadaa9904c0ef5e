#pragma once

#include "TagDefinition.h"

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QFuture>
#include <QHash>
#include <QString>

#include <optional>

namespace Metaloom {

// ExifTool's tag listing takes seconds to print and parse and is the same
// for every service on one bundle, so one load serves the whole process.
// Windows and sheets that make their own service find it ready. Between
// starts the parsed table waits on disk (TagListingFile), so only the very
// first start of a bundle asks ExifTool for it.
// Main thread only.
class TagListingCache {
public:
    // The process's loads, keeping the parsed table in the user's cache
    // folder (TagListingFile::location(), looked up at each load).
    static TagListingCache &shared();

    // Loads of their own, keeping the table in this file (none: not kept).
    explicit TagListingCache(std::optional<QString> filePath = std::nullopt);

    // The load for this bundle: the one already running or finished, or a
    // new one. A load that failed is not handed out again, so the next
    // service tries afresh while the services that saw it fail keep their
    // failure. The table comes from the file when the file was written for
    // this bundle's ExifTool and is whole; otherwise from ExifTool, and
    // the file is then written again, after the table was handed out.
    QFuture<TagTable> load(const ResourceBundle &bundle);

    // Whether the load for this bundle has its table already.
    bool hasArrived(const ResourceBundle &bundle) const;

    // The load for this bundle that wrote (or failed to write) the file
    // has finished doing so; for tests and benchmarks that look at it.
    QFuture<void> fileWritten(const ResourceBundle &bundle) const;

private:
    QString filePath() const;

    bool m_usesUserCache;
    QString m_filePath;
    QHash<QString, QFuture<TagTable>> m_loads;
    QHash<QString, QFuture<void>> m_writes;
};

} // namespace Metaloom
