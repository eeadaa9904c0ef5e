#include "DateShift.h"

#include <QRegularExpression>

namespace Metaloom {

std::optional<DateShift> DateShift::parse(const QString &text)
{
    static const QRegularExpression shape(
        QStringLiteral("^([+-])?(?:(\\d{1,5}) +)?(\\d{1,4}):(\\d\\d)(?::(\\d\\d))?$"));
    const QRegularExpressionMatch match = shape.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 minutes = match.captured(4).toLongLong();
    const qint64 seconds = match.captured(5).toLongLong();
    if (minutes >= 60 || seconds >= 60)
        return std::nullopt;
    const DateShift amount =
        of(match.captured(2).toLongLong(), match.captured(3).toLongLong(), minutes, seconds);
    return match.captured(1) == QLatin1String("-") ? DateShift{-amount.seconds} : amount;
}

QString DateShift::text() const
{
    const qint64 magnitude = seconds < 0 ? -seconds : seconds;
    const qint64 days = magnitude / 86400;
    const qint64 rest = magnitude % 86400;
    QString result(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'));
    if (days > 0)
        result += QString::number(days) + QLatin1Char(' ');
    return result + QStringLiteral("%1:%2:%3")
                        .arg(rest / 3600, 2, 10, QLatin1Char('0'))
                        .arg(rest / 60 % 60, 2, 10, QLatin1Char('0'))
                        .arg(rest % 60, 2, 10, QLatin1Char('0'));
}

} // namespace Metaloom
