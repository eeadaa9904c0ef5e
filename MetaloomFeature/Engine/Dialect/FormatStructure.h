#pragma once

#include <QString>

namespace Metaloom::FormatStructure {

// What a strip of every tag is not expected to remove, since it is not
// metadata anyone put in the file: the groups whose tags ExifTool reads
// from the file system or works out itself (File, Composite, System,
// ExifTool), and the tags that describe how the format lays out its content
// (image size, bit depth, compression, where the image data lies, a PNG's
// palette, a PDF's version, a movie's tracks and time scales). Whether a key
// ("System:FileSize", "IFD0:StripByteCounts") is one of them.
bool isStructural(const QString &key);

} // namespace Metaloom::FormatStructure
