#pragma once

#include "ChangeReadBack.h"

#include "MetaloomFeature/Engine/ChangeReport.h"
#include "MetaloomFeature/Engine/TagAssignment.h"

#include <QList>
#include <QStringList>

namespace Metaloom::ChangeComparison {

// What a change read back from ExifTool's new file amounts to.
struct Verdict {
    ChangeReport report;
    // Some value is in the new file (as asked, converted or shortened), or
    // some deleted tag that was there is gone: the new file is worth putting
    // in place.
    bool anythingTook = false;
    // Some value was refused by ExifTool (its warning names the tag).
    bool anyRefused = false;
};

// Whether the items the file holds are the ones asked, text for text as
// ExifTool prints them ("2020:01:01 10:00:00" matches itself, a list item
// for item). JSON booleans are printed in lower case, so "True" matches
// "true".
bool storedAsAsked(const QStringList &asked, const QStringList &stored);

// Whether the stored items mean the asked ones although they read
// differently: the same number ("2.80" and "2.8"), the same text with
// another spacing at its ends, a date and time with a time zone added.
bool equivalent(const QStringList &asked, const QStringList &stored);

// Whether one of ExifTool's warnings of the write names the key's tag
// ("Can't convert IFD0:Orientation (not in PrintConv)" names IFD0:Orientation
// and Orientation, and EXIF:Orientation when no asked key of that name has
// the warning's own group).
QList<qsizetype> assignmentsNamedBy(const QString &warning,
                                    const QList<TagAssignment> &assignments);

// The keys whose verdict needs what the original held: values stored
// otherwise than asked that no warning of ExifTool names, where only the
// old value tells a value kept from one converted.
QStringList keysNeedingTheOriginal(const QList<TagAssignment> &assignments,
                                   const ChangeReadBack::Answers &answers,
                                   const QStringList &writeWarnings);

// Compares each assignment with what both files hold for its key and with
// ExifTool's warnings of the write (without the file name ExifTool appends).
// `fileKind` names the file in the reasons ("This PDF file"). A deleted tag
// that is gone counts as removed unless the original, read for it, did not
// hold it either.
Verdict judge(const QList<TagAssignment> &assignments, const ChangeReadBack::Answers &answers,
              const QStringList &writeWarnings, const QString &fileKind);

// "This PDF file", "This file" for a name without an extension.
QString fileKindOf(const QString &targetPath);

// A warning line of ExifTool's write without the " - <file>" it appends
// when the warning came from the file itself.
QString withoutFileName(const QString &warning, const QString &targetPath);

} // namespace Metaloom::ChangeComparison
