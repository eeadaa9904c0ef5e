#pragma once

#include "MetaloomFeature/Engine/TagAssignment.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace Metaloom::JpegExifLimit {

// A JPEG holds its EXIF in one segment of at most 64 KB. ExifTool writes
// more into several segments without failing ("[minor] Writing large value
// for ImageDescription", "Writing multi-segment EXIF"), and other programs
// then read only the first: a camera make turns into garbage, the dates
// vanish. Such a change is refused and the file left as it is.

// The longest text one EXIF value of a JPEG can take: ExifTool warns above
// 65,436 bytes of stored value, and a comment's character code takes 8 of
// them.
constexpr qsizetype longestValueBytes = 65436 - 8;

// Whether any of ExifTool's warnings says a JPEG's EXIF is split or about
// to be.
bool splitsExif(const QStringList &warnings);

// Whether the file is a JPEG by its name.
bool isJpeg(const QString &targetPath);

// The refusal of a change that sets an EXIF tag of a JPEG ("EXIF:",
// "IFD0:", "ExifIFD:", "GPS:" ... or a known EXIF text tag without a group)
// to a value longer than that, before ExifTool runs; nothing otherwise.
// The refusal names the file `fileName` (the name the user chose, where
// `targetPath` is the file a link leads to).
std::optional<QString> refusalBeforeWriting(const QString &targetPath, const QString &fileName,
                                            const QList<TagAssignment> &assignments);

// The refusal of ExifTool's new file when ExifTool wrote a value too large
// for the EXIF block (its write warnings, without the file name), or split
// the EXIF of a file whose EXIF was whole: said so when writing, or seen in
// reading the new file (ExifTool's reading warnings of both files; this
// catches a write made with minor errors ignored, which warns of nothing).
// The refusal names the file `fileName`.
std::optional<QString> refusalAfterWriting(const QString &fileName,
                                           const QStringList &writeWarnings,
                                           const QStringList &originalWarnings,
                                           const QStringList &newWarnings);

} // namespace Metaloom::JpegExifLimit
