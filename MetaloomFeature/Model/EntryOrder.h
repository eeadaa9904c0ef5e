#pragma once

#include "MetadataEntry.h"

#include <QList>

namespace Metaloom::EntryOrder {

// The order entries are listed in, the same for what the engine reads and
// for what the library shows: by group, then tag, both compared
// case-insensitively under the user's locale. Groups that differ only in
// letter case stay apart but in no promised order.
void sortByGroupAndTag(QList<MetadataEntry> &entries);

} // namespace Metaloom::EntryOrder
