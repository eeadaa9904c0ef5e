#pragma once

#include "MetaloomFeature/Engine/TagDefinition.h"

#include <QByteArray>

namespace Metaloom::TagDefinitionsParser {

// Reads ExifTool's "-listx -f" tag listing: for every "tag" element the key
// as ExifTool's "-G1" names the tag (the first of the tag's g1, its table's
// g1, the tag's g0 and the table's g0, a colon and the name; the name alone
// without any group), whether it is writable, whether it is a list (its
// "flags" hold "List", "Bag", "Seq" or "Alt"), and the English labels of its
// values. The first definition of a key wins. Throws PlatformError for
// malformed XML.
TagTable parse(const QByteArray &xml);

} // namespace Metaloom::TagDefinitionsParser
