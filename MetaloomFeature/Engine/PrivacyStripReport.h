#pragma once

#include "PrivacyClasses.h"
#include "PrivacyFindings.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Metaloom {

// The proof of a strip for sharing: the privacy check of the file before
// and of the file it became, read apart from the change itself.
struct PrivacyStripReport {
    QString profileName;
    // The classes the profile removes, less those it keeps.
    QList<PrivacyClass> checkedClasses;
    PrivacyFindings before;
    PrivacyFindings after;
    // The keys of the checked classes that still hold something: what this
    // file type would not give up.
    QStringList left;
    // Serial numbers and other tags this file type keeps, set to an empty
    // or zero value instead (a raw file's maker notes cannot go).
    QStringList blanked;
    // For a profile that removes everything: the tags of no checked class
    // the file type kept all the same (a raw file's camera settings).
    QStringList otherLeft;
    // The tags of the keep list the file still holds.
    QStringList kept;
    // ExifTool's warnings of the strip, without the file name.
    QStringList warnings;

    // Nothing of what the profile removes is left.
    bool isClean() const { return left.isEmpty() && otherLeft.isEmpty(); }
    // The keys left of one class.
    QStringList leftOf(PrivacyClass privacyClass) const;

    bool operator==(const PrivacyStripReport &) const = default;
};

} // namespace Metaloom
