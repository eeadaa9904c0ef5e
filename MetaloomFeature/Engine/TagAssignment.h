#pragma once

#include <QString>
#include <QStringList>

namespace Metaloom {

// One tag of a change: the values to give it, or none to delete it. Several
// values are the items of a list tag (IPTC:Keywords, XMP-dc:Subject), each
// written as an item of its own, so an item holding ", " stays one item.
// Empty items carry nothing and are left out.
struct TagAssignment {
    QString key;
    QStringList values;

    bool deletes() const { return values.isEmpty(); }
    bool operator==(const TagAssignment &) const = default;
};

// How ExifTool is asked to make a change.
struct ChangeOptions {
    // ExifTool's "-m": minor errors (a structure ExifTool would rather not
    // rewrite) no longer stop the change. Only ever set because the user
    // asked to write anyway after a ServiceError::minorError for this file.
    bool ignoreMinorErrors = false;
    // ExifTool's QuickTimeUTC: QuickTime's dates read as UTC and shown in
    // the computer's zone, and a date written without zone taken as the
    // computer's local time. The format means them as UTC; many cameras
    // store local time instead, which is read as it is without this.
    bool quickTimeUtc = false;

    bool operator==(const ChangeOptions &) const = default;
};

} // namespace Metaloom
