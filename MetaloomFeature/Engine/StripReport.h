#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QList>
#include <QStringList>

namespace Metaloom {

// What stripping every tag did to a file, from reading the file before and
// ExifTool's new file after (before it replaced the original). ExifTool
// removes what each format lets it remove and keeps the rest without a
// word: a CR2 keeps all of its camera tags, a PDF its embedded IPTC.
struct StripReport {
    // Keys the file held that the stripped file does not, in the order read.
    QStringList removed;
    // The tags still there, leaving out the groups every file has (File,
    // Composite, System, ExifTool) and the format's own structure (image
    // size, bit depth, compression, where the image data lies, a movie's
    // tracks and time scales), in the order read.
    QList<MetadataEntry> remaining;
    // ExifTool's warnings of the strip ("ExifTool PDF edits are
    // reversible. Deleted tags may be recovered!"), without the file name.
    QStringList warnings;
    // Every tag the file held before and holds after, as a read of it gives
    // them (hidden groups dropped), so that a caller checking the file
    // further need not read it again.
    QList<MetadataEntry> entriesBefore;
    QList<MetadataEntry> entriesAfter;

    // Nothing but what every file of its kind holds is left.
    bool isComplete() const { return remaining.isEmpty(); }

    bool operator==(const StripReport &) const = default;

    // The report from the entries read before and after (read with hidden
    // groups kept, since a hidden group's tags are still in the file).
    static StripReport compare(const QList<MetadataEntry> &before,
                               const QList<MetadataEntry> &after, QStringList warnings = {});

    // Whether a key belongs to a group every file has or to the format's
    // own structure, so a strip is not expected to remove it.
    static bool isLeftOut(const QString &key);

    // The keys in the order a message names them: first those that identify
    // a person (owner, artist, creator and copyright names), then a camera
    // (make, model, serial numbers), then a place (GPS, city, location),
    // then dates, then the rest; otherwise in their order.
    static QStringList identifyingFirst(const QStringList &keys);
    // Likewise for entries, where a tag holding nothing identifies nothing.
    static QList<MetadataEntry> identifyingFirst(const QList<MetadataEntry> &entries);
};

} // namespace Metaloom
