#pragma once

#include "MetaloomFeature/Engine/Dialect/FormatLists.h"
#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QFuture>
#include <QHash>

#include <optional>

namespace Metaloom {

// ExifTool's format lists are the same for every service on one bundle and
// cost an ExifTool run, so one load serves the whole process, as the tag
// listing does. Main thread only.
class WritableFormats {
public:
    static WritableFormats &shared();

    // The load for this bundle: the one running or finished, or a new one.
    // A load that failed is not handed out again.
    QFuture<FormatLists> load(const ResourceBundle &bundle);

    // The lists once loaded for this bundle; nothing before.
    std::optional<FormatLists> loaded(const ResourceBundle &bundle) const;

private:
    QHash<QString, QFuture<FormatLists>> m_loads;
};

} // namespace Metaloom
