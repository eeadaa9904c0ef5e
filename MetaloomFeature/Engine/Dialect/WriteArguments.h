#pragma once

#include "MetaloomFeature/Engine/TagAssignment.h"
#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QList>
#include <QMap>
#include <QStringList>

namespace Metaloom::WriteArguments {

// Each list ends in the target path; every tag assignment is one argument of
// its own, so values with spaces, quotes or line breaks need no escaping.
// The output path is where ExifTool writes the new file ("-o").

// One change of tags: "-P", "-m" when minor errors are ignored, the
// option arguments below, "-o", output, then "-KEY=" for each deletion and "-KEY=ITEM" for each
// item of each value, in the order given, target. Deletions come first so that a group deleted and
// a tag of it set in the same change ends with the tag set. Empty items are left out.
QStringList forChange(const QList<TagAssignment> &assignments, const QString &outputPath,
                      const QString &targetPath, const ChangeOptions &options = {});

// The options every command of a change gives ExifTool, reading or
// writing, so that the read-back sees what the change wrote ("-api
// QuickTimeUTC=1").
QStringList optionArguments(const ChangeOptions &options);

// "-P", "-o", output, "-KEY=VALUE" for each modified entry in order, target.
QStringList forEntries(const QList<MetadataEntry> &modifiedEntries, const QString &outputPath,
                       const QString &targetPath);

// "-P", "-o", output, "-KEY=VALUE" in ascending key order, target.
QStringList forOverrides(const QMap<QString, QString> &overrides, const QString &outputPath,
                         const QString &targetPath);

// "-P", "-o", output, "-KEY=" in ascending key order, target.
QStringList forRemovals(const QStringList &tagKeys, const QString &outputPath,
                        const QString &targetPath);

// The stripping list: a careful one for audio-visual containers and
// HEIC/HEIF, a thorough one (previews, APP segments, ICC profile) for the
// rest, and for camera raw files the thorough one without the embedded
// previews, which those formats keep as part of the image. `leftOut` names
// deletions ExifTool refused for this file. "-m" when minor errors are
// ignored. The `kept` tags are copied back from the file itself in the same
// command ("-tagsFromFile @ -Orientation"), so they are all that stays.
QStringList forRemoveAll(const QString &outputPath, const QString &targetPath,
                         const QStringList &leftOut = {}, const ChangeOptions &options = {},
                         const QStringList &kept = {});

// The deletions of that list beyond "-all=", in their order: the ones that
// can be left out when ExifTool refuses them. The embedded images form one
// group that stays or goes together: a file that needs one of them as part of
// its structure (a raw file named like a plain TIFF) needs the others too.
QList<QStringList> optionalStripDeletions(const QString &targetPath);

// The deletions of single tags by name among those ("-thumbnailimage=")
// that the file, holding only these keys, gives nothing to: they would
// change no byte, yet each costs ExifTool a search of every tag table, more
// than the rest of a small file's strip.
QStringList needlessStripDeletions(const QString &targetPath, const QStringList &heldKeys);

// ExifTool stores IPTC text as Latin-1 unless told otherwise, which turns
// non-Latin text into question marks while reporting success: such lists end
// with "-IPTC:CodedCharacterSet=UTF8" before the target.
bool needsUtf8Iptc(const QList<QPair<QString, QString>> &assignments);

} // namespace Metaloom::WriteArguments
