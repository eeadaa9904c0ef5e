#include "TagChange.h"

#include "Console.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include <QCoreApplication>

namespace Metaloom::Cli::TagChange {

namespace {

// A value as a report line shows it: quoted, escaped, and cut short.
QString quoted(const QStringList &items)
{
    QStringList shown;
    for (const QString &item : items) {
        QString text = printable(item);
        if (text.size() > 60)
            text = text.left(59) + QChar(0x2026);
        shown << QCoreApplication::translate("Cli", "“%1”", "a value, quoted").arg(text);
    }
    return shown.join(QStringLiteral(", "));
}

std::optional<QString> keyMistake(const QString &key)
{
    if (const std::optional<QString> reason = ExifToolService::keyRefusalReason(key))
        return QCoreApplication::translate("Cli", "cannot use the tag key '%1': %2")
            .arg(key, *reason);
    return std::nullopt;
}

qsizetype indexOfKey(const QList<TagAssignment> &assignments, const QString &key)
{
    for (qsizetype i = 0; i < assignments.size(); ++i) {
        if (assignments.at(i).key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

std::variant<QList<TagAssignment>, QString> fromOptions(const QStringList &tags,
                                                        const QStringList &removals)
{
    QList<TagAssignment> assignments;
    for (const QString &tag : tags) {
        const qsizetype equals = tag.indexOf(QLatin1Char('='));
        if (equals < 0)
            return QCoreApplication::translate("Cli",
                                               "'--tag %1' has no '=': write --tag KEY=VALUE")
                .arg(tag);
        const QString key = tag.left(equals);
        const QString value = tag.mid(equals + 1);
        if (const std::optional<QString> mistake = keyMistake(key))
            return *mistake;
        if (value.isEmpty())
            return QCoreApplication::translate(
                       "Cli", "'--tag %1' gives no value; to delete the tag, write --remove %2")
                .arg(tag, key);
        if (const std::optional<QString> reason = ExifToolService::valueRefusalReason(key, value))
            return QCoreApplication::translate("Cli", "cannot use the value of %1: %2")
                .arg(key, *reason);
        const qsizetype known = indexOfKey(assignments, key);
        if (known >= 0)
            assignments[known].values << value;
        else
            assignments.append({key, {value}});
    }
    for (const QString &key : removals) {
        if (const std::optional<QString> mistake = keyMistake(key))
            return *mistake;
        const qsizetype known = indexOfKey(assignments, key);
        if (known >= 0 && !assignments.at(known).deletes())
            return QCoreApplication::translate(
                       "Cli", "%1 is both set and removed; give either --tag or --remove")
                .arg(key);
        if (known < 0)
            assignments.append({key, {}});
    }
    if (assignments.isEmpty())
        return QCoreApplication::translate(
            "Cli", "'set' needs at least one --tag KEY=VALUE or --remove KEY");
    return assignments;
}

QList<TagAssignment> fromPreset(const Preset &preset)
{
    QList<TagAssignment> assignments;
    for (const QString &key : preset.action.removals)
        assignments.append({key, {}});
    for (auto it = preset.action.overrides.cbegin(); it != preset.action.overrides.cend(); ++it) {
        // An empty item carries nothing; a value of none deletes the tag.
        QStringList items = it.value();
        items.removeAll(QString());
        assignments.append({it.key(), items});
    }
    return assignments;
}

FileReport changed(const QString &file, const ChangeReport &result)
{
    FileReport report;
    report.file = file;
    report.notWritten = result.tagsNotWritten;
    report.notRemoved = result.tagsNotRemoved;
    // The engine's sentence for every tag not stored as asked, a value
    // stored in ExifTool's normal form (2.80 as 2.8) included.
    QStringList reasons;
    for (const TagOutcome &outcome : result.outcomes)
        reasons << outcome.reason;
    if (!result.isComplete())
        report.outcome = FileReport::Outcome::incomplete;
    const QString shown = printable(file);
    if (reasons.isEmpty())
        report.line = result.isComplete()
                          ? QCoreApplication::translate("Cli", "%1: changed").arg(shown)
                          : QCoreApplication::translate("Cli", "%1: changed in part").arg(shown);
    else
        report.line =
            (result.isComplete() ? QCoreApplication::translate("Cli", "%1: changed. %2")
                                 : QCoreApplication::translate("Cli", "%1: changed in part. %2"))
                .arg(shown, printable(reasons.join(u' ')));
    return report;
}

FileReport compared(const QString &file, const QList<TagAssignment> &assignments,
                    const StoredTags &stored)
{
    FileReport report;
    report.file = file;
    QStringList changes;
    for (const TagAssignment &assignment : assignments) {
        const QList<StoredTag> found = stored.value(assignment.key);
        if (assignment.deletes()) {
            if (found.isEmpty())
                continue;
            report.notRemoved << assignment.key;
            changes << QCoreApplication::translate("Cli", "would remove %1").arg(assignment.key);
            continue;
        }
        // Every tag the key names must hold the value already.
        const auto differing =
            std::find_if(found.cbegin(), found.cend(),
                         [&](const StoredTag &tag) { return tag.items != assignment.values; });
        if (!found.isEmpty() && differing == found.cend())
            continue;
        report.notWritten << assignment.key;
        if (differing != found.cend())
            changes << QCoreApplication::translate("Cli", "would set %1 to %2 (now %3)")
                           .arg(assignment.key, quoted(assignment.values),
                                quoted(differing->items));
        else
            changes << QCoreApplication::translate("Cli", "would set %1 to %2")
                           .arg(assignment.key, quoted(assignment.values));
    }
    if (changes.isEmpty()) {
        report.line =
            QCoreApplication::translate("Cli", "%1: already as asked, nothing would change")
                .arg(printable(file));
        return report;
    }
    report.outcome = FileReport::Outcome::incomplete;
    report.line = printable(file) + QStringLiteral(": ") + changes.join(QStringLiteral(", "));
    return report;
}

QCoro::Task<FileReport> apply(Operations *files, FileOperands::File file,
                              QList<TagAssignment> assignments, bool dryRun)
{
    if (dryRun) {
        QStringList keys;
        for (const TagAssignment &assignment : assignments)
            keys << assignment.key;
        const StoredTags stored = co_await files->stored(file.url, keys);
        co_return compared(file.shownPath, assignments, stored);
    }
    const ChangeReport result = co_await files->change(file.url, assignments);
    co_return changed(file.shownPath, result);
}

SummaryWords words(bool dryRun)
{
    using Outcome = FileReport::Outcome;
    if (dryRun)
        return {{{Outcome::incomplete, QCoreApplication::translate("Cli", "would change")},
                 {Outcome::complete, QCoreApplication::translate("Cli", "already as asked")},
                 {Outcome::failed, QCoreApplication::translate("Cli", "failed")}}};
    return {{{Outcome::complete, QCoreApplication::translate("Cli", "changed")},
             {Outcome::incomplete, QCoreApplication::translate("Cli", "changed in part")},
             {Outcome::unchanged, QCoreApplication::translate("Cli", "already as asked")},
             {Outcome::failed, QCoreApplication::translate("Cli", "failed")}}};
}

} // namespace Metaloom::Cli::TagChange
