#include "DatePlan.h"

#include "DateTagRoles.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

namespace Metaloom::DatePlanning {

namespace {

using Kind = DateTagRole::Kind;

constexpr qint64 agreementSeconds = 60;

struct Tag {
    QString key;
    QString text;
    DateTagRole role;
};

// The file's date tags in the order of their roles; tags of no role dropped.
QList<Tag> tagsOf(const DateValues &values)
{
    QList<Tag> tags;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (const std::optional<DateTagRole> role = DateTagRoles::of(it.key()))
            tags.append({it.key(), it.value(), *role});
    }
    std::stable_sort(tags.begin(), tags.end(),
                     [](const Tag &a, const Tag &b) { return a.role.rank < b.role.rank; });
    return tags;
}

bool isCaptureValue(const DateTagRole &role)
{
    return role.family == DateFamily::capture &&
           (role.kind == Kind::exif || role.kind == Kind::zoneInValue ||
            role.kind == Kind::iptcDate || role.kind == Kind::quickTime);
}

// IPTC keeps the date and the time (with its zone) apart; together they are
// one date.
std::optional<ExifDateTime> iptcDate(const DateValues &values)
{
    const QString date = values.value(QStringLiteral("IPTC:DateCreated"));
    const QString time = values.value(QStringLiteral("IPTC:TimeCreated"));
    if (std::optional<ExifDateTime> both = ExifDateTime::parse(date + QLatin1Char(' ') + time))
        return both;
    return ExifDateTime::parse(date);
}

std::optional<ExifDateTime> valueOf(const Tag &tag, const DateValues &values)
{
    if (tag.role.kind == Kind::iptcDate)
        return iptcDate(values);
    std::optional<ExifDateTime> value = ExifDateTime::parse(tag.text);
    if (value && tag.role.kind == Kind::exif && !value->zoneMinutes)
        value->zoneMinutes = DateZone::parse(values.value(tag.role.offsetKey));
    return value;
}

class Planner {
public:
    Planner(const DateValues &values, const DateOptions &options)
        : m_values(values), m_options(options), m_capture(captureDate(values))
    {
        // A zone typed with the date to set is the zone to set.
        if (m_options.mode == DateOptions::Mode::set && m_options.setTo.zoneMinutes &&
            m_options.zone == DateOptions::Zone::keep) {
            m_options.zone = DateOptions::Zone::set;
            m_options.zoneMinutes = *m_options.setTo.zoneMinutes;
        }
        m_options.setTo.zoneMinutes.reset();
        m_options.setTo.zoneIsZ = false;
    }

    DatePlan run()
    {
        m_plan.quickTimeUtc = m_options.quickTimeUtc;
        m_plan.captureDate = m_capture;
        for (const Tag &tag : tagsOf(m_values)) {
            if (chosen(tag.role.family))
                planTag(tag);
        }
        warn();
        return m_plan;
    }

private:
    bool chosen(DateFamily family) const
    {
        switch (family) {
        case DateFamily::capture:
            return m_options.captureDates;
        case DateFamily::modification:
            return m_options.modificationDates;
        case DateFamily::file:
            return m_options.fileDate;
        }
        return false;
    }

    void change(const QString &key, const QString &before, const QString &after)
    {
        if (before != after)
            m_plan.changes.append({key, before, after});
    }

    // The clock moved or set; the zone left to zoned().
    ExifDateTime moved(const ExifDateTime &value) const
    {
        if (m_options.mode == DateOptions::Mode::shift) {
            const bool sameDay = m_capture && m_capture->time && m_capture->date == value.date;
            return value.shifted(m_options.shift.seconds,
                                 sameDay ? *m_capture->time : QTime(12, 0));
        }
        ExifDateTime set = m_options.setTo;
        if (!value.hasTime()) {
            set.time.reset();
            set.subSeconds.clear();
        }
        set.zoneMinutes = value.zoneMinutes;
        set.zoneIsZ = value.zoneIsZ;
        return set;
    }

