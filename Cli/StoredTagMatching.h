#pragma once

#include "Operations.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

// Which of the tags ExifTool printed with "-json -G0:1 -a" answer which of
// the keys that were asked for. ExifTool names a tag by its family-0 and
// family-1 groups ("EXIF:IFD0:Artist", or "IPTC:Keywords" where both are
// the same), while a key may name either group, none, or a whole group
// ("XMP:all", "GPS*"), in any letter case and with ExifTool's "#" for the
// raw value.
namespace Metaloom::Cli::StoredTagMatching {

// Whether the printed name (without "SourceFile") answers the asked key.
bool answers(const QString &askedKey, const QString &printedName);

// The printed tags that answer each key; a key nothing answers maps to an
// empty list. ExifTool's own messages ("ExifTool:Warning") answer nothing.
StoredTags match(const QStringList &askedKeys, const QJsonObject &printed);

// The ExifTool arguments that print those tags of one file.
QStringList arguments(const QStringList &askedKeys, const QString &filePath);

// The first object of that run's output. Throws PlatformError for output
// that is not such JSON.
QJsonObject printedObject(const QByteArray &standardOutput);

} // namespace Metaloom::Cli::StoredTagMatching
