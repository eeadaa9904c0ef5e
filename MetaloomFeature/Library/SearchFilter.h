#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QList>
#include <QString>

namespace Metaloom::SearchFilter {

// The entries whose raw key or current value contains the search text
// (trimmed; case-insensitive), in their order; all of them for an empty text.
QList<MetadataEntry> filter(const QList<MetadataEntry> &entries, const QString &searchText);

} // namespace Metaloom::SearchFilter
