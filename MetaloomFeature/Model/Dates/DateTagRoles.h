#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Metaloom {

// The families of dates the user moves together.
enum class DateFamily { capture, modification, file };

// What one date tag is to a change of dates, by its family-1 key
// ("ExifIFD:DateTimeOriginal", "Track2:MediaCreateDate").
struct DateTagRole {
    enum class Kind {
        // EXIF: a clock time without zone; its sub-seconds and its offset
        // are tags of their own (the companion keys below).
        exif,
        // XMP and Apple's QuickTime keys: sub-seconds and zone written in
        // the value itself; XMP may hold a date alone.
        zoneInValue,
        // IPTC's date, and its time with the zone, in two tags.
        iptcDate,
        iptcTime,
        // QuickTime's own dates: UTC by the format, local time by many
        // cameras; how they are read depends on ExifTool's QuickTimeUTC.
        quickTime,
        // The file system's modification date.
        fileSystem,
        // An EXIF date's companions.
        subSeconds,
        offset
    };
    Kind kind = Kind::exif;
    DateFamily family = DateFamily::capture;
    // For an EXIF date: its companions. For a companion: its date.
    QString subSecondsKey;
    QString offsetKey;
    QString dateKey;
    // Where the tag stands among the others, for a stable order of rows.
    int rank = 0;
};

namespace DateTagRoles {

// Nothing for a key that is no date tag the changes of dates touch.
std::optional<DateTagRole> of(const QString &key);

// The keys to read so that every tag above is found (QuickTime's track and
// media dates in each track).
QStringList keysToRead();

} // namespace DateTagRoles

} // namespace Metaloom
