#pragma once

#include "TagDefinition.h"

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QFuture>
#include <QHash>

namespace Metaloom {

// ExifTool's tag listing takes seconds to print and parse and is the same
// for every service on one bundle, so one load serves the whole process.
// Windows and sheets that make their own service find it ready.
// Main thread only.
class TagListingCache {
public:
    static TagListingCache &shared();

    // The load for this bundle: the one already running or finished, or a
    // new one. A load that failed is not handed out again, so the next
    // service tries afresh while the services that saw it fail keep their
    // failure.
    QFuture<TagTable> load(const ResourceBundle &bundle);

private:
    QHash<QString, QFuture<TagTable>> m_loads;
};

} // namespace Metaloom
