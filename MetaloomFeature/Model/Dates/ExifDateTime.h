#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

namespace Metaloom {

// A date as ExifTool prints the date tags of every format: "YYYY:MM:DD",
// or with a time "YYYY:MM:DD HH:MM:SS", optionally with sub-seconds
// (".25") and a time zone ("+02:00", "-05:30" or "Z"). The clock time is
// kept as written: nothing is converted to another zone, because most
// photo dates say nothing of their zone and the user means the clock the
// camera showed.
struct ExifDateTime {
    QDate date;
    std::optional<QTime> time;      // none: a date alone (IPTC, XMP-photoshop)
    QString subSeconds;             // the digits after the point, as written
    std::optional<int> zoneMinutes; // east of UTC; none: no zone written
    bool zoneIsZ = false;           // written as "Z" rather than "+00:00"

    // Nothing for a text that is no valid date ("0000:00:00 00:00:00", "").
    static std::optional<ExifDateTime> parse(const QString &text);
    QString text() const;

    bool hasTime() const { return time.has_value(); }
    // The date moved by a number of seconds on the clock (no daylight
    // saving, no zone: the clock itself is moved). A date alone moves as if
    // it were taken at `anchor`, which should be the time of the capture
    // date the date belongs to, so that it follows that date over midnight.
    ExifDateTime shifted(qint64 seconds, QTime anchor = QTime(12, 0)) const;
    // Seconds from this clock time to the other, zones ignored; both must
    // have a time.
    qint64 secondsTo(const ExifDateTime &other) const;
    // The same date and time with another zone, or none.
    ExifDateTime withZone(std::optional<int> minutes) const;

    bool operator==(const ExifDateTime &) const = default;
};

namespace DateZone {

// "+02:00", "-05:30", "Z" (0) or "+0200"; nothing for anything else.
std::optional<int> parse(const QString &text);
// "+02:00", "-05:30", "+00:00".
QString text(int minutes);

} // namespace DateZone

} // namespace Metaloom
