#pragma once

#include "TagDefinition.h"

#include <QByteArray>

namespace Metaloom::TagDefinitionsParser {

// Reads ExifTool's "-listx" tag listing: for every "tag" element the key
// (its g1 or else g0 group, a colon and its name; the name alone without a
// group), whether it is writable, and the English labels of its values. The
// first definition of a key wins. Throws PlatformError for malformed XML.
TagTable parse(const QByteArray &xml);

} // namespace Metaloom::TagDefinitionsParser
