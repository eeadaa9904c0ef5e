#include "ExifDateTime.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>

namespace Metaloom {

namespace {

// Offsets beyond a day do not exist on this planet; beyond that a text is
// no zone but a typing error.
constexpr int maximumZoneMinutes = 18 * 60;

QDateTime onTheClock(QDate date, QTime time)
{
    return QDateTime(date, time, QTimeZone::utc());
}

} // namespace

std::optional<int> DateZone::parse(const QString &text)
{
    if (text == QLatin1String("Z"))
        return 0;
    static const QRegularExpression zone(QStringLiteral("^([+-])(\\d\\d):?(\\d\\d)$"));
    const QRegularExpressionMatch match = zone.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int hours = match.captured(2).toInt();
    const int minutes = match.captured(3).toInt();
    if (minutes >= 60)
        return std::nullopt;
    const int total = hours * 60 + minutes;
    if (total > maximumZoneMinutes)
        return std::nullopt;
    return match.captured(1) == QLatin1String("-") ? -total : total;
}

QString DateZone::text(int minutes)
{
    const QChar sign = minutes < 0 ? QLatin1Char('-') : QLatin1Char('+');
    const int magnitude = minutes < 0 ? -minutes : minutes;
    return QStringLiteral("%1%2:%3")
        .arg(sign)
        .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
        .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

std::optional<ExifDateTime> ExifDateTime::parse(const QString &text)
{
    // ExifTool prints colons between the parts of a date in every format;
    // XMP may leave out the seconds.
    static const QRegularExpression shape(
        QStringLiteral("^(\\d{4}):(\\d\\d):(\\d\\d)"
                       "(?:[ T](\\d\\d):(\\d\\d)(?::(\\d\\d))?(?:\\.(\\d+))?)?"
                       "(Z|[+-]\\d\\d:?\\d\\d)?$"));
    const QRegularExpressionMatch match = shape.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    ExifDateTime value;
    value.date =
        QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!value.date.isValid())
        return std::nullopt;
    if (match.hasCaptured(4)) {
        const QTime time(match.captured(4).toInt(), match.captured(5).toInt(),
                         match.captured(6).toInt());
        if (!time.isValid())
            return std::nullopt;
        value.time = time;
        value.subSeconds = match.captured(7);
    }
    if (match.hasCaptured(8)) {
        // A zone belongs to a time; "2020:01:01+02:00" is not a date ExifTool prints.
        if (!value.time)
            return std::nullopt;
        value.zoneMinutes = DateZone::parse(match.captured(8));
        if (!value.zoneMinutes)
            return std::nullopt;
        value.zoneIsZ = match.captured(8) == QLatin1String("Z");
    }
    return value;
}

QString ExifDateTime::text() const
{
    QString result = date.toString(QStringLiteral("yyyy:MM:dd"));
    if (!time)
        return result;
    result += QLatin1Char(' ') + time->toString(QStringLiteral("HH:mm:ss"));
    if (!subSeconds.isEmpty())
        result += QLatin1Char('.') + subSeconds;
    if (zoneMinutes)
        result += zoneIsZ && *zoneMinutes == 0 ? QStringLiteral("Z") : DateZone::text(*zoneMinutes);
    return result;
}

ExifDateTime ExifDateTime::shifted(qint64 seconds, QTime anchor) const
{
    ExifDateTime moved = *this;
    const QDateTime clock = onTheClock(date, time.value_or(anchor)).addSecs(seconds);
    moved.date = clock.date();
    if (time)
        moved.time = clock.time();
    return moved;
}

qint64 ExifDateTime::secondsTo(const ExifDateTime &other) const
{
    return onTheClock(date, time.value_or(QTime(0, 0)))
        .secsTo(onTheClock(other.date, other.time.value_or(QTime(0, 0))));
}

ExifDateTime ExifDateTime::withZone(std::optional<int> minutes) const
{
    ExifDateTime changed = *this;
    changed.zoneMinutes = minutes;
    changed.zoneIsZ = zoneIsZ && minutes == 0;
    return changed;
}

} // namespace Metaloom
