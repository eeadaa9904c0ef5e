#pragma once

#include "ExifDateTime.h"

#include <QString>

#include <optional>

namespace Metaloom {

// A signed amount by which dates are moved on the clock.
struct DateShift {
    qint64 seconds = 0;

    static DateShift of(qint64 days, qint64 hours, qint64 minutes, qint64 seconds)
    {
        return {((days * 24 + hours) * 60 + minutes) * 60 + seconds};
    }
    // "[+-][D ]HH:MM[:SS]": "+1:00", "-0:30", "+1 02:00:00", "2 0:00". The
    // sign covers the whole amount; minutes and seconds stay under 60.
    static std::optional<DateShift> parse(const QString &text);
    // The shift that takes the clock a photo shows to the true time of that
    // moment (a photo of a clock, and the time the clock showed).
    static DateShift between(const ExifDateTime &recorded, const ExifDateTime &trueTime)
    {
        return {recorded.secondsTo(trueTime)};
    }

    // "+1 02:00:00", "-00:30:00", "+00:00:00": the form parse() takes.
    QString text() const;

    bool operator==(const DateShift &) const = default;
};

} // namespace Metaloom
