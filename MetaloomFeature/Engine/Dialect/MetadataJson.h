#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QStringList>

namespace Metaloom::MetadataJson {

// The text shown for one JSON value of ExifTool's output: strings as they
// are, integers without a decimal point, booleans as 1/0, arrays joined with
// ", " (nested arrays flatten), objects as sorted "name=value" pairs.
QString valueText(const QJsonValue &value);

// ExifTool prints a value that looks like a number as a bare JSON number
// ("0.000064", "0.010", "14.0"), and Qt's JSON reader keeps only the
// double, which prints otherwise ("6.4e-05", "0.01", "14"). The same bytes
// with every bare number and boolean outside strings put in quotes, so that
// each value arrives as the text ExifTool printed (booleans as "true" and
// "false", the way ExifTool wrote them).
QByteArray quoteBareLiterals(const QByteArray &json);

// ExifTool's JSON read with its literals kept as text (quoteBareLiterals).
// Throws PlatformError for bytes that are not JSON.
QJsonDocument parseKeepingLiterals(const QByteArray &json);

// The items of one value: each element of an array (its text as
// valueText() gives it), or the value's text as the only item.
QStringList itemsOf(const QJsonValue &value);

// The entry for one member of ExifTool's JSON: a list entry with its items
// for an array (ExifTool prints list tags holding several items as arrays),
// a plain entry otherwise.
MetadataEntry entryFor(const QString &key, const QJsonValue &value);

// Entries for the members of one object of `exiftool -json -G:1` output,
// read with parseKeepingLiterals, SourceFile dropped and hidden groups too
// unless `keepHidden`, sorted (EntryOrder).
QList<MetadataEntry> entriesOf(const QJsonObject &object, bool keepHidden = false);

// Entries for the first object of `exiftool -json -G:1` output, hidden
// groups and SourceFile dropped, sorted; numbers as ExifTool printed them.
// Throws PlatformError for bytes that are not JSON and
// ServiceError::invalidResponse for any other shape than a non-empty array of
// objects.
QList<MetadataEntry> entriesFromOutput(const QByteArray &standardOutput);
// Entries for every object of such output, in order.
QList<QList<MetadataEntry>> entriesOfEachFile(const QByteArray &standardOutput,
                                              bool keepHidden = false);

// The arguments of the read whose output the functions above parse: every
// tag of the files, by family-1 group ("-json -G:1 -all").
QStringList readArguments(const QStringList &paths);
// The same read without ExifTool's composite tags, which are made from the
// others and are neither removed nor kept by a strip: what a strip reads of
// the file and of its stripped copy (printing them costs a sixth of the
// read). The pictures a file embeds, which ExifTool makes the same way, keep
// the group that holds them.
QStringList storedTagsReadArguments(const QStringList &paths);

// The text of the Error tag ExifTool puts in its JSON for a file it cannot
// read ("Unknown file type"), or an empty string when there is none. ExifTool
// then exits with status 1 and nothing on standard error.
QString reportedError(const QByteArray &standardOutput);

} // namespace Metaloom::MetadataJson
