#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QList>
#include <QString>

namespace Metaloom::SearchFilter {

// Whether the entry's raw key or current value contains the search text
// (trimmed; case-insensitive); every entry matches an empty text.
bool matches(const MetadataEntry &entry, const QString &searchText);

// The entries that match, in their order.
QList<MetadataEntry> filter(const QList<MetadataEntry> &entries, const QString &searchText);

} // namespace Metaloom::SearchFilter
