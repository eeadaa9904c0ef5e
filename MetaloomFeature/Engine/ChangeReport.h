#pragma once

#include <QStringList>

namespace Metaloom {

// What a change of a file did not do although ExifTool reported success.
// ExifTool silently skips a tag that the file's format has no place for when
// other tags of the same command are written, so the new file is read back
// before it replaces the original and the missing tags are named here.
struct ChangeReport {
    // Keys the change set to a value that the new file does not hold.
    QStringList tagsNotWritten;
    // Keys the change deleted that the new file still holds.
    QStringList tagsNotRemoved;

    bool isComplete() const { return tagsNotWritten.isEmpty() && tagsNotRemoved.isEmpty(); }
    bool operator==(const ChangeReport &) const = default;
};

} // namespace Metaloom
