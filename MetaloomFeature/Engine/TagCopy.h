#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace Metaloom {

// What a copy of metadata from one file to another takes: every tag ExifTool
// can write, or one family of tags that belong together for the user.
enum class CopyFamily {
    everything,
    descriptionAndKeywords,
    creatorAndRights,
    location,
    dates,
    cameraSettings
};

// One tag a copy would change in a target: what it holds now (nothing when
// it does not hold the tag) and what the source gives it.
struct CopyDifference {
    QString key; // family-1 group and tag name ("XMP-dc:Subject")
    QStringList before;
    QStringList after;
    bool operator==(const CopyDifference &) const = default;
};

// The tags a copy would change in one target, in the order of the source's
// tags; none when the target already holds what the source has.
struct CopyPreview {
    QUrl target;
    QList<CopyDifference> differences;
    bool operator==(const CopyPreview &) const = default;
};

} // namespace Metaloom
