#pragma once

#include "DateShift.h"
#include "ExifDateTime.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace Metaloom {

// The date tags one file holds, by family-1 key ("ExifIFD:DateTimeOriginal",
// "Track1:TrackCreateDate", "System:FileModifyDate"), as ExifTool printed
// them.
using DateValues = QMap<QString, QString>;

// What the user asked of the dates.
struct DateOptions {
    enum class Mode { shift, set };
    enum class Zone { keep, set, shift };

    Mode mode = Mode::shift;
    DateShift shift;    // for Mode::shift
    ExifDateTime setTo; // for Mode::set; a zone given here sets the zone too
    bool captureDates = true;
    bool modificationDates = false;
    bool fileDate = false;
    // The zone written with the dates (the offset tags, the zone of an XMP
    // date): kept, set to `zoneMinutes`, or moved by it. The clock times
    // stay: this corrects what the zone says, not when the photo was taken.
    Zone zone = Zone::keep;
    int zoneMinutes = 0;
    // Whether QuickTime's dates are read and written as UTC (ExifTool's
    // QuickTimeUTC option) rather than as the local time many cameras
    // store in them. The values planned from must have been read the same
    // way.
    bool quickTimeUtc = false;

    bool operator==(const DateOptions &) const = default;
};

// One tag before and after. An empty `before`: the tag is added; an empty
// `after`: it is removed.
struct DateChange {
    QString key;
    QString before;
    QString after;
    bool operator==(const DateChange &) const = default;
};

enum class DateWarning {
    noCaptureDate,
    // Capture dates of the file more than a minute apart on the clock.
    datesDisagree
};

// Everything that would change in one file, in a stable order (capture
// dates first, each with its sub-seconds and offset), and what the user
// should know before.
struct DatePlan {
    QList<DateChange> changes;
    QList<DateWarning> warnings;
    bool quickTimeUtc = false;
    // The file's capture date before the change (captureDate()): what a
    // photo of a clock recorded.
    std::optional<ExifDateTime> captureDate;
    bool operator==(const DatePlan &) const = default;
};

namespace DatePlanning {

DatePlan plan(const DateValues &values, const DateOptions &options);

// The file's modification date set to its capture date (with the capture
// date's zone where the file names it, otherwise the computer's).
DatePlan fileDateFromCapture(const DateValues &values);

// The date the photo or video was taken, as the user thinks of it: the
// first capture date with a time, in the order cameras are trusted (EXIF,
// XMP, IPTC, Apple's keys, QuickTime), with its EXIF offset as its zone.
std::optional<ExifDateTime> captureDate(const DateValues &values);

// Whether a video's QuickTime dates are UTC, from values read without
// QuickTimeUTC: told by a capture date of the same file that names its
// zone. Nothing when the file does not say.
std::optional<bool> quickTimeStoredAsUtc(const DateValues &valuesReadAsStored);

// The sentence for a warning.
QString warningText(DateWarning warning);

} // namespace DatePlanning

} // namespace Metaloom
