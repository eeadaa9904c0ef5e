#pragma once

#include "TagDefinition.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The parsed tag listing kept on disk between starts: ExifTool takes
// seconds to print "-listx" and parsing it takes more, while its answer
// changes only with the bundled ExifTool. The file holds the table and the
// stamp of the ExifTool that printed it; a table whose stamp differs from
// the bundle's, or a file that is damaged, cut short or not ours, is not
// used (the listing is printed again and the file replaced).
namespace Metaloom::TagListingFile {

// What identifies the bundled ExifTool: its version (the script's
// "$version") and the script's size and modification time, so a rebuilt
// or replaced bundle of the same version still counts as another.
struct Stamp {
    QString version;
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch
    bool operator==(const Stamp &) const = default;
};

// The stamp of the script at this path; nothing when it cannot be read.
std::optional<Stamp> stampOf(const QString &scriptPath);

// ${XDG_CACHE_HOME:-$HOME/.cache}/metaloom/tag-listing.cache; empty when
// the user has no cache folder.
QString location();

// The file's content for this table and stamp, and the table back from
// it: nothing unless the content is whole, ours, of this format and of
// this stamp.
QByteArray encode(const TagTable &table, const Stamp &stamp);
std::optional<TagTable> decode(const QByteArray &content, const Stamp &stamp);

// Reads the file; nothing when it is absent or decode() refuses it.
std::optional<TagTable> read(const QString &path, const Stamp &stamp);
// Replaces the file as a whole (a reader sees the old file or the new one,
// never a part), creating its folder private to the user; false when it
// cannot be written.
bool write(const QString &path, const TagTable &table, const Stamp &stamp);

} // namespace Metaloom::TagListingFile
