// Setting and deleting tags: changeTags() and the forms it takes for the
// editor, the presets and the removal of chosen tags, and the rules for the
// keys a user types.

#include "ExifToolService.h"

#include "GuardedChange.h"
#include "ServiceError.h"

#include "MetaloomFeature/Engine/Dialect/JpegExifLimit.h"
#include "MetaloomFeature/Engine/Dialect/TagKeyRules.h"
#include "MetaloomFeature/Engine/Dialect/WriteArguments.h"
#include "MetaloomFeature/Engine/Dialect/WriteReport.h"
#include "MetaloomFeature/Engine/Process/ValueFiles.h"

#include <algorithm>

namespace Metaloom {

namespace {

using FileReplacement::KeptDate;
using namespace GuardedChange;

struct TagChange {
    QList<TagAssignment> assignments;
    ChangeOptions options;
};

// Items that are empty carry nothing: a list of none deletes the tag.
QList<TagAssignment> withoutEmptyItems(QList<TagAssignment> assignments)
{
    for (TagAssignment &assignment : assignments)
        assignment.values.removeAll(QString());
    return assignments;
}

// A user who sets the file's modification date wants that date, not the
// one the replacement would otherwise keep.
KeptDate keptDateFor(const QList<TagAssignment> &assignments)
{
    const bool setsDate =
        std::any_of(assignments.cbegin(), assignments.cend(), [](const TagAssignment &a) {
            return !a.deletes() &&
                   a.key.section(QLatin1Char(':'), -1)
                           .compare(QLatin1String("FileModifyDate"), Qt::CaseInsensitive) == 0;
        });
    return setsDate ? KeptDate::output : KeptDate::original;
}

// Long values, and values the kept process's argument channel cannot
// carry, reach ExifTool through files (ValueFiles).
QCoro::Task<ChangeReport> changeTagsGuarded(ResourceBundle bundle, TargetPath::ChangeTarget target,
                                            TagChange change, ChangeGuard::Paths paths)
{
    CommandOutput output;
    try {
        output =
            co_await ValueFiles::run(bundle,
                                     WriteArguments::forChange(change.assignments, paths.output,
                                                               target.path, change.options),
                                     paths.temporaryDirectory, paths.valueFileStem);
    } catch (const ServiceError &error) {
        rethrowAsMinorError(error, target);
    }
    const Verdict verdict = co_await judgeTagChange(bundle, output, paths.output, target,
                                                    change.assignments, change.options);
    if (verdict.replaceOriginal)
        co_await replace(target, paths.output, paths.targetVersion,
                         keptDateFor(change.assignments));
    co_return verdict.report;
}

} // namespace

QCoro::Task<ChangeReport>
ExifToolService::changeTags(QUrl fileUrl, QList<TagAssignment> assignments, ChangeOptions options)
{
    assignments = withoutEmptyItems(std::move(assignments));
    if (assignments.isEmpty())
        co_return ChangeReport{};
    TagKeyRules::requireUsable(assignments);
    const TargetPath::ChangeTarget target = TargetPath::forChange(fileUrl);
    if (const std::optional<QString> refusal =
            JpegExifLimit::refusalBeforeWriting(target.path, chosenName(target), assignments))
        throw ServiceError::invalidInput(*refusal);
    co_return co_await underGuard<ChangeReport, TagChange>(
        m_bundle, target, TagChange{assignments, options}, &changeTagsGuarded);
}

QCoro::Task<ChangeReport> ExifToolService::writeMetadata(QUrl fileUrl, QList<MetadataEntry> entries)
{
    QList<TagAssignment> assignments;
    for (const MetadataEntry &entry : entries) {
        // A list is written by its items, never by its display text: an
        // item may hold ", " itself.
        if (!entry.isModified())
            continue;
        if (entry.isList)
            assignments.append({entry.rawKey, entry.items});
        else
            assignments.append(
                {entry.rawKey, entry.value.isEmpty() ? QStringList() : QStringList{entry.value}});
    }
    co_return co_await changeTags(fileUrl, assignments);
}

QCoro::Task<ChangeReport> ExifToolService::applyOverrides(QMap<QString, QString> overrides,
                                                          QUrl fileUrl)
{
    QList<TagAssignment> assignments;
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        assignments.append(
            {it.key(), it.value().isEmpty() ? QStringList() : QStringList{it.value()}});
    co_return co_await changeTags(fileUrl, assignments);
}

QCoro::Task<ChangeReport> ExifToolService::removeMetadata(QStringList tagKeys, QUrl fileUrl)
{
    QList<TagAssignment> assignments;
    for (const QString &key : tagKeys)
        assignments.append({key, {}});
    co_return co_await changeTags(fileUrl, assignments);
}

bool ExifToolService::isKeptByTheFileSystem(const QString &tagKey)
{
    return TagKeyRules::isKeptByTheFileSystem(tagKey);
}

std::optional<QString> ExifToolService::keyRefusalReason(const QString &tagKey)
{
    return TagKeyRules::refusalReason(tagKey);
}

std::optional<QString> ExifToolService::valueRefusalReason(const QString &tagKey,
                                                           const QString &value)
{
    return TagKeyRules::valueRefusalReason(tagKey, value);
}

} // namespace Metaloom
