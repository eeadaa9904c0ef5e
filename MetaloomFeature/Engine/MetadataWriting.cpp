// The four operations that change a file. Each one runs ExifTool with "-o"
// into a new hidden file beside the user's file (or into the private
// temporary folder where that folder takes no new file), checks ExifTool's
// report that a file was created and, for targeted changes, reads the
// changed tags back from it; only then does the new file take the place of
// the user's file.

#include "ExifToolService.h"

#include "ChangeGuard.h"
#include "ChangeReadBack.h"
#include "ExifToolRunner.h"
#include "FileReplacement.h"
#include "ServiceError.h"
#include "StripAll.h"
#include "TagKeyRules.h"
#include "TargetPath.h"
#include "ValueFiles.h"
#include "WriteArguments.h"
#include "WriteReport.h"

#include <QCoroFuture>
#include <QFileInfo>
#include <QtConcurrent>

#include <algorithm>
#include <functional>

namespace Metaloom {

namespace {

using ArgumentBuilder = std::function<QStringList(const QString &outputPath)>;
using ChangeReadBack::TagChange;

// One change of one file: how ExifTool is asked to make it, and which tags
// are read back from the new file before it may replace the original.
struct FileChange {
    ArgumentBuilder buildArguments;
    QList<TagChange> tagChanges; // empty when stripping everything
    bool stripsEverything() const { return tagChanges.isEmpty(); }
};

QStringList keysOf(const QList<TagChange> &changes)
{
    QStringList keys;
    for (const TagChange &change : changes)
        keys << change.key;
    return keys;
}

// What to do with ExifTool's new file.
struct Verdict {
    bool replaceOriginal = false;
    ChangeReport report;
};

// Stripping: a file ExifTool copied unchanged had nothing left to strip,
// and stays exactly as it is.
Verdict judgeStrip(const CommandOutput &output, const QString &fileName)
{
    const WriteReport::FileCounts counts = WriteReport::filesReported(output);
    if (counts.created > 0)
        return Verdict{true, {}};
    if (counts.copied > 0)
        return Verdict{false, {}};
    throw ServiceError::nothingWritten(fileName, {},
                                       WriteReport::warningLines(output.standardError));
}

// Setting and deleting tags: ExifTool silently skips a tag the format has
// no place for when it writes others, so the new file is read back. When
// none of the change took, the original is left alone and the report names
// every tag. A change that only deletes tags the file does not hold is done
// without writing anything.
QCoro::Task<Verdict> judgeTagChange(ResourceBundle bundle, CommandOutput output, QString outputPath,
                                    QString fileName, QList<TagChange> changes)
{
    const WriteReport::FileCounts counts = WriteReport::filesReported(output);
    const bool onlyDeletes = std::all_of(changes.cbegin(), changes.cend(),
                                         [](const TagChange &change) { return change.deletes; });
    if (counts.created == 0 && !(counts.copied > 0 && onlyDeletes))
        WriteReport::verifyFilesCreated(output, fileName, keysOf(changes)); // throws

    const QSet<QString> present =
        co_await ChangeReadBack::keysPresent(bundle, keysOf(changes), outputPath);
    const ChangeReport report = ChangeReadBack::reportFor(changes, present);
    if (counts.created == 0) {
        if (report.isComplete())
            co_return Verdict{false, {}};
        WriteReport::verifyFilesCreated(output, fileName, keysOf(changes)); // throws
    }
    const bool nothingTook =
        report.tagsNotWritten.size() + report.tagsNotRemoved.size() == changes.size();
    co_return Verdict{!nothingTook, report};
}

// The change itself, with the guard held: ExifTool writes the new file, its
// report and (for tags) the file itself are checked, and it replaces the
// target. Outputs left behind are the guard's to remove.
QCoro::Task<ChangeReport> changeGuarded(ResourceBundle bundle, TargetPath::ChangeTarget target,
                                        FileChange change, ChangeGuard::Paths paths)
{
    const QString targetPath = target.path;
    const QString fileName = QFileInfo(target.chosen).fileName(); // as the user knows it
    const CommandOutput output =
        change.stripsEverything()
            ? co_await StripAll::run(bundle, targetPath, paths.output, paths.retryOutput,
                                     paths.temporaryDirectory)
            : co_await ValueFiles::run(bundle, change.buildArguments(paths.output),
                                       paths.temporaryDirectory, paths.valueFileStem);
    const Verdict verdict =
        change.stripsEverything()
            ? judgeStrip(output, fileName)
            : co_await judgeTagChange(bundle, output, paths.output, fileName, change.tagChanges);
    if (!verdict.replaceOriginal)
        co_return verdict.report;
    // Syncing a large video to disk takes longer than the interface may
    // wait, so the replacement runs on a worker thread.
    QFuture<void> replaced =
        QtConcurrent::run([target, output = paths.output, version = paths.targetVersion] {
            FileReplacement::replaceOriginal(target.path, output, {version, target.chosen});
        });
    co_await replaced;
    co_return verdict.report;
}

QCoro::Task<ChangeReport> changeFile(ResourceBundle bundle, TargetPath::ChangeTarget target,
                                     FileChange change)
{
    ChangeGuard guard = co_await ChangeGuard::begin(target.path);
    std::exception_ptr failure;
    ChangeReport report;
    try {
        report = co_await changeGuarded(bundle, target, change, guard.paths());
    } catch (...) {
        failure = std::current_exception();
    }
    co_await ChangeGuard::end(std::move(guard));
    if (failure)
        std::rethrow_exception(failure);
    co_return report;
}

} // namespace

QCoro::Task<ChangeReport> ExifToolService::writeMetadata(QUrl fileUrl, QList<MetadataEntry> entries)
{
    QList<MetadataEntry> modified;
    QList<TagChange> changes;
    for (const MetadataEntry &entry : entries) {
        if (entry.isModified()) {
            modified.append(entry);
            changes.append({entry.rawKey, entry.value.isEmpty()});
        }
    }
    if (modified.isEmpty())
        co_return ChangeReport{};
    QList<QPair<QString, QString>> assignments;
    for (const MetadataEntry &entry : modified)
        assignments.append({entry.rawKey, entry.value});
    TagKeyRules::requireUsable(assignments);
    const TargetPath::ChangeTarget target = TargetPath::forChange(fileUrl);
    co_return co_await changeFile(m_bundle, target,
                                  {[modified, path = target.path](const QString &output) {
                                       return WriteArguments::forEntries(modified, output, path);
                                   },
                                   changes});
}

QCoro::Task<ChangeReport> ExifToolService::applyOverrides(QMap<QString, QString> overrides,
                                                          QUrl fileUrl)
{
    if (overrides.isEmpty())
        co_return ChangeReport{};
    QList<TagChange> changes;
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        changes.append({it.key(), it.value().isEmpty()});
    TagKeyRules::requireUsable(overrides);
    const TargetPath::ChangeTarget target = TargetPath::forChange(fileUrl);
    co_return co_await changeFile(m_bundle, target,
                                  {[overrides, path = target.path](const QString &output) {
                                       return WriteArguments::forOverrides(overrides, output, path);
                                   },
                                   changes});
}

QCoro::Task<ChangeReport> ExifToolService::removeMetadata(QStringList tagKeys, QUrl fileUrl)
{
    if (tagKeys.isEmpty())
        co_return ChangeReport{};
    QList<TagChange> changes;
    for (const QString &key : tagKeys)
        changes.append({key, true});
    TagKeyRules::requireUsable(tagKeys);
    const TargetPath::ChangeTarget target = TargetPath::forChange(fileUrl);
    co_return co_await changeFile(m_bundle, target,
                                  {[tagKeys, path = target.path](const QString &output) {
                                       return WriteArguments::forRemovals(tagKeys, output, path);
                                   },
                                   changes});
}

QCoro::Task<void> ExifToolService::removeAllMetadata(QUrl fileUrl)
{
    co_await changeFile(m_bundle, TargetPath::forChange(fileUrl), {});
}

} // namespace Metaloom
