#pragma once

#include "MetaloomFeature/Engine/TagAssignment.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>

#include <optional>

namespace Metaloom::ChangeReadBack {

// One tag as ExifTool printed it with every group it names
// ("EXIF:IFD0:Camera:Make", "MakerNotes:Canon:Image:Copy1:FNumber"), and
// its items: each element of a list, or the value as the only item, the
// text exactly as ExifTool printed it.
struct PrintedTag {
    QString key;
    QStringList items;
    bool operator==(const PrintedTag &) const = default;
};

// What one file holds for each key asked, and ExifTool's own warnings
// about reading it.
struct FileAnswers {
    QHash<QString, QList<PrintedTag>> byKey; // every key asked, present or not
    QStringList warnings;
    bool operator==(const FileAnswers &) const = default;
};

// What the original file and ExifTool's new file hold for one changed key.
struct Held {
    QList<PrintedTag> before;
    QList<PrintedTag> after;
    bool beforeRead = false; // whether the original was asked for this key
    bool operator==(const Held &) const = default;
};

// Both files together. The original is read only when, and only for the
// keys where, a verdict needs it (a value stored otherwise than asked, EXIF
// that may have been split): `originalRead` says whether the original's
// warnings are known, `Held::beforeRead` whether a key's old tags are.
struct Answers {
    QHash<QString, Held> byKey;
    QStringList originalWarnings;
    QStringList newWarnings;
    bool originalRead = false;
};
Answers combine(const FileAnswers &newFile, const std::optional<FileAnswers> &original);

// The keys asked in one read, grouped into ExifTool commands. One command
// asks for every key whose answers can be told apart by their names and
// groups (ExifTool prints every group of a tag, so "EXIF:Artist" is found
// as "EXIF:IFD0:Author:Artist" and a key without a group wherever ExifTool
// put it); keys whose answers cannot be told apart there get a command of
// their own: a raw value ("ExposureTime#") of a tag also asked printed,
// which ExifTool would print only once, and shortcuts and "all", which
// stand for tags of other names.
struct Plan {
    QList<QStringList> commands;
    bool operator==(const Plan &) const = default;
};
Plan planFor(QStringList keys);

// Whether a JPEG may be read back for these keys without its maker notes
// and what follows the image ("-fast2"): parsing a camera's maker notes is
// most of what a read costs, and ExifTool's write does not need it. Only
// when every key names a group, and every group it names lies outside both
// (EXIF's own IFDs, GPS, IPTC, XMP, ICC, JFIF, Photoshop, the file system):
// a key without a group, or of any other group, may be answered there.
bool readsWithoutMakerNotes(const QStringList &keys);

// Whether these keys may be read back without ExifTool working out its
// composite tags ("-e"), which it derives from the stored ones and which
// cost a small file's read as much as the rest of it: only when every key
// names a group, and each group it names holds stored tags alone (EXIF's,
// GPS, IPTC, XMP, the maker notes, a movie's and the file system's), and no
// key asks for an embedded picture or for all of a group: ExifTool makes a
// thumbnail or preview as a composite tag under its IFD's group. A key
// without a group, or of a category ("Location", "Time") or any other
// group, may be answered by a composite tag.
bool readsWithoutCompositeTags(const QStringList &keys);

// One run of ExifTool for the plan, reading each of the files with the
// change's options (WriteArguments::optionArguments), skipping maker notes
// and trailers when `withoutMakerNotes` (for JPEGs and the keys above),
// and composite tags where the keys allow.
QStringList arguments(const Plan &plan, const QStringList &paths, const ChangeOptions &options = {},
                      bool withoutMakerNotes = false);

// Whether a tag ExifTool printed (with all its groups) answers a key asked
// in a shared command: the same tag name in any letter case ("all" for any
// name) and every group of the key among the printed ones. A family number
// before a group ("1IFD0") is not checked.
bool answers(const QString &askedKey, const QString &printedKey);

// A printed key named the way the window names tags: family-1 group and tag
// ("EXIF:IFD0:Camera:Make" -> "IFD0:Make"). ExifTool prints a group once
// where families 0 and 1 are the same ("IPTC:Other:Keywords" -> "IPTC:Keywords"),
// and a family-4 copy number ("Copy1") only for a tag that repeats.
QString familyOneKey(const QString &printedKey);

// The answers of that run's output, one per file in the order read.
// Throws ServiceError::invalidResponse when there is not one answer per
// command, each for every file, and PlatformError for output that is not
// JSON.
QList<FileAnswers> answersFrom(const Plan &plan, const QByteArray &standardOutput,
                               qsizetype fileCount);

} // namespace Metaloom::ChangeReadBack
