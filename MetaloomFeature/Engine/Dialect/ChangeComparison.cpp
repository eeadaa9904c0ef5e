#include "ChangeComparison.h"

#include "MetaloomFeature/Model/Dates/ExifDateTime.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <QCoreApplication>
#include <algorithm>

namespace Metaloom::ChangeComparison {

using ChangeReadBack::Held;
using ChangeReadBack::PrintedTag;
using Kind = TagOutcome::Kind;

namespace {

// A value holding nothing but zeros and separators, or nothing at all: what
// ExifTool leaves of a tag it deletes where the format keeps the field.
bool isZeroed(const QStringList &items)
{
    return std::all_of(items.cbegin(), items.cend(), [](const QString &item) {
        return std::all_of(item.cbegin(), item.cend(), [](QChar c) {
            return c.isSpace() || c == u'0' || c == u':' || c == u'.' || c == u'-' || c == u'+';
        });
    });
}

QString lastGroupOf(const QString &key)
{
    const QStringList parts = key.split(QLatin1Char(':'));
    if (parts.size() < 2)
        return QString();
    QString group = parts.at(parts.size() - 2);
    qsizetype digits = 0;
    while (digits < group.size() && group.at(digits).isDigit())
        ++digits;
    return group.mid(digits);
}

QString tagNameOf(const QString &key)
{
    QString name = key.section(QLatin1Char(':'), -1);
    if (name.endsWith(QLatin1Char('#')))
        name.chop(1);
    return name;
}

// A date given in one zone that the file prints as the same moment in
// another: a QuickTime date kept as UTC is read back in the computer's zone.
// (A date given without zone and printed with one says more than was asked,
// and is told.)
bool sameMoment(const QString &asked, const QString &stored)
{
    const std::optional<ExifDateTime> askedDate = ExifDateTime::parse(asked.trimmed());
    const std::optional<ExifDateTime> storedDate = ExifDateTime::parse(stored.trimmed());
    if (!askedDate || !storedDate || !askedDate->hasTime() || !storedDate->hasTime() ||
        !askedDate->zoneMinutes || !storedDate->zoneMinutes)
        return false;
    return askedDate->secondsTo(*storedDate) ==
           qint64(*storedDate->zoneMinutes - *askedDate->zoneMinutes) * 60;
}

bool sameItem(const QString &asked, const QString &stored)
{
    if (asked == stored || sameMoment(asked, stored))
        return true;
    const bool storedBoolean = stored == QLatin1String("true") || stored == QLatin1String("false");
    return storedBoolean && asked.compare(stored, Qt::CaseInsensitive) == 0;
}

bool equivalentItem(const QString &asked, const QString &stored)
{
    if (sameItem(asked, stored) || asked.trimmed() == stored.trimmed())
        return true;
    bool askedIsNumber = false;
    bool storedIsNumber = false;
    const double askedNumber = asked.trimmed().toDouble(&askedIsNumber);
    const double storedNumber = stored.trimmed().toDouble(&storedIsNumber);
    if (askedIsNumber && storedIsNumber && askedNumber == storedNumber)
        return true;
    // A time given without zone and printed with one (IPTC's TimeCreated).
    static const QRegularExpression zone(QStringLiteral("^(?:Z|[+-]\\d\\d:\\d\\d)$"));
    return stored.startsWith(asked.trimmed()) &&
           zone.match(stored.mid(asked.trimmed().size())).hasMatch();
}

// The printed tags of the new file that this write changed: those whose
// items differ from the tag of the same printed key in the original.
QList<PrintedTag> changedByTheWrite(const Held &held)
{
    QList<PrintedTag> changed;
    for (const PrintedTag &tag : held.after) {
        const auto before = std::find_if(held.before.cbegin(), held.before.cend(),
                                         [&tag](const PrintedTag &b) { return b.key == tag.key; });
        if (before == held.before.cend() || before->items != tag.items)
            changed << tag;
    }
    return changed;
}

bool unchanged(const Held &held)
{
    return changedByTheWrite(held).isEmpty() && held.before.size() == held.after.size();
}

qsizetype longestBytes(const QStringList &items, const QStringList &except)
{
    qsizetype longest = 0;
    for (const QString &item : items) {
        if (!except.contains(item))
            longest = std::max(longest, item.toUtf8().size());
    }
    return longest;
}

QString quotedValue(const QStringList &items)
{
    return QCoreApplication::translate("ChangeComparison", "“%1”",
                                       "a value or a list of values, quoted")
        .arg(items.join(QStringLiteral(", ")));
}

bool isShortening(const QString &warning)
{
    return warning.contains(QLatin1String("exceeds length limit")) ||
           warning.contains(QLatin1String("(truncated)"));
}

// The outcome of one value, or nothing when the file holds it as asked.
std::optional<TagOutcome> outcomeOfValue(const TagAssignment &assignment, const Held &held,
                                         const QStringList &warnings, const QString &fileKind)
{
    for (const PrintedTag &tag : held.after) {
        if (storedAsAsked(assignment.values, tag.items))
            return std::nullopt;
    }
    const QList<PrintedTag> changed = changedByTheWrite(held);
    const QStringList stored = !changed.isEmpty()      ? changed.first().items
                               : !held.after.isEmpty() ? held.after.first().items
                                                       : QStringList();
    const auto shortening = std::find_if(warnings.cbegin(), warnings.cend(), isShortening);
    if (shortening != warnings.cend() && !stored.isEmpty()) {
        return TagOutcome{
            assignment.key, Kind::shortened, stored,
            QCoreApplication::translate("ChangeComparison",
                                        "%1 was shortened to %2 bytes, the longest this format "
                                        "holds.")
                .arg(assignment.key)
                .arg(longestBytes(stored, assignment.values))};
    }
    if (!warnings.isEmpty()) {
        return TagOutcome{
            assignment.key, Kind::refused, stored,
            QCoreApplication::translate("ChangeComparison", "ExifTool did not accept %1 for %2: %3")
                .arg(quotedValue(assignment.values), assignment.key,
                     warnings.join(QStringLiteral(" ")))};
    }
    if (held.after.isEmpty()) {
        return TagOutcome{assignment.key,
                          Kind::notWritten,
                          {},
                          QCoreApplication::translate("ChangeComparison", "%1 has no place for %2.")
                              .arg(fileKind, assignment.key)};
    }
    const bool meantAsStored =
        std::any_of(held.after.cbegin(), held.after.cend(), [&assignment](const PrintedTag &tag) {
            return equivalent(assignment.values, tag.items);
        });
    if (unchanged(held) && !meantAsStored) {
        return TagOutcome{
            assignment.key, Kind::notWritten, stored,
            QCoreApplication::translate("ChangeComparison",
                                        "%1 keeps %2 where ExifTool cannot write it, so it still "
                                        "holds its old value.")
                .arg(fileKind, assignment.key)};
    }
    // Several items given to a tag that holds one value: ExifTool keeps the
    // last, which is not a form of what was asked but a loss of the others.
    if (assignment.values.size() > 1 && stored.size() < assignment.values.size()) {
        return TagOutcome{
            assignment.key, Kind::notWritten, stored,
            QCoreApplication::translate("ChangeComparison",
                                        "%1 holds one value, not a list, so only %2 was kept.")
                .arg(assignment.key, quotedValue(stored))};
    }
    return TagOutcome{
        assignment.key, Kind::converted, stored,
        QCoreApplication::translate("ChangeComparison", "ExifTool stored %1 for %2 as %3.")
            .arg(quotedValue(assignment.values), assignment.key, quotedValue(stored))};
}

// The write's warnings that name each assignment's tag.
QList<QStringList> warningsOfEach(const QList<TagAssignment> &assignments,
                                  const QStringList &writeWarnings)
{
    QList<QStringList> warningsOf(assignments.size());
    for (const QString &warning : writeWarnings) {
        for (qsizetype i : assignmentsNamedBy(warning, assignments))
            warningsOf[i] << warning;
    }
    return warningsOf;
}

} // namespace

bool storedAsAsked(const QStringList &asked, const QStringList &stored)
{
    if (asked.size() != stored.size())
        return false;
    for (qsizetype i = 0; i < asked.size(); ++i) {
        if (!sameItem(asked.at(i), stored.at(i)))
            return false;
    }
    return true;
}

bool equivalent(const QStringList &asked, const QStringList &stored)
{
    if (asked.size() != stored.size())
        return false;
    for (qsizetype i = 0; i < asked.size(); ++i) {
        if (!equivalentItem(asked.at(i), stored.at(i)))
            return false;
    }
    return true;
}

QList<qsizetype> assignmentsNamedBy(const QString &warning, const QList<TagAssignment> &assignments)
{
    static const QRegularExpression groupAndTag(
        QStringLiteral("(?<![A-Za-z0-9_-])([A-Za-z0-9_-]+):([A-Za-z0-9_-]+)"));
    QList<qsizetype> named;
    for (auto match = groupAndTag.globalMatch(warning); match.hasNext();) {
        const QRegularExpressionMatch token = match.next();
        const QString group = token.captured(1);
        const QString name = token.captured(2);
        QList<qsizetype> sameName;
        QList<qsizetype> sameGroup;
        for (qsizetype i = 0; i < assignments.size(); ++i) {
            const QString &key = assignments.at(i).key;
            if (tagNameOf(key).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            sameName << i;
            const QString keyGroup = lastGroupOf(key);
            if (keyGroup.isEmpty() || keyGroup.compare(group, Qt::CaseInsensitive) == 0)
                sameGroup << i;
        }
        for (qsizetype i : sameGroup.isEmpty() ? sameName : sameGroup) {
            if (!named.contains(i))
                named << i;
        }
    }
    return named;
}

QStringList keysNeedingTheOriginal(const QList<TagAssignment> &assignments,
                                   const ChangeReadBack::Answers &answers,
                                   const QStringList &writeWarnings)
{
    const QList<QStringList> warningsOf = warningsOfEach(assignments, writeWarnings);
    QStringList keys;
    for (qsizetype i = 0; i < assignments.size(); ++i) {
        const TagAssignment &assignment = assignments.at(i);
        const QList<PrintedTag> after = answers.byKey.value(assignment.key).after;
        if (assignment.deletes() || after.isEmpty() || !warningsOf.at(i).isEmpty())
            continue;
        const bool asAsked =
            std::any_of(after.cbegin(), after.cend(), [&assignment](const PrintedTag &tag) {
                return storedAsAsked(assignment.values, tag.items);
            });
        if (!asAsked)
            keys << assignment.key;
    }
    return keys;
}

Verdict judge(const QList<TagAssignment> &assignments, const ChangeReadBack::Answers &answers,
              const QStringList &writeWarnings, const QString &fileKind)
{
    const QList<QStringList> warningsOf = warningsOfEach(assignments, writeWarnings);
    Verdict verdict;
    for (qsizetype i = 0; i < assignments.size(); ++i) {
        const TagAssignment &assignment = assignments.at(i);
        const Held held = answers.byKey.value(assignment.key);
        if (assignment.deletes()) {
            if (!held.after.isEmpty()) {
                QString reason =
                    QCoreApplication::translate("ChangeComparison",
                                                "%1 keeps %2 where ExifTool cannot remove it.")
                        .arg(fileKind, assignment.key);
                if (!warningsOf.at(i).isEmpty())
                    reason += QStringLiteral(" ExifTool: ") + warningsOf.at(i).join(u' ');
                verdict.report.add(
                    {assignment.key, Kind::notRemoved, held.after.first().items, reason});
                // Where a format keeps the tag (a movie header's dates, a
                // maker note's fixed field), ExifTool deletes by zeroing or
                // emptying it: the file changed, though the tag stays.
                if (std::all_of(held.after.cbegin(), held.after.cend(),
                                [](const PrintedTag &tag) { return isZeroed(tag.items); }))
                    verdict.anythingTook = true;
            } else if (!held.before.isEmpty() || !held.beforeRead) {
                // Gone; unread, the original may have held it (ExifTool
                // writes a new file only when something changed).
                verdict.anythingTook = true;
            }
            continue;
        }
        const std::optional<TagOutcome> outcome =
            outcomeOfValue(assignment, held, warningsOf.at(i), fileKind);
        if (!outcome || outcome->kind == Kind::converted || outcome->kind == Kind::shortened)
            verdict.anythingTook = true;
        if (outcome && outcome->kind == Kind::refused)
            verdict.anyRefused = true;
        if (outcome)
            verdict.report.add(*outcome);
    }
    return verdict;
}

QString fileKindOf(const QString &targetPath)
{
    const QString suffix = QFileInfo(targetPath).suffix();
    if (suffix.isEmpty())
        return QCoreApplication::translate("ChangeComparison", "This file");
    return QCoreApplication::translate("ChangeComparison", "This %1 file").arg(suffix.toUpper());
}

QString withoutFileName(const QString &warning, const QString &targetPath)
{
    for (const QString &name : {targetPath, QFileInfo(targetPath).fileName()}) {
        const QString tail = QStringLiteral(" - ") + name;
        if (!name.isEmpty() && warning.endsWith(tail))
            return warning.chopped(tail.size());
    }
    return warning;
}

} // namespace Metaloom::ChangeComparison
