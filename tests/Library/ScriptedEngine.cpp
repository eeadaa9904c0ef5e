#include "ScriptedEngine.h"

#include "MetaloomFeature/Model/Dates/DateTagRoles.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/PrivacyClasses.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "MetaloomFeature/Engine/ServiceError.h"

#include <QCoroFuture>
#include <QCoroTimer>
#include <QFileInfo>

using namespace std::chrono_literals;

namespace Metaloom::Testing {

ScriptedEngine::ScriptedEngine() = default;

ScriptedEngine::~ScriptedEngine()
{
    // A read still held is let go, so that no coroutine waits forever.
    for (const std::shared_ptr<QPromise<void>> &gate : std::as_const(m_held))
        gate->finish();
}

void ScriptedEngine::hold(const QString &path)
{
    if (m_held.contains(path))
        return;
    auto gate = std::make_shared<QPromise<void>>();
    gate->start();
    m_held.insert(path, gate);
}

void ScriptedEngine::release(const QString &path)
{
    if (const std::shared_ptr<QPromise<void>> gate = m_held.take(path))
        gate->finish();
}

QList<MetadataEntry> entriesOf(const QMap<QString, QStringList> &tags)
{
    QList<MetadataEntry> entries;
    for (auto it = tags.cbegin(); it != tags.cend(); ++it) {
        if (it.value().size() > 1)
            entries.append(MetadataEntry::listEntry(it.key(), it.value()));
        else
            entries.append(MetadataEntry(it.key(), it.value().value(0)));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const MetadataEntry &a, const MetadataEntry &b) {
                         return a.group != b.group ? a.group < b.group : a.tag < b.tag;
                     });
    return entries;
}

QCoro::Task<void> ScriptedEngine::answerLater(QString path)
{
    if (const std::shared_ptr<QPromise<void>> gate = m_held.value(path)) {
        // The future outlives the gate's release.
        const QFuture<void> opened = gate->future();
        co_await opened;
    } else {
        co_await QCoro::sleepFor(0ms);
    }
}

QCoro::Task<QList<MetadataEntry>> ScriptedEngine::readMetadata(QUrl file)
{
    const QString path = file.toLocalFile();
    ++readCount;
    co_await answerLater(path);
    if (const std::exception_ptr failure = readFailures.value(path))
        std::rethrow_exception(failure);
    co_return entriesOf(files.value(path));
}

QCoro::Task<PrivacyFindings> ScriptedEngine::checkPrivacy(QUrl file)
{
    const QString path = file.toLocalFile();
    ++privacyCheckCount;
    co_await answerLater(path);
    if (const std::exception_ptr failure = readFailures.value(path))
        std::rethrow_exception(failure);
    co_return PrivacyFindings::of(entriesOf(files.value(path)));
}

QCoro::Task<std::optional<EmbeddedPreview::Preview>> ScriptedEngine::embeddedPreview(QUrl)
{
    co_return std::nullopt;
}

QCoro::Task<ChangeReport> ScriptedEngine::changeTags(QUrl file, QList<TagAssignment> assignments,
                                                     ChangeOptions options)
{
    const Change change{file, assignments, options};
    changes.append(change);
    co_await answerLater(file.toLocalFile());
    co_return changeAnswer ? changeAnswer(change) : makeChange(change);
}

QCoro::Task<QList<DateValues>> ScriptedEngine::readDates(QList<QUrl> urls, bool)
{
    QList<DateValues> dates;
    for (const QUrl &url : std::as_const(urls)) {
        co_await answerLater(url.toLocalFile());
        DateValues values;
        const QMap<QString, QStringList> tags = files.value(url.toLocalFile());
        for (auto it = tags.cbegin(); it != tags.cend(); ++it) {
            if (DateTagRoles::of(it.key()) && !it.value().isEmpty())
                values.insert(it.key(), it.value().first());
        }
        dates.append(values);
    }
    co_return dates;
}

QCoro::Task<ChangeReport> ScriptedEngine::changeDates(QUrl file, DatePlan plan,
                                                      ChangeOptions options)
{
    options.quickTimeUtc = plan.quickTimeUtc;
    co_return co_await changeTags(file, ExifToolService::dateAssignments(plan), options);
}