    std::optional<int> zoneFor(std::optional<int> current) const
    {
        switch (m_options.zone) {
        case DateOptions::Zone::keep:
            return current;
        case DateOptions::Zone::set:
            return m_options.zoneMinutes;
        case DateOptions::Zone::shift:
            if (current)
                return *current + m_options.zoneMinutes;
            return current;
        }
        return current;
    }

    ExifDateTime zoned(const ExifDateTime &value) const
    {
        return value.hasTime() ? value.withZone(zoneFor(value.zoneMinutes)) : value;
    }

    void planTag(const Tag &tag)
    {
        const std::optional<ExifDateTime> value = valueOf(tag, m_values);
        switch (tag.role.kind) {
        case Kind::exif:
            if (value)
                planExif(tag, *value);
            break;
        case Kind::zoneInValue:
            if (value)
                change(tag.key, tag.text, zoned(moved(*value)).text());
            break;
        case Kind::quickTime:
            if (value)
                change(tag.key, tag.text, quickTimeAfter(*value).text());
            break;
        case Kind::fileSystem:
            // The zone is the computer's way of showing the date, not part
            // of it: a date set is given without, as the computer's local
            // time, which may have another offset on that day.
            if (value) {
                const ExifDateTime after = moved(*value);
                change(tag.key, tag.text,
                       (m_options.mode == DateOptions::Mode::set ? after.withZone(std::nullopt)
                                                                 : after)
                           .text());
            }
            break;
        case Kind::iptcDate:
            if (value)
                planIptc(*value);
            break;
        case Kind::iptcTime: // planned with its date
        case Kind::subSeconds:
        case Kind::offset:
            break; // planned with their EXIF date
        }
    }

    // Read as UTC, QuickTime's dates are moments shown in the computer's
    // zone. Kept zones leave them so (a date set is given without zone, for
    // ExifTool to take as the computer's local time). A zone set or moved
    // moves the moment as it does a photo's: the clock the camera showed
    // stays, in the zone the file names for its capture or else the
    // computer's, and ExifTool turns clock and new zone into UTC. Stored as
    // local time, the dates have no zone to correct.
    ExifDateTime quickTimeAfter(const ExifDateTime &value) const
    {
        ExifDateTime after = moved(value);
        if (!m_options.quickTimeUtc)
            return after;
        if (m_options.zone == DateOptions::Zone::keep || !value.hasTime() || !value.zoneMinutes) {
            if (m_options.mode == DateOptions::Mode::set)
                after = after.withZone(std::nullopt);
            return after;
        }
        const int shown = *value.zoneMinutes;
        const int camera = m_capture && m_capture->zoneMinutes ? *m_capture->zoneMinutes : shown;
        if (m_options.mode == DateOptions::Mode::shift)
            after = after.shifted(qint64(camera - shown) * 60);
        return after.withZone(zoneFor(camera));
    }

    void planExif(const Tag &tag, const ExifDateTime &value)
    {
        ExifDateTime after = moved(value);
        // The clock and its sub-seconds without zone; the zone in its own tag.
        const QString subSeconds = after.subSeconds;
        const std::optional<int> zone = zoneFor(value.zoneMinutes);
        after.subSeconds.clear();
        change(tag.key, tag.text, after.withZone(std::nullopt).text());
        const QString subSecondsBefore = m_values.value(tag.role.subSecondsKey);
        if (m_options.mode == DateOptions::Mode::set)
            change(tag.role.subSecondsKey, subSecondsBefore, subSeconds);
        const QString offsetBefore = m_values.value(tag.role.offsetKey);
        if (zone != value.zoneMinutes)
            change(tag.role.offsetKey, offsetBefore, zone ? DateZone::text(*zone) : QString());
    }

    void planIptc(const ExifDateTime &value)
    {
        const QString dateKey = QStringLiteral("IPTC:DateCreated");
        const QString timeKey = QStringLiteral("IPTC:TimeCreated");
        const ExifDateTime after = zoned(moved(value));
        change(dateKey, m_values.value(dateKey), after.date.toString(QStringLiteral("yyyy:MM:dd")));
        if (!value.hasTime())
            return;
        ExifDateTime time = after;
        time.subSeconds.clear();
        change(timeKey, m_values.value(timeKey), time.text().section(QLatin1Char(' '), 1));
    }

