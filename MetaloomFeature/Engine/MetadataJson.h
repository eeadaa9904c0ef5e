#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>

namespace Metaloom::MetadataJson {

// The text shown for one JSON value of ExifTool's output: strings as they
// are, integers without a decimal point, booleans as 1/0, arrays joined with
// ", " (nested arrays flatten), objects as sorted "name=value" pairs.
QString valueText(const QJsonValue &value);

// Entries for the first object of `exiftool -json -G:1` output, hidden
// groups and SourceFile dropped, sorted. Throws PlatformError for bytes that
// are not JSON and ServiceError::invalidResponse for any other shape than a
// non-empty array of objects.
QList<MetadataEntry> entriesFromOutput(const QByteArray &standardOutput);

// The text of the Error tag ExifTool puts in its JSON for a file it cannot
// read ("Unknown file type"), or an empty string when there is none. ExifTool
// then exits with status 1 and nothing on standard error.
QString reportedError(const QByteArray &standardOutput);

// Orders entries by group, then tag, both compared case-insensitively under
// the user's locale. Groups that differ only in letter case stay apart but in
// no promised order.
void sortByGroupAndTag(QList<MetadataEntry> &entries);

} // namespace Metaloom::MetadataJson
