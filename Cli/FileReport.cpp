#include "FileReport.h"

#include "Console.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Metaloom::Cli {

namespace {

// Qt writes only arrays and objects; a value is written inside an array
// and taken out of it again.
QString jsonValue(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString jsonArray(const QStringList &items)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(items)).toJson(QJsonDocument::Compact));
}

QString member(const char *name, const QString &value)
{
    return u'"' + QLatin1String(name) + QStringLiteral("\":") + value;
}

QString fileName(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), path.size() - 2);
    return path.mid(slash + 1);
}

} // namespace

FileReport FileReport::failure(const QString &file, const QString &error)
{
    FileReport report;
    report.file = file;
    report.outcome = Outcome::failed;
    report.error = error;
    report.line = printable(file) + QStringLiteral(": ") + error;
    return report;
}

QString jsonLine(const FileReport &report, bool withRemaining)
{
    QStringList members{
        member("file", jsonValue(report.file)),
        member("ok", report.ok() ? QStringLiteral("true") : QStringLiteral("false")),
        member("complete", report.complete() ? QStringLiteral("true") : QStringLiteral("false")),
        member("error", report.ok() ? QStringLiteral("null") : jsonValue(report.error)),
        member("notWritten", jsonArray(report.notWritten)),
        member("notRemoved", jsonArray(report.notRemoved)),
    };
    if (withRemaining)
        members << member("remaining",
                          report.remaining ? jsonArray(*report.remaining) : QStringLiteral("null"));
    if (report.dates) {
        QJsonObject before;
        QJsonObject after;
        for (const auto &[key, change] : *report.dates) {
            if (!change.first.isEmpty())
                before.insert(key, change.first);
            if (!change.second.isEmpty())
                after.insert(key, change.second);
        }
        members << member("before",
                          QString::fromUtf8(QJsonDocument(before).toJson(QJsonDocument::Compact)))
                << member("after",
                          QString::fromUtf8(QJsonDocument(after).toJson(QJsonDocument::Compact)));
    }
    return u'{' + members.join(u',') + u'}';
}

QString summary(const QList<FileReport> &reports, const SummaryWords &words)
{
    QStringList parts;
    for (const auto &[outcome, label] : words.labels) {
        const qsizetype count = std::count_if(
            reports.cbegin(), reports.cend(),
            [outcome = outcome](const FileReport &r) { return r.outcome == outcome; });
        if (count == 0)
            continue;
        // The first count names what it counts: "3 files changed, 1 failed".
        if (!parts.isEmpty())
            parts << QStringLiteral("%1 %2").arg(QString::number(count), label);
        else if (count == 1)
            parts << QCoreApplication::translate("Cli", "1 file %1").arg(label);
        else
            parts << QCoreApplication::translate("Cli", "%1 files %2")
                         .arg(QString::number(count), label);
    }
    if (parts.isEmpty())
        return QCoreApplication::translate("Cli", "No files");
    return parts.join(QStringLiteral(", "));
}

QString progressLine(qsizetype done, qsizetype total, const QString &shownPath, int columns)
{
    QString line = QStringLiteral("%1/%2 ").arg(done).arg(total) + printable(fileName(shownPath));
    // The last column stays free: a terminal that wraps at the margin
    // would move the cursor to the next line.
    if (columns > 1 && line.size() > columns - 1)
        line = line.left(columns - 2) + QChar(0x2026);
    return line;
}

} // namespace Metaloom::Cli