    // Two dates that both name their zone are compared as moments (a
    // video's UTC date shown in the computer's zone beside the camera's own
    // zoned date); otherwise as the clocks read.
    static qint64 apart(const ExifDateTime &a, const ExifDateTime &b)
    {
        const qint64 clocks = a.secondsTo(b);
        if (a.zoneMinutes && b.zoneMinutes)
            return clocks - qint64(*b.zoneMinutes - *a.zoneMinutes) * 60;
        return clocks;
    }

    void warn()
    {
        QList<ExifDateTime> clocks;
        bool anyCaptureDate = false;
        for (const Tag &tag : tagsOf(m_values)) {
            if (!isCaptureValue(tag.role))
                continue;
            if (const std::optional<ExifDateTime> value = valueOf(tag, m_values)) {
                anyCaptureDate = true;
                if (value->hasTime())
                    clocks.append(*value);
            }
        }
        if (!anyCaptureDate)
            m_plan.warnings.append(DateWarning::noCaptureDate);
        for (const ExifDateTime &clock : std::as_const(clocks)) {
            if (std::abs(apart(clocks.first(), clock)) > agreementSeconds) {
                m_plan.warnings.append(DateWarning::datesDisagree);
                break;
            }
        }
    }

    const DateValues &m_values;
    DateOptions m_options;
    std::optional<ExifDateTime> m_capture;
    DatePlan m_plan;
};

} // namespace

DatePlan plan(const DateValues &values, const DateOptions &options)
{
    return Planner(values, options).run();
}

std::optional<ExifDateTime> captureDate(const DateValues &values)
{
    for (const Tag &tag : tagsOf(values)) {
        if (!isCaptureValue(tag.role))
            continue;
        const std::optional<ExifDateTime> value = valueOf(tag, values);
        if (value && value->hasTime())
            return value;
    }
    return std::nullopt;
}

DatePlan fileDateFromCapture(const DateValues &values)
{
    DatePlan result;
    const std::optional<ExifDateTime> capture = captureDate(values);
    result.captureDate = capture;
    if (!capture) {
        result.warnings.append(DateWarning::noCaptureDate);
        return result;
    }
    ExifDateTime date = *capture;
    date.subSeconds.clear();
    const QString key = QStringLiteral("System:FileModifyDate");
    const QString before = values.value(key);
    // A file date that already shows this clock time in this zone stays.
    const std::optional<ExifDateTime> current = ExifDateTime::parse(before);
    const bool same = current && current->secondsTo(date) == 0 &&
                      (!date.zoneMinutes || current->zoneMinutes == date.zoneMinutes);
    if (!same)
        result.changes.append({key, before, date.text()});
    return result;
}

std::optional<bool> quickTimeStoredAsUtc(const DateValues &valuesReadAsStored)
{
    const std::optional<ExifDateTime> stored =
        ExifDateTime::parse(valuesReadAsStored.value(QStringLiteral("QuickTime:CreateDate")));
    if (!stored || !stored->hasTime())
        return std::nullopt;
    for (const Tag &tag : tagsOf(valuesReadAsStored)) {
        if (!isCaptureValue(tag.role) || tag.role.kind == Kind::quickTime)
            continue;
        const std::optional<ExifDateTime> local = valueOf(tag, valuesReadAsStored);
        if (!local || !local->hasTime() || !local->zoneMinutes)
            continue;
        const ExifDateTime utc = local->shifted(-qint64(*local->zoneMinutes) * 60);
        if (std::abs(stored->secondsTo(utc)) <= agreementSeconds)
            return true;
        if (std::abs(stored->secondsTo(*local)) <= agreementSeconds)
            return false;
    }
    return std::nullopt;
}

QString warningText(DateWarning warning)
{
    switch (warning) {
    case DateWarning::noCaptureDate:
        return QCoreApplication::translate("DatePlanning", "This file has no capture date.");
    case DateWarning::datesDisagree:
        return QCoreApplication::translate(
            "DatePlanning", "The capture dates of this file differ by more than a minute.");
    }
    return {};
}

} // namespace Metaloom::DatePlanning