QCoro::Task<ChangeReport> ScriptedEngine::copyTags(QUrl source, QUrl target, CopyFamily family,
                                                   ChangeOptions options)
{
    copies.append({source, target, family});
    QList<TagAssignment> assignments;
    const QMap<QString, QStringList> tags = files.value(source.toLocalFile());
    for (auto it = tags.cbegin(); it != tags.cend(); ++it)
        assignments.append({it.key(), it.value()});
    co_return co_await changeTags(target, assignments, options);
}

QCoro::Task<QList<CopyPreview>> ScriptedEngine::previewCopy(QUrl source, QList<QUrl> targets,
                                                            CopyFamily)
{
    co_await answerLater(source.toLocalFile());
    const QMap<QString, QStringList> given = files.value(source.toLocalFile());
    QList<CopyPreview> previews;
    for (const QUrl &target : std::as_const(targets)) {
        const QMap<QString, QStringList> held = files.value(target.toLocalFile());
        CopyPreview preview{target, {}};
        for (auto it = given.cbegin(); it != given.cend(); ++it) {
            if (held.value(it.key()) != it.value())
                preview.differences.append({it.key(), held.value(it.key()), it.value()});
        }
        previews.append(preview);
    }
    co_return previews;
}

ChangeReport ScriptedEngine::makeChange(const Change &change)
{
    QMap<QString, QStringList> &tags = files[change.file.toLocalFile()];
    for (const TagAssignment &assignment : change.assignments) {
        if (assignment.deletes())
            tags.remove(assignment.key);
        else
            tags.insert(assignment.key, assignment.values);
    }
    return ChangeReport{};
}

QCoro::Task<PrivacyStripReport> ScriptedEngine::stripForSharing(QUrl file, StripProfile profile,
                                                                ChangeOptions options)
{
    const Strip strip{file, options};
    strips.append(strip);
    co_await answerLater(file.toLocalFile());
    PrivacyStripReport report;
    report.profileName = profile.name;
    report.checkedClasses = profile.checkedClasses();
    if (profile.removesEverything) {
        report.before = PrivacyFindings::of(entriesOf(files.value(file.toLocalFile())));
        const StripReport stripped = stripAnswer ? stripAnswer(strip) : makeStrip(strip);
        report.after = PrivacyFindings::of(stripped.remaining);
        report.left = report.after.allKeys();
        for (const MetadataEntry &entry : stripped.remaining) {
            if (!PrivacyClasses::classOf(entry.rawKey))
                report.otherLeft << entry.rawKey;
        }
        report.warnings = stripped.warnings;
    }
    co_return report;
}

StripReport ScriptedEngine::makeStrip(const Strip &strip)
{
    StripReport report;
    report.removed = files.take(strip.file.toLocalFile()).keys();
    return report;
}

QCoro::Task<bool> ScriptedEngine::canWriteFormat(QUrl file)
{
    co_return *canWriteFormatNow(file);
}

std::optional<bool> ScriptedEngine::canWriteFormatNow(const QUrl &file) const
{
    return !readOnlyExtensions.contains(QFileInfo(file.toLocalFile()).suffix().toLower());
}

QCoro::Task<std::optional<TagDefinition>> ScriptedEngine::tagDefinition(QString key)
{
    co_await answerLater(QString());
    const auto found = definitions.constFind(key);
    if (found == definitions.constEnd())
        co_return std::nullopt;
    co_return *found;
}

QCoro::Task<QStringList> ScriptedEngine::allTagKeys()
{
    ++listingCount;
    co_await answerLater(QString());
    if (!keyListing)
        throw ServiceError::executionFailed(QStringLiteral("no listing today"));
    // A copy: co_return moves from what it is given.
    const QStringList keys = *keyListing;
    co_return keys;
}

std::optional<TagTable> ScriptedEngine::tagListingNow()
{
    if (!listingAtHand)
        return std::nullopt;
    return definitions;
}

bool ScriptedEngine::isLoadingTagListing() const
{
    return listingLoading;
}

std::optional<QString> ScriptedEngine::keyRefusalReason(const QString &key) const
{
    return ExifToolService::keyRefusalReason(key);
}

std::optional<QString> ScriptedEngine::valueRefusalReason(const QString &key,
                                                          const QString &value) const
{
    return ExifToolService::valueRefusalReason(key, value);
}

bool ScriptedEngine::isKeptByTheFileSystem(const QString &key) const
{
    return ExifToolService::isKeptByTheFileSystem(key);
}

QString ScriptedEngine::readOnlyFormatMessage(const QUrl &file) const
{
    return ExifToolService::readOnlyFormatMessage(file);
}

} // namespace Metaloom::Testing
